// Reading and writing a full TabRot.bin (350 entries of 20 BINs, 152,604 bytes), against a plain
// read of the same bytes with QFile and a plain atomic write with QSaveFile plus the same
// directory fsync. Each figure is the best mean of several rounds, in microseconds per call.

#include "env/arquivos.h"
#include "env/caminhos.h"
#include "env/trace.h"
#include "routing/tabrot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// Best mean over the rounds; `entreRodadas` runs outside the timing.
double Mede(int rodadas, int vezes, const std::function<void()> &f,
            const std::function<void()> &entreRodadas = {}) {
    double melhor = 1e300;
    f(); // warm-up
    for (int r = 0; r < rodadas; ++r) {
        if (entreRodadas) entreRodadas();
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < vezes; ++i)
            f();
        melhor = std::min(melhor, double(t.nsecsElapsed()) / 1000.0 / vezes);
    }
    return melhor;
}

void Falha(const char *o) {
    std::fprintf(stderr, "bench_tabrot: %s\n", o);
    std::exit(1);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"))
        Falha("a CfVardo.ini beside the program would send the trace elsewhere");
    QTemporaryDir tmp(QDir::currentPath() + QStringLiteral("/bench_tabrot-XXXXXX"));
    if (!tmp.isValid()) Falha("no temporary directory");
    qputenv("VARDO_UNIDADE", QFile::encodeName(tmp.path()));
    const QString config = Caminhos::Config(Raiz());
    QDir().mkpath(config);
    const QString arq = Caminhos::TabRotTodas(Raiz());
    const QString trace = Caminhos::Trace(Raiz());
    const QString plano = config + QStringLiteral("/Plano.bin");

    auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    for (int i = 0; i < MaxCartoes; ++i) {
        TCartao &c = tabela->Cartoes[tabela->Qtd++];
        CopiaTextoParaCampo("CARTAO " + QByteArray::number(i), c.Nome);
        c.CodRede = std::uint16_t(i);
        c.Tipo = std::uint8_t(1 + i % 3);
        c.QtdBins = MaxBins;
        for (int j = 0; j < MaxBins; ++j)
            CopiaTextoParaCampo(QByteArray::number(400000000 + i * 100 + j) + "-49999999" +
                                    QByteArray::number(j % 10),
                                c.Bins[j]);
    }
    const QByteArray bytes = BytesDaTabRot(*tabela);
    if (bytes.size() != 152604) Falha("table size");
    if (!GravaTabRot(arq, *tabela)) Falha("first save");
    auto lida = std::make_unique<TTabRot>();

    const int rodadas = 5, leituras = 2000, gravacoes = 40;
    auto limpaTrace = [&] { QFile::remove(trace); };

    const double leTabRot = Mede(rodadas, leituras, [&] {
        if (!LeTabRot(arq, *lida)) Falha("LeTabRot");
    }, limpaTrace);
    // LeTabRot's own work without its trace entries: the same read and the same parse.
    const double leSemTrace = Mede(rodadas, leituras, [&] {
        QFile f(arq);
        if (!f.open(QIODevice::ReadOnly)) Falha("open");
        const QByteArray b = f.read(TamMaxTabRot);
        f.close();
        if (!TabRotDosBytes(b, *lida)) Falha("parse");
    });
    const double tresTraces = Mede(rodadas, leituras, [&] {
        GravaTrace("Abre e Le o arquivo " + QFile::encodeName(arq));
        GravaTrace("Abriu o arquivo");
        GravaTrace("Abriu o arquivo");
    }, limpaTrace);
    const double lePlano = Mede(rodadas, leituras, [&] {
        QFile f(arq);
        if (!f.open(QIODevice::ReadOnly)) Falha("open");
        if (f.readAll().size() != bytes.size()) Falha("plain read");
    });

    const double gravaTabRot = Mede(rodadas, gravacoes, [&] {
        if (!GravaTabRot(arq, *tabela)) Falha("GravaTabRot");
    });
    const double gravaPlano = Mede(rodadas, gravacoes, [&] {
        QSaveFile f(plano);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            Falha("plain save");
        if (!SincronizaDiretorio(config)) Falha("directory fsync");
    });

    std::printf("TabRot.bin of %lld bytes (350 entries, 20 BINs each); best mean of %d rounds\n",
                static_cast<long long>(bytes.size()), rodadas);
    std::printf("read  (%d calls/round)\n", leituras);
    std::printf("  LeTabRot (3 trace entries)        %9.1f us\n", leTabRot);
    std::printf("  LeTabRot's read+parse, no trace   %9.1f us\n", leSemTrace);
    std::printf("  its 3 trace entries alone          %9.1f us\n", tresTraces);
    std::printf("  plain QFile read                  %9.1f us\n", lePlano);
    std::printf("  ratio LeTabRot / plain            %9.2f\n", leTabRot / lePlano);
    std::printf("  ratio without trace / plain       %9.2f\n", leSemTrace / lePlano);
    std::printf("write (%d calls/round)\n", gravacoes);
    std::printf("  GravaTabRot                       %9.1f us\n", gravaTabRot);
    std::printf("  plain QSaveFile + directory fsync %9.1f us\n", gravaPlano);
    std::printf("  ratio GravaTabRot / plain         %9.2f\n", gravaTabRot / gravaPlano);
    return 0;
}
