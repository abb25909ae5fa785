// The command line: import and export for scripts, without a window or a display. Arguments are
// taken strictly: anything the program does not know ends the run with exit code 1 before a
// file is touched.

#include "app/inicio.h"

#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "batch/simulacao.h"
#include "batch/verificacao.h"
#include "env/caminhos.h"
#include "env/erro.h"
#include "env/redes.h"
#include "env/roteamento.h"
#include "env/texto.h"
#include "routing/tabrot.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringEncoder>

#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <memory>

namespace {

// The terminal's encoding, from the locale; UTF-8 when the locale names none that we can write
// (the C locale's plain ASCII included).
QByteArray ParaTerminal(const QString &texto) {
    const char *codigo = nl_langinfo(CODESET);
    if (codigo && *codigo && std::strcmp(codigo, "ANSI_X3.4-1968") != 0) {
        QStringEncoder enc(codigo);
        if (enc.isValid()) return enc.encode(texto);
    }
    return texto.toUtf8();
}

void Escreve(std::FILE *saida, const QString &texto) {
    const QByteArray bytes = ParaTerminal(texto);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), saida);
    std::fflush(saida);
}

QString Programa() {
    return QStringLiteral("configurador-roteamento");
}

// A run's settings that every command shares.
struct Contexto {
    bool silencioso = false;
    bool simulacao = false; // --simular: the import against a copy in memory
    void Informa(const QString &linha) const {
        if (!silencioso) Escreve(stdout, linha + QLatin1Char('\n'));
    }
};

// An installation is a root with its config directory; without it there is nothing to read, and
// an import would build a table tree where no installation is.
void ExigeInstalacao() {
    const QString config = Caminhos::Config(Raiz());
    if (!QFileInfo(config).isDir())
        throw ErroES(
            QStringLiteral("Instalação não encontrada: o diretório %1 não existe.").arg(config));
}

int Importa(const QString &arquivo, const Contexto &ctx) {
    ExigeInstalacao();
    // The table is big; it lives on the heap for the length of the command.
    const auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    if (ctx.simulacao) {
        const ResumoSimulacao s = SimulaImportacao(arquivo, *tabela);
        ctx.Informa(QStringLiteral("Simulação da importação encerrada"));
        ctx.Informa(QStringLiteral("Registros lidos: %1; aplicados: %2; recusados: %3")
                        .arg(s.registros.lidos)
                        .arg(s.registros.aplicados)
                        .arg(s.registros.recusados()));
        for (const QByteArray &linha : s.linhas)
            ctx.Informa(DeCp1252(linha));
        return s.registros.recusados() > 0 ? CodigoRecusados : CodigoOk;
    }
    const ResumoImportacao r = ExecutaImportacao(arquivo, *tabela);
    ctx.Informa(QStringLiteral("Importação encerrada"));
    ctx.Informa(QStringLiteral("Registros lidos: %1; aplicados: %2; recusados: %3")
                    .arg(r.lidos)
                    .arg(r.aplicados)
                    .arg(r.recusados()));
    return r.recusados() > 0 ? CodigoRecusados : CodigoOk;
}

int Exporta(const QString &arquivo, const Contexto &ctx) {
    ExigeInstalacao();
    const auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    QStringList deFora;
    const QByteArray linhas = LinhasExportacao(*tabela, &deFora);
    GravaExportacao(arquivo, linhas);
    ctx.Informa(QStringLiteral("Arquivo exportado com sucesso"));
    // The file holds every other table; a script must still know that these are missing.
    for (const QString &t : std::as_const(deFora))
        AvisaErro(QStringLiteral("tabela %1 não exportada: o arquivo não pôde ser lido").arg(t));
    return deFora.isEmpty() ? CodigoOk : CodigoRecusados;
}

// Every table with its findings, one line each; the network names come from the modules, as the
// window shows them.
int Verifica(const QString &, const Contexto &ctx) {
    ExigeInstalacao();
    CatalogoRedes catalogo;
    catalogo.CarregaComunic();
    catalogo.CarregaModulos();
    const auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    const VerificacaoInstalacao v = VerificaInstalacao(*tabela, NomeRedeDoCatalogo(catalogo));
    for (const QByteArray &linha : v.linhas)
        ctx.Informa(DeCp1252(linha));
    ctx.Informa(QStringLiteral("Verificação encerrada"));
    ctx.Informa(DeCp1252(ResumoVerificacao(v)));
    return v.Limpa() ? CodigoOk : CodigoAchados;
}

// The routing switch, as the window's panel shows and turns it: "Ativa" or "Inativa".
int Roteamento(const QString &valor, const Contexto &ctx) {
    ExigeInstalacao();
    const QString v = valor.toLower();
    const bool ligada = v.isEmpty()                   ? ChaveRoteamento(false)
                        : v == QLatin1String("ativa") ? DefineRoteamento(true)
                                                      : DefineRoteamento(false);
    ctx.Informa(ligada ? QStringLiteral("Ativa") : QStringLiteral("Inativa"));
    return CodigoOk;
}

// The commands: exactly one per run. A new command is one more row.
struct Comando {
    QCommandLineOption opcao;
    int (*executa)(const QString &valor, const Contexto &ctx);
};

QList<Comando> Comandos() {
    return {
        {QCommandLineOption(
             QStringLiteral("importar"),
             QStringLiteral("Importa o ARQUIVO nas tabelas; o resultado de cada linha fica em "
                            "StatusArqImportado.txt, ao lado dele."),
             QStringLiteral("ARQUIVO")),
         Importa},
        {QCommandLineOption(QStringLiteral("exportar"),
                            QStringLiteral("Exporta todas as tabelas para o ARQUIVO."),
                            QStringLiteral("ARQUIVO")),
         Exporta},
        {QCommandLineOption(QStringLiteral("verificar"),
                            QStringLiteral("Examina todas as tabelas e lista os bins que dois "
                                           "cartões do mesmo tipo cobrem (conflitos entre redes, "
                                           "redundâncias, bins não comparáveis) e as tabelas "
                                           "danificadas.")),
         Verifica},
        {QCommandLineOption(QStringLiteral("roteamento"),
                            QStringLiteral("Mostra se o roteamento por BIN está Ativa ou Inativa; "
                                           "seguido de ativa ou inativa, liga ou desliga o "
                                           "roteamento (nada muda quando já está assim).")),
         Roteamento},
    };
}

const QCommandLineOption OpcaoAjuda({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Mostra esta ajuda e termina."));
const QCommandLineOption OpcaoVersao({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Mostra a versão do programa e termina."));
const QCommandLineOption
    OpcaoUnidade(QStringLiteral("unidade"),
                 QStringLiteral("Usa o diretório DIR como unidade da instalação nesta execução, "
                                "no lugar de VARDO_UNIDADE."),
                 QStringLiteral("DIR"));
const QCommandLineOption
    OpcaoSimulacao(QStringLiteral("simular"),
                   QStringLiteral("Com --importar: faz a importação sobre uma cópia das tabelas "
                                  "em memória, sem gravar nada na instalação; o resultado de cada "
                                  "linha e o resumo do que mudaria ficam em "
                                  "StatusArqImportado.simulacao.txt, ao lado do ARQUIVO."));
const QCommandLineOption
    OpcaoSilencio(QStringLiteral("quiet"),
                  QStringLiteral("Não escreve nada na saída padrão; os erros ainda vão para a "
                                 "saída de erros."));

// Qt would read "-importar" as the short options i, m, p, ... and the window would take "-x"
// for one of its own; a single dash is refused here, with the spelling that was meant.
QString ErroDeForma(const QStringList &argumentos) {
    for (const QString &a : argumentos.mid(1)) {
        if (a == QLatin1String("--")) break;
        if (a.size() > 1 && a.startsWith(QLatin1Char('-')) && !a.startsWith(QLatin1String("--")) &&
            a != QLatin1String("-h") && a != QLatin1String("-v"))
            return QStringLiteral("Opção desconhecida '%1': as opções se escrevem com dois "
                                  "hífens (-%1).")
                .arg(a);
    }
    return {};
}

int ErroDeUso(const QString &texto) {
    Escreve(stderr, texto + QLatin1Char('\n') +
                        QStringLiteral("Use '%1 --help' para ver as opções.\n").arg(Programa()));
    return CodigoErro;
}

bool HaTela() {
    for (const char *v : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(v)) return true;
    return false;
}

} // namespace

std::optional<int> ExecutaLinhaDeComando(const QStringList &argumentos) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configurador Roteamento %1: edita as tabelas de roteamento por BIN "
                       "(TabRot.bin) da instalação. Sem opções de comando, abre a janela "
                       "principal; com --importar, --exportar ou --verificar, trabalha sem "
                       "janela.")
            .arg(QStringLiteral(VERSAO_PROGRAMA)));
    const QList<Comando> comandos = Comandos();
    parser.addOption(OpcaoAjuda);
    parser.addOption(OpcaoVersao);
    for (const Comando &c : comandos)
        parser.addOption(c.opcao);
    parser.addOption(OpcaoSimulacao);
    parser.addOption(OpcaoUnidade);
    parser.addOption(OpcaoSilencio);

    if (const QString forma = ErroDeForma(argumentos); !forma.isEmpty()) return ErroDeUso(forma);
    if (!parser.parse(argumentos)) return ErroDeUso(parser.errorText());
    // Only the switch takes a word after it, and only one of two.
    QStringList soltos = parser.positionalArguments();
    const bool roteamento = parser.isSet(QStringLiteral("roteamento"));
    if (roteamento && soltos.size() == 1) {
        if (soltos.constFirst().toLower() != QLatin1String("ativa") &&
            soltos.constFirst().toLower() != QLatin1String("inativa"))
            return ErroDeUso(QStringLiteral("--roteamento aceita ativa ou inativa, não '%1'.")
                                 .arg(soltos.constFirst()));
        soltos.clear();
    }
    if (!soltos.isEmpty())
        return ErroDeUso(QStringLiteral("Argumento inesperado '%1': os arquivos vêm "
                                        "depois de --importar ou --exportar.")
                             .arg(soltos.constFirst()));
    if (parser.isSet(OpcaoAjuda)) {
        // Qt names the program as it was invoked ("./x", a full path); the usage line and the
        // man page made from it name the command.
        QString ajuda = parser.helpText();
        const QString invocado = argumentos.value(0);
        const qsizetype i = invocado.isEmpty() ? -1 : ajuda.indexOf(invocado);
        if (i >= 0 && i < ajuda.indexOf(QLatin1Char('\n')))
            ajuda.replace(i, invocado.size(), Programa());
        Escreve(stdout, ajuda);
        return CodigoOk;
    }
    if (parser.isSet(OpcaoVersao)) {
        Escreve(stdout, QStringLiteral("%1 %2\n").arg(Programa(), QStringLiteral(VERSAO_PROGRAMA)));
        return CodigoOk;
    }
    if (parser.isSet(OpcaoUnidade)) {
        if (parser.values(OpcaoUnidade).size() > 1)
            return ErroDeUso(QStringLiteral("Dê uma só unidade por execução."));
        const QString unidade = parser.value(OpcaoUnidade);
        const QFileInfo dir(unidade);
        if (unidade.isEmpty() || !dir.isDir())
            return ErroDeUso(QStringLiteral("A unidade '%1' não é um diretório.").arg(unidade));
        // The option stands for the variable in this process and in the helper it starts.
        qputenv("VARDO_UNIDADE", QFile::encodeName(dir.absoluteFilePath()));
    }

    const Comando *escolhido = nullptr;
    for (const Comando &c : comandos) {
        if (!parser.isSet(c.opcao)) continue;
        if (escolhido || parser.values(c.opcao).size() > 1)
            return ErroDeUso(QStringLiteral("Dê um só comando por execução."));
        escolhido = &c;
    }
    Contexto ctx;
    ctx.silencioso = parser.isSet(OpcaoSilencio);
    ctx.simulacao = parser.isSet(OpcaoSimulacao);
    if (ctx.simulacao && (!escolhido || escolhido->executa != Importa))
        return ErroDeUso(QStringLiteral("--simular vale só com --importar."));
    if (!escolhido) {
        if (ctx.silencioso)
            return ErroDeUso(QStringLiteral("--quiet vale só com --importar, --exportar, "
                                            "--verificar ou --roteamento."));
        return std::nullopt; // the window, on the chosen drive
    }
    try {
        const QString valor = escolhido->executa == Roteamento
                                  ? parser.positionalArguments().value(0)
                                  : parser.value(escolhido->opcao);
        return escolhido->executa(valor, ctx);
    } catch (const ErroOcupado &e) {
        Escreve(stderr, e.texto() + QLatin1Char('\n'));
        return CodigoOcupado;
    } catch (const ErroES &e) {
        Escreve(stderr, e.texto() + QLatin1Char('\n'));
        return CodigoErro;
    }
}

int ExecutaPrograma(int argc, char **argv) {
    if (argc > 1) {
        std::optional<int> fim;
        {
            QCoreApplication app(argc, argv);
            QCoreApplication::setApplicationName(Programa());
            QCoreApplication::setApplicationVersion(QStringLiteral(VERSAO_PROGRAMA));
            CarregaTraducaoQt();
            fim = ExecutaLinhaDeComando(QCoreApplication::arguments());
        }
        if (fim) return *fim;
    }
    if (!HaTela()) {
        Escreve(stderr, QStringLiteral("Não há tela para a janela (DISPLAY e WAYLAND_DISPLAY "
                                       "vazios). Sem janela, use --importar, --exportar ou "
                                       "--verificar; "
                                       "veja --help.\n"));
        return CodigoErro;
    }
    return ExecutaJanelas(argc, argv);
}
