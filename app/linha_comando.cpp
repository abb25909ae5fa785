// The command line: import and export for scripts, without a window or a display.

#include "app/inicio.h"

#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "env/erro.h"
#include "routing/tabrot.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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

} // namespace

bool EhLinhaDeComando(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--", 2) == 0 || std::strcmp(argv[i], "-h") == 0 ||
            std::strcmp(argv[i], "-?") == 0)
            return true;
    return false;
}

int ExecutaLinhaDeComando(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("configurador-roteamento"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configurador Roteamento: importação e exportação das tabelas de roteamento "
                       "(TabRot.bin) da instalação, sem janela."));
    const QCommandLineOption ajuda = parser.addHelpOption();
    const QCommandLineOption importar(
        QStringLiteral("importar"),
        QStringLiteral("Importa o ARQUIVO nas tabelas; o resultado de cada linha fica em "
                       "StatusArqImportado.txt, ao lado dele."),
        QStringLiteral("ARQUIVO"));
    const QCommandLineOption exportar(QStringLiteral("exportar"),
                                      QStringLiteral("Exporta todas as tabelas para o ARQUIVO."),
                                      QStringLiteral("ARQUIVO"));
    parser.addOption(importar);
    parser.addOption(exportar);

    if (!parser.parse(QCoreApplication::arguments())) {
        Escreve(stderr, parser.errorText() + QLatin1Char('\n'));
        return 1;
    }
    if (parser.isSet(ajuda)) {
        Escreve(stdout, parser.helpText());
        return 0;
    }
    const bool importa = parser.isSet(importar);
    const bool exporta = parser.isSet(exportar);
    if (importa == exporta || !parser.positionalArguments().isEmpty()) {
        Escreve(stderr, QStringLiteral("Use --importar ARQUIVO ou --exportar ARQUIVO.\n\n") +
                            parser.helpText());
        return 1;
    }

    // The table is big; it lives on the heap for the length of the command.
    const auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    try {
        if (importa) {
            ExecutaImportacao(parser.value(importar), *tabela);
            Escreve(stdout, QStringLiteral("Importação encerrada\n"));
        } else {
            const QByteArray linhas = LinhasExportacao(*tabela);
            GravaExportacao(parser.value(exportar), linhas);
            Escreve(stdout, QStringLiteral("Arquivo exportado com sucesso\n"));
        }
    } catch (const ErroES &e) {
        Escreve(stderr, e.texto() + QLatin1Char('\n'));
        return 1;
    }
    return 0;
}
