// Performs one writer operation and prints its outcome, for the I/O fault tests, which run it
// under strace (a failing write, fsync, rename or open) or under a file size limit.
//
//   falhas_es_ajudante tabrot <destino> <tabela.bin>   GravaTabRot of the table in the file
//   falhas_es_ajudante roteamento                      ChaveRoteamento(true): the VARDOCFG.INI
//   toggle falhas_es_ajudante trace <mensagem>                GravaTrace falhas_es_ajudante importa
//   <arquivo>               ExecutaImportacao falhas_es_ajudante exporta <arquivo> LinhasExportacao
//   and GravaExportacao
//
// The installation is the one VARDO_UNIDADE names. Before the operation the helper calls
// access("/falhas-es-inicio"), a mark in the system call trace: the tests count the calls to
// fail from there, past the start-up of Qt and of the sanitizers. Output, one line:
//   resultado: ok [<value>]      the operation reported success
//   resultado: falha             it returned false
//   resultado: erro <text>       it threw ErroES

#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "env/erro.h"
#include "env/roteamento.h"
#include "env/trace.h"
#include "routing/tabrot.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

void Resultado(const char *texto, const QString &detalhe = {}) {
    if (detalhe.isEmpty())
        std::printf("resultado: %s\n", texto);
    else
        std::printf("resultado: %s %s\n", texto, detalhe.toUtf8().constData());
}

int Uso(const char *programa) {
    std::fprintf(stderr,
                 "uso: %s tabrot <destino> <tabela.bin> | roteamento | trace <mensagem> |"
                 " importa <arquivo> | exporta <arquivo>\n",
                 programa);
    return 64;
}

} // namespace

int main(int argc, char **argv) {
    // A file size limit fails the write with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) return Uso(argv[0]);
    const QByteArray op(argv[1]);
    const QString arg = argc > 2 ? QFile::decodeName(argv[2]) : QString();

    auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    if (op == "tabrot") {
        if (argc != 4) return Uso(argv[0]);
        QFile f(QFile::decodeName(argv[3]));
        if (!f.open(QIODevice::ReadOnly) || !TabRotDosBytes(f.readAll(), *tabela)) {
            std::fprintf(stderr, "tabela ilegível: %s\n", argv[3]);
            return 65;
        }
    } else if (op == "roteamento") {
        if (argc != 2) return Uso(argv[0]);
    } else if (op == "trace" || op == "importa" || op == "exporta") {
        if (argc != 3) return Uso(argv[0]);
    } else {
        return Uso(argv[0]);
    }

    [[maybe_unused]] const int marca = ::access("/falhas-es-inicio", F_OK);
    std::fflush(stdout);
    try {
        if (op == "tabrot") {
            Resultado(GravaTabRot(arg, *tabela) ? "ok" : "falha");
        } else if (op == "roteamento") {
            Resultado("ok", ChaveRoteamento(true) ? QStringLiteral("1") : QStringLiteral("0"));
        } else if (op == "trace") {
            GravaTrace(QByteArray(argv[2]));
            Resultado("ok");
        } else if (op == "importa") {
            ExecutaImportacao(arg, *tabela);
            Resultado("ok");
        } else {
            GravaExportacao(arg, LinhasExportacao(*tabela));
            Resultado("ok");
        }
    } catch (const ErroES &e) {
        Resultado("erro", e.texto());
    }
    return 0;
}
