#include "batch/importacao.h"

#include "routing/tipos_cartao.h"

#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/erro.h"
#include "env/gravacao_atomica.h"
#include "env/gravacao_guardada.h"
#include "env/leitura.h"
#include "env/plataforma.h"
#include "env/texto.h"
#include "env/trace.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int QtdCampos = 6;
constexpr int TamMaxNome = TamNome - 1;
constexpr int TamMaxBin = TamBin - 1;
constexpr char CtrlZ = '\x1A';

// Only a to z change: the file's other letters are bytes of a code page, not of this locale.
QByteArray Maiusculas(const QByteArray &t) {
    QByteArray r = t;
    for (char &c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

QByteArray Campo(const CamposRegistro &campos, int n) {
    return n <= campos.size() ? campos.at(n - 1) : QByteArray();
}

bool CodigoRedeValido(const QByteArray &t, std::uint16_t &codigo) {
    if (t.isEmpty() || t.size() > 3) return false;
    int v = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    codigo = std::uint16_t(v);
    return true;
}

// The BINs of a list: an empty item (",,", a trailing "," from a spreadsheet) is no BIN; stored,
// it would hide every BIN after it from every reader.
CamposRegistro BinsDaLista(const QByteArray &lista) {
    CamposRegistro bins = CortaCampos(lista, ',');
    bins.removeIf([](const QByteArray &b) { return b.isEmpty(); });
    return bins;
}

bool ListaBinsCabe(const QByteArray &lista) {
    const CamposRegistro itens = BinsDaLista(lista);
    if (itens.isEmpty() || itens.size() > MaxBins) return false;
    for (const QByteArray &item : itens)
        if (item.size() > TamMaxBin) return false;
    return true;
}

std::uint8_t TipoDoRegistro(const QByteArray &campo) {
    // The line check refused every letter but C, D and F; what is left is fuel.
    const char letra = campo.isEmpty() ? '\0' : Maiusculas(campo.left(1)).at(0);
    return TipoDe(TipoDaLetra(letra).value_or(TipoGrade::Combustivel)).tipo;
}

QString AlvoDoRegistro(const QByteArray &empresa) {
    const QByteArray codigo = Maiusculas(empresa);
    const QString raiz = Raiz();
    const QString alvo = Caminhos::TabRot(raiz, DeCp1252(codigo));
    Caminhos::ExigeCaminhoCurto(alvo); // ends the run before anything is written
    return alvo;
}

// One fixed collation, Brazilian Portuguese through ICU, whatever the operator's locale: the same
// file gives the same table everywhere. Opening one costs more than a record.
const QCollator &Colacao() {
    static const QCollator colacao(QLocale(QLocale::Portuguese, QLocale::Brazil));
    return colacao;
}

// The key: name (by the fixed collation), network code and card type. Returns the entry's
// index, or -1.
int ProcuraCartao(const TTabRot &tabela, const QByteArray &nome, std::uint16_t rede,
                  std::uint8_t tipo) {
    QString nomeTexto;
    const int qtd = qMin<int>(tabela.Qtd, MaxCartoes);
    for (int i = 0; i < qtd; ++i) {
        const TCartao &c = tabela.Cartoes[i];
        if (c.CodRede != rede || c.Tipo != tipo) continue;
        const QByteArray nomeEntrada = CopiaCampoParaTexto(c.Nome, TamNome);
        if (nomeEntrada == nome) return i;
        if (nomeTexto.isNull()) nomeTexto = DeCp1252(nome);
        if (Colacao().compare(DeCp1252(nomeEntrada), nomeTexto) == 0) return i;
    }
    return -1;
}

struct ReservaDoRegistro {
    ReservaDoRegistro(TabelasImportacao &t, const QString &alvo, bool criaDiretorio)
        : tabelas(t), pode(t.Reserva(alvo, criaDiretorio)) {}
    ~ReservaDoRegistro() { tabelas.Libera(); }
    ReservaDoRegistro(const ReservaDoRegistro &) = delete;
    ReservaDoRegistro &operator=(const ReservaDoRegistro &) = delete;
    TabelasImportacao &tabelas;
    const bool pode;
};

} // namespace

QList<QByteArray> LinhasImportacao(const QByteArray &conteudo) {
    QList<QByteArray> linhas;
    const qsizetype fimZ = conteudo.indexOf(CtrlZ);
    const qsizetype fim = fimZ >= 0 ? fimZ : conteudo.size();
    const char *p = conteudo.constData();
    qsizetype inicio = 0;
    while (inicio < fim) {
        const void *lf = std::memchr(p + inicio, '\n', size_t(fim - inicio));
        const qsizetype corte = lf ? static_cast<const char *>(lf) - p : fim;
        QByteArray linha(p + inicio, corte - inicio);
        linha.replace('\r',
                      QByteArray()); // a CR before the LF ends the line; a lone one is dropped
        linhas.append(linha);
        inicio = corte + 1;
    }
    return linhas;
}

CamposRegistro CortaCampos(const QByteArray &linha, char separador) {
    CamposRegistro campos;
    const qsizetype n = linha.size();
    qsizetype i = 0;
    while (i < n) {
        QByteArray valor;
        if (linha.at(i) == '"') {
            // An unclosed quote runs to the end of the line; text after the closing quote, up to
            // the separator, is kept as part of the value.
            ++i;
            while (i < n) {
                if (linha.at(i) == '"') {
                    if (i + 1 < n && linha.at(i + 1) == '"') {
                        valor.append('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                valor.append(linha.at(i++));
            }
        }
        const qsizetype sep = linha.indexOf(separador, i);
        const qsizetype fim = sep >= 0 ? sep : n;
        valor.append(linha.constData() + i, fim - i);
        campos.append(valor);
        if (sep < 0) break;
        i = sep + 1;
        if (i == n) campos.append(QByteArray()); // a separator at the very end: an empty last field
    }
    return campos;
}

// The whole path: a cut one would name another file, which the run would delete and overwrite.
QString CaminhoStatus(const QString &arquivoImportacao, const QString &nome) {
    const qsizetype barra = arquivoImportacao.lastIndexOf(QLatin1Char('/'));
    return arquivoImportacao.left(barra + 1) + nome;
}

ArquivoStatus::ArquivoStatus(const QString &caminho) : m_caminho(caminho) {}

ArquivoStatus::~ArquivoStatus() {
    if (m_fd >= 0) ::close(m_fd);
}

void ArquivoStatus::IniciaExecucao(mode_t modoImportacao) {
    // The whole run under the file's lock, beside the name given: a second run on the same
    // file never deletes it under this one, and a link in its place leads the lock nowhere.
    m_execucao = std::make_unique<GravacaoGuardada>(m_caminho, OpcoesGuarda{.travaNoNome = true});
    if (m_execucao->situacao() == GravacaoGuardada::Situacao::SemTrava)
        throw ErroOcupado(QStringLiteral("Importação não iniciada: %1; tente de novo mais tarde.")
                              .arg(m_execucao->erro()));
    if (!m_execucao->pronta())
        throw ErroES(QStringLiteral("Erro de E/S ao abrir o arquivo %1: %2")
                         .arg(m_caminho, m_execucao->erro()));
    const QFileInfo antigo(m_caminho);
    if (antigo.exists() || antigo.isSymLink())
        QFile::remove(m_caminho); // a failed deletion is ignored; the open below tells
    // It echoes the import file: no one may read it who could not read that.
    m_modo = modoImportacao & 0666;
}

bool ArquivoStatus::Escreve(const QByteArray &linha) {
    if (m_execucao) {
        if (m_fd < 0 && !m_falhou) {
            // Made at the first line, never through a link, and kept open for the run.
            m_fd = ::open(QFile::encodeName(m_caminho).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC |
                              O_NONBLOCK | O_NOCTTY,
                          m_modo);
            if (m_fd < 0) {
                m_falhou = true;
                AvisaErro(QStringLiteral("linhas de %1 perdidas: %2")
                              .arg(m_caminho, MotivoDoErro(errno)));
            }
        }
        return m_fd >= 0 && Anexa(m_fd, linha);
    }
    if (SomenteLeitura(m_caminho)) return false; // root would be let through
    const GravacaoGuardada guarda(m_caminho, {.travaNoNome = true});
    if (guarda.situacao() == GravacaoGuardada::Situacao::SemTrava) {
        AvisaErro(QStringLiteral("linha de %1 perdida: %2").arg(m_caminho, guarda.erro()));
        return false;
    }
    if (guarda.situacao() == GravacaoGuardada::Situacao::Recusada) return false;
    // O_NONBLOCK: a FIFO in its place is refused at once; only a regular file takes the lines.
    const int fd = ::open(
        QFile::encodeName(m_caminho).constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) return false;
    const bool ok = Anexa(fd, linha);
    ::close(fd);
    return ok;
}

bool ArquivoStatus::Anexa(int fd, const QByteArray &linha) {
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int erro = AnexaInteiro(fd, linha + "\r\n", st.st_size);
    if (erro != 0)
        throw ErroES(
            QStringLiteral("Erro de E/S ao gravar %1: %2").arg(m_caminho, MotivoDoErro(erro)));
    return true;
}

bool CriarArquivoStatus(const QString &status, const QByteArray &linha) {
    return ArquivoStatus(status).Escreve(linha);
}

TabelasNoDisco::TabelasNoDisco() = default;
TabelasNoDisco::~TabelasNoDisco() = default;

QString TabelasNoDisco::Status(const QString &arquivoImportacao) const {
    return CaminhoStatus(arquivoImportacao);
}
bool TabelasNoDisco::Reserva(const QString &alvo, bool criaDiretorio) {
    m_reserva =
        std::make_unique<GravacaoGuardada>(alvo, OpcoesGuarda{.criaDiretorio = criaDiretorio});
    switch (m_reserva->situacao()) {
    case GravacaoGuardada::Situacao::Pronta:
        return true;
    case GravacaoGuardada::Situacao::SemDiretorio:
        // No table there to read; the write makes the directory or tells why it cannot.
        m_reserva.reset();
        return true;
    case GravacaoGuardada::Situacao::SemTrava:
        AvisaErro(m_reserva->erro());
        // Past the run's bound for its waits, every record left would wait in vain.
        if (LimiteDeEsperas::Esgotado())
            throw ErroOcupado(QStringLiteral("Importação interrompida: %1. Os registros seguintes "
                                             "não foram aplicados; tente de novo mais tarde.")
                                  .arg(m_reserva->erro()));
        break;
    case GravacaoGuardada::Situacao::Recusada:
        break;
    }
    m_reserva.reset();
    return false;
}
void TabelasNoDisco::Libera() {
    m_reserva.reset();
}
bool TabelasNoDisco::Existe(const QString &alvo) const {
    return QFileInfo::exists(alvo);
}
bool TabelasNoDisco::Le(const QString &alvo, TTabRot &tabela) {
    return LeTabRot(alvo, tabela);
}
bool TabelasNoDisco::Grava(const QString &alvo, const TTabRot &tabela) {
    if (m_reserva && m_reserva->arquivo() == alvo) return GravaTabRot(*m_reserva, tabela);
    return GravaTabRot(alvo, tabela);
}

bool ValidaRegistro(ArquivoStatus &status, const CamposRegistro &campos) {
    const QByteArray empresa = Campo(campos, 1);
    const QByteArray nome = Campo(campos, 2);
    const QByteArray bins = Campo(campos, 3);
    const QByteArray rede = Campo(campos, 4);
    const QByteArray tipo = Maiusculas(Campo(campos, 5));
    const QByteArray funcao = Maiusculas(Campo(campos, 6));

    bool valido = true;
    QByteArray veredito;
    auto falha = [&](const char *mensagem) {
        veredito += cp1252(mensagem);
        valido = false;
    };
    // A company is a code, never a path: the field names a directory under Empresas.
    if (empresa.isEmpty() ||
        (Maiusculas(empresa) != "TODAS" && !EhCodigoEmpresa(DeCp1252(empresa))))
        falha("  - Erro <Empresa Inválida>");
    // A NUL byte would cut the text where it is stored.
    if (nome.isEmpty() || nome.size() > TamMaxNome || nome.contains('\0'))
        falha("  - Erro <Tam Nome Banco Inválido>");
    if (bins.isEmpty() || !ListaBinsCabe(bins) || bins.contains('\0'))
        falha("  - Erro <Tam Bins Inválido>");
    if (rede.isEmpty() || rede.size() > 3) falha("  - Erro <Tam Rede>");
    if (tipo != "C" && tipo != "D" && tipo != "F") falha("  - Erro <Tipo Inválido>");
    if (funcao != "I" && funcao != "E") falha("  - Erro <Função Inválida>");
    veredito += cp1252(valido ? "  - Registro OK" : "  - Registro com Dados Inválido");
    status.Escreve(veredito);
    return valido;
}

// The network code is checked before the target table is read, and a bad one is told alone.
static bool RedeDoRegistro(ArquivoStatus &status, const CamposRegistro &campos,
                           std::uint16_t &rede) {
    if (CodigoRedeValido(Campo(campos, 4), rede)) return true;
    status.Escreve(cp1252("  - Erro <Código de Rede Inválido>"));
    return false;
}

bool AddRegArqConfBins(ArquivoStatus &status, const CamposRegistro &campos, TTabRot &tabela,
                       TabelasImportacao &tabelas) {
    std::uint16_t rede = 0;
    if (!RedeDoRegistro(status, campos, rede)) return false;
    const QString alvo = AlvoDoRegistro(Campo(campos, 1));
    // The read and the write under the table's lock: a record of another run, or a window's
    // save, never falls between them.
    const ReservaDoRegistro reserva(tabelas, alvo, true);
    const bool podeGravar = reserva.pode;
    QByteArray resultado;
    if (!tabelas.Le(alvo, tabela)) {
        // Only a missing file starts empty: one that exists keeps every entry it holds.
        if (tabelas.Existe(alvo)) {
            status.Escreve(cp1252("  - Erro na leitura do arquivo TabRot.bin"));
            return false;
        }
        resultado += cp1252("  - Arquivo TabRot.bin foi criado");
        LimpaTabRot(tabela);
    }

    const QByteArray nome = Campo(campos, 2);
    const std::uint8_t tipo = TipoDoRegistro(Campo(campos, 5));
    bool aplicado = false;
    if (ProcuraCartao(tabela, nome, rede, tipo) >= 0) {
        resultado += cp1252("  - O registro já existe");
    } else if (tabela.Qtd >= MaxCartoes) {
        resultado += cp1252("  - Erro <Tabela TabRot.bin cheia>");
    } else {
        TCartao &c = tabela.Cartoes[tabela.Qtd];
        std::memset(&c, 0, sizeof c);
        CopiaTextoParaCampo(nome, c.Nome);
        c.CodRede = rede;
        c.Tipo = tipo;
        const CamposRegistro itens = BinsDaLista(Campo(campos, 3));
        for (const QByteArray &item : itens)
            CopiaTextoParaCampo(item, c.Bins[c.QtdBins++]);
        ++tabela.Qtd;
        aplicado = podeGravar && tabelas.Grava(alvo, tabela);
        resultado += cp1252(aplicado ? "  - Registro inserido com sucesso"
                                     : "  - Erro na gravação do arquivo TabRot.bin");
    }
    status.Escreve(resultado);
    return aplicado;
}

bool DelRegArqConfBins(ArquivoStatus &status, const CamposRegistro &campos, TTabRot &tabela,
                       TabelasImportacao &tabelas) {
    std::uint16_t rede = 0;
    if (!RedeDoRegistro(status, campos, rede)) return false;
    const QString alvo = AlvoDoRegistro(Campo(campos, 1));
    const ReservaDoRegistro reserva(tabelas, alvo, false);
    const bool podeGravar = reserva.pode;
    QByteArray resultado;
    int achado = -1;
    bool aplicado = false;
    if (tabelas.Le(alvo, tabela)) {
        achado = ProcuraCartao(tabela, Campo(campos, 2), rede, TipoDoRegistro(Campo(campos, 5)));
    } else if (tabelas.Existe(alvo)) {
        // A damaged table is no missing one: it stays as it is, byte for byte.
        status.Escreve(cp1252("  - Erro na leitura do arquivo TabRot.bin"));
        return false;
    } else {
        resultado += cp1252("  - Arquivo TabRot.bin não existe");
    }

    if (achado < 0) {
        resultado += cp1252("  - O registro não foi encontrado");
    } else {
        // The last entry takes the place of the deleted one.
        const int ultimo = tabela.Qtd - 1;
        tabela.Cartoes[achado] = tabela.Cartoes[ultimo];
        std::memset(&tabela.Cartoes[ultimo], 0, sizeof(TCartao));
        --tabela.Qtd;
        aplicado = podeGravar && tabelas.Grava(alvo, tabela);
        resultado += cp1252(aplicado ? "  - Registro excluido com sucesso"
                                     : "  - Erro na gravação do arquivo TabRot.bin");
    }
    status.Escreve(resultado);
    return aplicado;
}

ResumoImportacao ExecutaImportacao(const QString &arquivo, TTabRot &tabela,
                                   const ProgressoImportacao &progresso) {
    TabelasNoDisco instalacao;
    return ExecutaImportacao(arquivo, tabela, instalacao, progresso);
}

ResumoImportacao ExecutaImportacao(const QString &arquivo, TTabRot &tabela,
                                   TabelasImportacao &tabelas,
                                   const ProgressoImportacao &progresso) {
    const QString &caminho = arquivo; // whole: a cut path would be another file
    const LimiteDeEsperas limite(LimiteDeEsperas::Padrao());
    ArquivoStatus status(tabelas.Status(caminho));
    // The status file is deleted before the run reads its file: it cannot be that file.
    if (CaminhoReal(caminho) == CaminhoReal(status.Caminho()))
        throw ErroES(QStringLiteral("Erro de E/S ao abrir o arquivo %1: é o arquivo de status da "
                                    "importação, que cada execução apaga")
                         .arg(caminho));
    struct stat importacao;
    const mode_t modo = ::stat(QFile::encodeName(caminho).constData(), &importacao) == 0
                            ? importacao.st_mode
                            : mode_t(0666);
    status.IniciaExecucao(modo);

    QByteArray conteudo;
    QString motivo;
    switch (LeArquivoInteiro(caminho, TamMaxImportacao, conteudo, &motivo)) {
    case Leitura::Ok:
        break;
    case Leitura::Grande:
        throw ErroES(QStringLiteral("Erro de E/S ao ler o arquivo %1: %2 (o limite é de 64 MiB)")
                         .arg(caminho, motivo));
    default:
        throw ErroES(QStringLiteral("Erro de E/S ao abrir o arquivo %1: %2").arg(caminho, motivo));
    }

    ResumoImportacao resumo;
    const QList<QByteArray> linhas = LinhasImportacao(conteudo);
    const int total = int(linhas.size());
    for (const QByteArray &linha : linhas) {
        if (progresso) progresso(resumo.lidos, total);
        ++resumo.lidos;
        const CamposRegistro campos = CortaCampos(linha);
        status.Escreve(linha);
        if (!ValidaRegistro(status, campos)) continue;
        const bool aplicado = Maiusculas(Campo(campos, 6)) == "I"
                                  ? AddRegArqConfBins(status, campos, tabela, tabelas)
                                  : DelRegArqConfBins(status, campos, tabela, tabelas);
        if (aplicado) ++resumo.aplicados;
    }
    if (progresso) progresso(total, total);
    return resumo;
}
