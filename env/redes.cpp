#include "env/redes.h"

#include "env/caminhos.h"
#include "env/leitura.h"
#include "env/listagem.h"
#include "env/texto.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtEndian>

#include <csignal>
#include <optional>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray TecbanHostAHost = QByteArrayLiteral("Tecban Host a Host");
const QByteArray TecbanOnLine = QByteArrayLiteral("Tecban On Line");

constexpr int TipoRegistroRede = 2;
constexpr int TipoConexaoTecban = 7;

// The network name a module file gives: its file name from the third character up to the
// first occurrence of its extension. The lists show it and CodigoDaRede matches it, so that a
// name the grids show always maps back to its code (even for a file such as seA.b.bpl).
QByteArray NomeDoModulo(const QString &caminho) {
    const QString arquivo = QFileInfo(caminho).fileName();
    const int ponto = arquivo.lastIndexOf(QLatin1Char('.'));
    int fim = arquivo.size();
    if (ponto >= 0) fim = arquivo.indexOf(arquivo.mid(ponto));
    return ParaCp1252(arquivo.left(fim).mid(2));
}

bool EhTecban(const QByteArray &nome) {
    return nome.toUpper() == "TECBAN";
}

QString Maiusculas(const QByteArray &nome) {
    return DeCp1252(nome).toUpper();
}

bool EmBranco(const QByteArray &nome) {
    for (char c : nome)
        if (c != ' ') return false;
    return true;
}

} // namespace

std::uint16_t CatalogoRedes::Palavra(int registro, int offset) const {
    const qsizetype pos = qsizetype(registro - 1) * TamRegistro + offset;
    return qFromLittleEndian<std::uint16_t>(m_comunic.constData() + pos);
}

bool CatalogoRedes::CarregaComunic() {
    m_comunic.clear();
    m_qtdRegistros = 0;
    QByteArray lidos;
    if (LeInicioArquivo(Caminhos::Comunic(Raiz()), TamBuffer, lidos) != Leitura::Ok) return false;
    const qsizetype n = lidos.size();
    if (n <= 0) return false; // empty
    m_comunic = lidos;
    m_qtdRegistros = int(n / TamRegistro);
    return true;
}

QList<std::uint16_t> CatalogoRedes::ListaRegistrosRede() const {
    QList<std::uint16_t> lista;
    for (int r = 1; r <= m_qtdRegistros && lista.size() < MaxRegistrosRede; ++r)
        if (Palavra(r, 2) == TipoRegistroRede) lista.append(std::uint16_t(r));
    return lista;
}

void CatalogoRedes::NomeConexaoTecban(QByteArray &nome) const {
    for (int r = 1; r <= m_qtdRegistros; ++r)
        if (Palavra(r, 2) == TipoConexaoTecban)
            nome = Palavra(r, 4) == 1 ? TecbanHostAHost : TecbanOnLine;
}

std::uint16_t CatalogoRedes::TiposDaRede(std::uint16_t codigo) const {
    for (const ModuloRede &m : m_modulos)
        if (m.codigo == codigo) return m.tipos;
    return 0xFFFF;
}

QString CatalogoRedes::ModuloDaRede(std::uint16_t codigo) const {
    for (const ModuloRede &m : m_modulos)
        if (m.codigo == codigo) return m.caminho;
    return {};
}

QByteArray CatalogoRedes::NomeDaRede(std::uint16_t codigo) const {
    if (codigo == RedeBloqueada) return NomeRedeBloqueada;
    const QString caminho = ModuloDaRede(codigo);
    if (caminho.isEmpty()) return {};
    QByteArray nome = NomeDoModulo(caminho);
    if (EhTecban(nome)) NomeConexaoTecban(nome);
    return nome;
}

std::uint16_t CatalogoRedes::CodigoDaRede(const QByteArray &nomeDado) const {
    QByteArray nome = nomeDado;
    for (const ModuloRede &m : m_modulos) {
        const QByteArray modulo = NomeDoModulo(m.caminho);
        if (EhTecban(modulo) && (nome == TecbanOnLine || nome == TecbanHostAHost))
            nome = QByteArrayLiteral("TecBan");
        if (Maiusculas(modulo) == Maiusculas(nome)) return m.codigo;
    }
    return 0;
}

QList<QByteArray> CatalogoRedes::RedesDoTipo(std::uint16_t mascara) const {
    QList<QByteArray> redes{NomeRedeBloqueada};
    for (std::uint16_t r : ListaRegistrosRede()) {
        const std::uint16_t codigo = Palavra(r, 4);
        if (!(TiposDaRede(codigo) & mascara)) continue;
        const QString caminho = ModuloDaRede(codigo);
        if (caminho.isEmpty()) continue;
        QByteArray nome = NomeDoModulo(caminho);
        if (EhTecban(nome)) NomeConexaoTecban(nome);
        if (!EmBranco(nome)) redes.append(nome);
    }
    return redes;
}

#ifndef CONSULTA_MODULOS_INSTALADO // relative to the program's directory
#define CONSULTA_MODULOS_INSTALADO "../libexec/configurador-roteamento"
#endif

QString ExecutavelConsulta(const QString &programa) {
    const QString dir = QFileInfo(programa).absolutePath();
    const QString nome = QStringLiteral("/consulta-modulos");
    const QString instalado =
        QDir::cleanPath(dir + QStringLiteral("/" CONSULTA_MODULOS_INSTALADO) + nome);
    for (const QString &c :
         {instalado, dir + nome, QDir::cleanPath(dir + QStringLiteral("/..") + nome)}) {
        const QFileInfo f(c);
        if (f.isFile() && f.isExecutable()) return c;
    }
    return instalado;
}

QString ExecutavelConsulta() {
    return ExecutavelConsulta(CaminhoPrograma());
}

namespace {

// One run of the helper over the modules from `primeiro` on. Fills `respostas` (indexed like
// `caminhos`) and returns the index of the first module left without an answer: the one that
// killed or hung the helper, or caminhos.size() when all answered. -1 when the helper could not
// start or died before it was ready.
int RodadaConsulta(const QStringList &caminhos, int primeiro, int prazoMs,
                   QList<std::optional<ModuloRede>> &respostas) {
    QProcess ajudante;
    ajudante.setProgram(ExecutavelConsulta());
    ajudante.setArguments({QString::number(primeiro)});
    ajudante.setStandardErrorFile(QProcess::nullDevice());
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
#if defined(__SANITIZE_ADDRESS__)
    // A crashing module makes the sanitized helper print a report nobody reads: skip the
    // symbolizer and the leak scan, which would only slow the query down.
    QString asan = ambiente.value(QStringLiteral("ASAN_OPTIONS"));
    if (!asan.isEmpty()) asan += QLatin1Char(':');
    ambiente.insert(QStringLiteral("ASAN_OPTIONS"),
                    asan + QStringLiteral("symbolize=0:detect_leaks=0"));
#endif
    ajudante.setProcessEnvironment(ambiente);
    // The helper dies with the tool: a window killed during the query leaves nothing running.
    // The parent may already be gone when the request is made, so it is checked after it.
    const pid_t pai = ::getpid();
    ajudante.setChildProcessModifier([pai] {
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != pai) ::_exit(127);
    });
    ajudante.start(QIODevice::ReadWrite);
    if (!ajudante.waitForStarted(prazoMs)) return -1;

    QByteArray lista;
    for (int i = primeiro; i < caminhos.size(); ++i)
        lista += QFile::encodeName(caminhos.at(i)) + '\0';
    ajudante.write(lista);
    ajudante.closeWriteChannel();

    bool pronto = false;
    int proximo = primeiro;
    // Start-up has its own allowance: a slow start is no module's fault.
    QDeadlineTimer prazo(qMax(prazoMs, CatalogoRedes::PrazoPadraoMs) * 2);
    for (;;) {
        while (ajudante.canReadLine()) {
            const QList<QByteArray> campos = ajudante.readLine().trimmed().split(' ');
            if (!pronto) {
                if (campos.value(0) == "P") {
                    pronto = true;
                    prazo = QDeadlineTimer(prazoMs);
                }
                continue;
            }
            bool ok = false;
            const int n = campos.value(1).toInt(&ok);
            if (!ok || n != proximo) continue;
            if (campos.value(0) == "R" && campos.size() == 6) {
                ModuloRede m;
                bool ok1, ok2, ok3, ok4;
                m.caminho = caminhos.at(n);
                m.codigo = campos.at(2).toUShort(&ok1);
                m.tipos = campos.at(3).toUShort(&ok2);
                m.palavra319 = campos.at(4).toUShort(&ok3);
                m.palavra323 = campos.at(5).toUShort(&ok4);
                if (ok1 && ok2 && ok3 && ok4) respostas[n] = m;
            } else if (campos.value(0) != "N") {
                continue;
            }
            ++proximo;
            prazo = QDeadlineTimer(prazoMs);
        }
        if (proximo >= caminhos.size()) break;
        if (ajudante.state() == QProcess::NotRunning) break;
        if (prazo.hasExpired()) break;
        ajudante.waitForReadyRead(int(qMax<qint64>(1, prazo.remainingTime())));
    }
    if (ajudante.state() != QProcess::NotRunning) {
        ajudante.kill();
        ajudante.waitForFinished(5000);
    }
    return pronto ? proximo : -1;
}

} // namespace

namespace {

QString MotivoDoArquivo(const QString &caminho, const struct stat &st, bool diretorio) {
    const QString qual =
        diretorio ? QStringLiteral("o diretório %1").arg(caminho) : QStringLiteral("o arquivo");
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("%1 pode ser alterado pelo grupo ou por todos").arg(qual);
    if (st.st_uid != 0 && st.st_uid != ::geteuid())
        return QStringLiteral("%1 pertence a outro usuário (uid %2)").arg(qual).arg(st.st_uid);
    return {};
}

} // namespace

// A module runs as the operator (often root): as sshd does with its keys, one that someone else
// could have changed is left out, and so is a link out of the module directory.
QString MotivoDeRecusa(const QString &modulo, const QString &diretorio) {
    const QString base = QFileInfo(diretorio).canonicalFilePath();
    const QString real = QFileInfo(modulo).canonicalFilePath();
    if (base.isEmpty() || real.isEmpty()) return QStringLiteral("o arquivo não pode ser lido");
    if (!real.startsWith(base + QLatin1Char('/')))
        return QStringLiteral("leva para fora do diretório de módulos (%1)").arg(real);
    struct stat st;
    if (::stat(QFile::encodeName(real).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QStringLiteral("não é um arquivo comum");
    QString motivo = MotivoDoArquivo(real, st, false);
    for (QString dir = QFileInfo(real).path(); motivo.isEmpty(); dir = QFileInfo(dir).path()) {
        if (::stat(QFile::encodeName(dir).constData(), &st) != 0)
            return QStringLiteral("o diretório %1 não pode ser lido").arg(dir);
        motivo = MotivoDoArquivo(dir, st, true);
        if (dir == base || dir.size() <= base.size()) break;
    }
    return motivo;
}

int CatalogoRedes::CarregaModulos() {
    m_modulos.clear();
    m_consultaIndisponivel = false;
    m_recusados.clear();
    QStringList encontrados;
    const QString diretorio = Caminhos::DiretorioModulos();
    ListaArquivos(diretorio + QStringLiteral("se*.bpl"), true, encontrados);
    QStringList arquivos;
    for (const QString &a : encontrados) {
        const QString motivo = MotivoDeRecusa(a, diretorio);
        if (motivo.isEmpty())
            arquivos.append(a);
        else
            m_recusados.append({a, motivo});
    }
    if (arquivos.isEmpty()) return 0;

    QList<std::optional<ModuloRede>> respostas(arquivos.size());
    int i = 0;
    while (i < arquivos.size()) {
        const int parou = RodadaConsulta(arquivos, i, m_prazoMs, respostas);
        if (parou < 0) {
            m_consultaIndisponivel = true;
            break;
        }
        i = parou + 1; // the module at `parou` killed or hung the helper
    }

    int respondidos = 0;
    for (const auto &r : respostas)
        if (r) {
            m_modulos.append(*r);
            ++respondidos;
        }
    m_modulos.resize(arquivos.size());
    return respondidos;
}
