// Module query: 50 well-behaved modules through the helper process, against the same 50 loaded
// and queried in this process; then the same with one module that hangs.
#include "env/redes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double Mediana(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

bool CopiaDiretorio(const QString &de, const QString &para) {
    QDir().mkpath(para);
    for (const QString &n : QDir(de).entryList(QDir::Files))
        if (!QFile::copy(de + QLatin1Char('/') + n, para + QLatin1Char('/') + n)) return false;
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir unidade;
    qputenv("VARDO_UNIDADE", unidade.path().toLocal8Bit());
    const QString bib = unidade.filePath(QStringLiteral("vardo/aplic.win/bib"));
    if (!CopiaDiretorio(QStringLiteral(BENCH_MODULOS), bib)) return 1;

    CatalogoRedes cat;
    const int rodadas = 15;
    QList<double> isolado, noProcesso;
    int respondidos = 0;
    for (int r = 0; r < rodadas; ++r) {
        QElapsedTimer t;
        t.start();
        respondidos = cat.CarregaModulos();
        isolado << t.nsecsElapsed() / 1e6;

        QStringList arquivos;
        for (const QString &n : QDir(bib).entryList(QDir::Files, QDir::Name))
            arquivos << bib + QLatin1Char('/') + n;
        t.restart();
        int n = 0;
        for (const QString &a : arquivos) {
            ModuloRede m;
            n += ConsultaModulo(a, m);
        }
        noProcesso << t.nsecsElapsed() / 1e6;
        if (n != respondidos) return 2;
    }
    std::printf("CarregaModulos, %d modules, helper process: median %.1f ms (min %.1f)\n",
                respondidos, Mediana(isolado), *std::min_element(isolado.begin(), isolado.end()));
    std::printf("same modules queried in-process with QLibrary: median %.1f ms (min %.1f)\n",
                Mediana(noProcesso), *std::min_element(noProcesso.begin(), noProcesso.end()));

    // One module that hangs, in the middle of the list: it should cost its time limit.
    QFile::copy(QStringLiteral(BENCH_TRAVA) + QStringLiteral("/seTrava.bpl"),
                bib + QStringLiteral("/seTrava.bpl"));
    for (int prazo : {1000, CatalogoRedes::PrazoPadraoMs}) {
        cat.DefinePrazoModulo(prazo);
        QElapsedTimer t;
        t.start();
        const int n = cat.CarregaModulos();
        std::printf("with one hanging module, limit %d ms: %d answered in %.1f ms\n", prazo, n,
                    t.nsecsElapsed() / 1e6);
    }
    return 0;
}
