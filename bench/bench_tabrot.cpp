// Reading and writing a full TabRot.bin (350 entries of 20 BINs, 152,604 bytes), against a plain
// read of the same bytes with QFile and a plain atomic write with QSaveFile plus the same
// directory fsync. Each figure is the best mean of several rounds, in microseconds per call.

#include "env/caminhos.h"
#include "env/gravacao_atomica.h"
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
#include <vector>

namespace {

// The measures run interleaved, one batch of each per round, so that the load of a shared machine
// falls on all of them alike; each result is the best mean over the rounds. `entreRodadas` runs
// outside the timing.
std::vector<double> Mede(int rodadas, int vezes, const std::vector<std::function<void()>> &fs,
                         const std::function<void()> &entreRodadas = {}) {
    std::vector<double> melhor(fs.size(), 1e300);
    for (const auto &f : fs)
        f(); // warm-up
    for (int r = 0; r < rodadas; ++r) {
        for (size_t k = 0; k < fs.size(); ++k) {
            if (entreRodadas) entreRodadas();
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < vezes; ++i)
                fs[k]();
            melhor[k] = std::min(melhor[k], double(t.nsecsElapsed()) / 1000.0 / vezes);
        }
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

    const int rodadas = 7, leituras = 2000, gravacoes = 40;
    auto limpaTrace = [&] { QFile::remove(trace); };

    const QByteArray abre = "Abre e Le o arquivo " + QFile::encodeName(arq);
    const auto leitura =
        Mede(rodadas, leituras,
             {
                 [&] {
                     if (!LeTabRot(arq, *lida)) Falha("LeTabRot");
                 },
                 // LeTabRot's own work without its trace entries: the same read and the same parse.
                 [&] {
                     QFile f(arq);
                     if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) Falha("open");
                     const QByteArray b = f.read(TamMaxTabRot);
                     f.close();
                     if (!TabRotDosBytes(b, *lida)) Falha("parse");
                 },
                 // The trace of a load: its two entries in one append, and as two separate appends.
                 [&] { GravaTrace(abre, "Abriu o arquivo"); },
                 [&] {
                     GravaTrace(abre);
                     GravaTrace("Abriu o arquivo");
                 },
                 [&] {
                     QFile f(arq);
                     if (!f.open(QIODevice::ReadOnly)) Falha("open");
                     if (f.readAll().size() != bytes.size()) Falha("plain read");
                 },
             },
             limpaTrace);
    const double leTabRot = leitura[0], leSemTrace = leitura[1], traceJunto = leitura[2],
                 traceSeparado = leitura[3], lePlano = leitura[4];

    const auto gravacao = Mede(rodadas, gravacoes,
                               {
                                   [&] {
                                       if (!GravaTabRot(arq, *tabela)) Falha("GravaTabRot");
                                   },
                                   [&] {
                                       QSaveFile f(plano);
                                       if (!f.open(QIODevice::WriteOnly) ||
                                           f.write(bytes) != bytes.size() || !f.commit())
                                           Falha("plain save");
                                       if (!SincronizaDiretorio(config)) Falha("directory fsync");
                                   },
                               });
    const double gravaTabRot = gravacao[0], gravaPlano = gravacao[1];

    std::printf("TabRot.bin of %lld bytes (350 entries, 20 BINs each); best mean of %d rounds\n",
                static_cast<long long>(bytes.size()), rodadas);
    std::printf("read  (%d calls/round)\n", leituras);
    std::printf("  LeTabRot (with its trace entries) %9.1f us\n", leTabRot);
    std::printf("  LeTabRot's read+parse, no trace   %9.1f us\n", leSemTrace);
    std::printf("  its 2 trace entries, one append   %9.1f us\n", traceJunto);
    std::printf("  the same as two GravaTrace calls  %9.1f us\n", traceSeparado);
    std::printf("  plain QFile read                  %9.1f us\n", lePlano);
    std::printf("  ratio LeTabRot / plain            %9.2f\n", leTabRot / lePlano);
    std::printf("  ratio without trace / plain       %9.2f\n", leSemTrace / lePlano);
    std::printf("write (%d calls/round)\n", gravacoes);
    std::printf("  GravaTabRot                       %9.1f us\n", gravaTabRot);
    std::printf("  plain QSaveFile + directory fsync %9.1f us\n", gravaPlano);
    std::printf("  ratio GravaTabRot / plain         %9.2f\n", gravaTabRot / gravaPlano);
    return 0;
}
