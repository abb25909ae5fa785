// Replays fuzz inputs through a target's LLVMFuzzerTestOneInput, once each, without libFuzzer:
// the normal (g++) test build runs the kept corpus this way, so `make test` needs no clang.
//
//   repete_<alvo> DIR_OR_FILE...
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho);

int main(int argc, char **argv) {
    QStringList entradas;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (QFileInfo(arg).isDir()) {
            const QDir d(arg);
            for (const QString &n : d.entryList(QDir::Files, QDir::Name))
                entradas.append(d.filePath(n));
        } else {
            entradas.append(arg);
        }
    }
    if (entradas.isEmpty()) {
        std::fprintf(stderr, "nenhuma entrada para repetir\n");
        return 1;
    }
    for (const QString &e : entradas) {
        QFile f(e);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "não abriu %s\n", qPrintable(e));
            return 1;
        }
        const QByteArray b = f.readAll();
        std::fprintf(stderr, "%s\n", qPrintable(QFileInfo(e).fileName()));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(b.constData()),
                               size_t(b.size()));
    }
    std::printf("%lld entradas repetidas\n", static_cast<long long>(entradas.size()));
    return 0;
}
