// Import and export figures: 10,000 "I" records over 40 companies against the floor of one
// LeTabRot plus one GravaTabRot per record, and the export of 200 full tables.
//
// bench_importacao [directory]   (the installation is built in a temporary directory there)

#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "env/caminhos.h"
#include "env/trava.h"
#include "routing/tabrot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

bool Escreve(const QString &caminho, const QByteArray &bytes) {
    QDir().mkpath(caminho.left(caminho.lastIndexOf(QLatin1Char('/'))));
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QString Codigo(int i) {
    return QStringLiteral("E%1").arg(i, 7, 10, QLatin1Char('0'));
}

void CriaInstalacao(const QString &unidade, int empresas) {
    const QString config = unidade + QStringLiteral("/Vardo/config");
    QDir().mkpath(config + QStringLiteral("/Empresas"));
    for (int e = 0; e < empresas; ++e)
        Escreve(config + QLatin1Char('/') + Codigo(e) + QStringLiteral(".cnf"),
                QByteArray("\x10\x01", 2));
}

double Ms(qint64 ns) {
    return double(ns) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    auto tabela = std::make_unique<TTabRot>();

    // Import: 10,000 records, round robin over 40 companies, so every record loads and writes
    // a table of its own that grows to 250 entries.
    {
        QTemporaryDir tmp(base + QStringLiteral("/bench_importacao-XXXXXX"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(tmp.path()));
        const int empresas = 40, porEmpresa = 250;
        CriaInstalacao(tmp.path(), empresas);
        QByteArray registros;
        for (int i = 0; i < porEmpresa; ++i)
            for (int e = 0; e < empresas; ++e)
                registros += Codigo(e).toLatin1() + ";CARTAO " + QByteArray::number(i) +
                             ";411111,400000-400099,422222;" + QByteArray::number(i % 1000) +
                             ";C;I\r\n";
        const QString arquivo = tmp.path() + QStringLiteral("/imp.txt");
        Escreve(arquivo, registros);

        // The floor: what every record must do, a load and a save of its table. Measured just
        // before the import on the same tables at 125 entries (the average size during the run)
        // and just after at 250, since the disk is shared and its speed drifts.
        const QString raiz = Raiz();
        auto piso = [&](int voltas) {
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < voltas; ++i) {
                const QString caminho = Caminhos::TabRotEmpresa(raiz, Codigo(i % empresas));
                if (!LeTabRot(caminho, *tabela) || !GravaTabRot(caminho, *tabela)) return -1.0;
            }
            return Ms(t.nsecsElapsed()) / voltas;
        };
        LimpaTabRot(*tabela);
        tabela->Qtd = porEmpresa / 2;
        for (int i = 0; i < tabela->Qtd; ++i) {
            TCartao &c = tabela->Cartoes[i];
            CopiaTextoParaCampo("CARTAO " + QByteArray::number(i), c.Nome);
            c.CodRede = std::uint16_t(i);
            c.Tipo = TipoCredito;
            c.QtdBins = 3;
            CopiaTextoParaCampo("411111", c.Bins[0]);
            CopiaTextoParaCampo("400000-400099", c.Bins[1]);
            CopiaTextoParaCampo("422222", c.Bins[2]);
        }
        for (int e = 0; e < empresas; ++e)
            GravaTabRot(Caminhos::TabRotEmpresa(raiz, Codigo(e)), *tabela);
        const double pisoAntes = piso(1000);
        for (int e = 0; e < empresas; ++e)
            QFile::remove(Caminhos::TabRotEmpresa(raiz, Codigo(e)));

        LimpaTabRot(*tabela);
        QElapsedTimer t;
        t.start();
        ExecutaImportacao(arquivo, *tabela);
        const qint64 importacao = t.nsecsElapsed();
        const int qtd = empresas * porEmpresa;
        const double pisoDepois = piso(1000);
        if (pisoAntes < 0 || pisoDepois < 0) {
            std::fprintf(stderr, "falha no piso\n");
            return 1;
        }
        const double porRegistro = Ms(importacao) / qtd, pisoMedio = (pisoAntes + pisoDepois) / 2;
        std::printf("importação: %d registros em %.0f ms; %.3f ms por registro\n", qtd,
                    Ms(importacao), porRegistro);
        std::printf("piso (LeTabRot + GravaTabRot): %.3f ms antes, %.3f ms depois; razão %.2fx\n",
                    pisoAntes, pisoDepois, porRegistro / pisoMedio);

        // The locks alone: each record takes the lock of its table and of the status file.
        const QString caminho = Caminhos::TabRotEmpresa(raiz, Codigo(0));
        const int voltas = 10000;
        QElapsedTimer tt;
        tt.start();
        for (int i = 0; i < voltas; ++i) {
            const TravaArquivo trava(caminho);
            if (!trava.obtida()) return 1;
        }
        const double porTrava = Ms(tt.nsecsElapsed()) / voltas;
        std::printf("trava: %.4f ms por trava; 2 por registro = %.1f%% do "
                    "registro\n",
                    porTrava, 100.0 * 2 * porTrava / porRegistro);
    }

    // Export: 200 full tables of 350 entries with 20 BINs each.
    {
        QTemporaryDir tmp(base + QStringLiteral("/bench_exportacao-XXXXXX"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(tmp.path()));
        const int empresas = 200;
        CriaInstalacao(tmp.path(), empresas);
        LimpaTabRot(*tabela);
        tabela->Qtd = MaxCartoes;
        for (int i = 0; i < MaxCartoes; ++i) {
            TCartao &c = tabela->Cartoes[i];
            CopiaTextoParaCampo("CARTAO " + QByteArray::number(i), c.Nome);
            c.CodRede = std::uint16_t(i);
            c.Tipo = std::uint8_t(1 + i % 3);
            c.QtdBins = MaxBins;
            for (int j = 0; j < MaxBins; ++j)
                CopiaTextoParaCampo(QByteArray::number(400000000 + i * 20 + j) + "-" +
                                        QByteArray::number(499999999 - j),
                                    c.Bins[j]);
        }
        const QByteArray bytes = BytesDaTabRot(*tabela);
        const QString raiz = Raiz();
        for (int e = 0; e < empresas; ++e)
            Escreve(Caminhos::TabRotEmpresa(raiz, Codigo(e)), bytes);

        QElapsedTimer t;
        t.start();
        const QByteArray linhas = LinhasExportacao(*tabela);
        const qint64 coleta = t.nsecsElapsed();
        GravaExportacao(tmp.path() + QStringLiteral("/exp.txt"), linhas);
        const qint64 total = t.nsecsElapsed();
        std::printf("exportação: %d tabelas, %lld bytes em %.0f ms (leitura e linhas %.0f ms)\n",
                    empresas, static_cast<long long>(linhas.size()), Ms(total), Ms(coleta));
    }
    return 0;
}
