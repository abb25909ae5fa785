// Second process of the TabRot.bin safety tests: saves two tables alternately over one file.
//
//   tabrot_ajudante alterna <destino> <tabela-a> <tabela-b> <vezes>
//
// The tables are given as TabRot.bin files. <vezes> 0 saves until the process is killed. After
// the first save it prints "pronto" on its own line. Exit 0 when every save succeeded.

#include "routing/tabrot.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <memory>

static std::unique_ptr<TTabRot> Carrega(const char *caminho) {
    QFile f(QFile::decodeName(caminho));
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    if (!f.open(QIODevice::ReadOnly) || !TabRotDosBytes(f.readAll(), *t)) return nullptr;
    return t;
}

int main(int argc, char **argv) {
    if (argc != 6 || std::strcmp(argv[1], "alterna") != 0) {
        std::fprintf(stderr, "uso: %s alterna <destino> <tabela-a> <tabela-b> <vezes>\n", argv[0]);
        return 64;
    }
    const QString destino = QFile::decodeName(argv[2]);
    const auto a = Carrega(argv[3]);
    const auto b = Carrega(argv[4]);
    if (!a || !b) {
        std::fprintf(stderr, "tabela de origem ilegível\n");
        return 65;
    }
    const long vezes = std::strtol(argv[5], nullptr, 10);
    for (long i = 0; vezes == 0 || i < vezes; ++i) {
        if (!GravaTabRot(destino, i % 2 ? *b : *a)) {
            std::fprintf(stderr, "falha na gravação %ld\n", i);
            return 1;
        }
        if (i == 0) {
            std::puts("pronto");
            std::fflush(stdout);
        }
    }
    return 0;
}
