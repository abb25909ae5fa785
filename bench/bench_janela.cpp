// Benchmark of the main window on a large installation: 50 companies, 50 network modules.
//   start-up: from the program's start to the window shown (module query included)
//   load:     a full table (350 entries, 20 BINs each) into the grids and defaults
//   sort:     350 card rows of one grid by name
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/inicio.h"
#include "app/modelo_cartoes.h"
#include "app/pagina_cartoes.h"
#include "app/principal.h"
#include "routing/tabrot.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#ifndef BENCH_MODULOS
#define BENCH_MODULOS ""
#endif

namespace {

constexpr int Empresas = 50;
constexpr int Redes = 50;

QByteArray Registro(int tipo, int valor) {
    QByteArray r(130, '\x5A');
    qToLittleEndian<std::uint16_t>(0x0102, r.data());
    qToLittleEndian<std::uint16_t>(std::uint16_t(tipo), r.data() + 2);
    qToLittleEndian<std::uint16_t>(std::uint16_t(valor), r.data() + 4);
    return r;
}

bool Escreve(const QString &caminho, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(caminho).absolutePath());
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// 350 entries: the three defaults, then cards of the three types in turn, 20 BINs each.
std::unique_ptr<TTabRot> TabelaCheia() {
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    const std::uint8_t padroes[3] = {TipoPadraoCredito, TipoPadraoDebito, TipoPadraoCombustivel};
    for (int i = 0; i < MaxCartoes; ++i) {
        TCartao &c = t->Cartoes[i];
        c.CodRede = std::uint16_t(1 + i % Redes);
        if (i < 3) {
            c.Tipo = padroes[i];
            continue;
        }
        c.Tipo = std::uint8_t(1 + i % 3);
        CopiaTextoParaCampo(QByteArray("CARTAO ") + QByteArray::number(i), c.Nome);
        for (int j = 0; j < MaxBins; ++j)
            CopiaTextoParaCampo(QByteArray::number(400000 + i * 100 + j) + "-" +
                                    QByteArray::number(400000 + i * 100 + j + 50),
                                c.Bins[j]);
        c.QtdBins = MaxBins;
    }
    t->Qtd = MaxCartoes;
    return t;
}

bool MontaUnidade(const QString &unidade) {
    const QString config = unidade + QStringLiteral("/Vardo/config");
    QByteArray comunic;
    for (int r = 1; r <= Redes; ++r)
        comunic += Registro(2, r);
    if (!Escreve(config + QStringLiteral("/COMUNIC.cnf"), comunic)) return false;
    const QByteArray tabela = BytesDaTabRot(*TabelaCheia());
    if (!Escreve(config + QStringLiteral("/TabRot.bin"), tabela)) return false;
    for (int e = 0; e < Empresas; ++e) {
        const QString codigo = QStringLiteral("EMP%1").arg(e, 5, 10, QLatin1Char('0'));
        if (!Escreve(config + QLatin1Char('/') + codigo + QStringLiteral(".cnf"),
                     QByteArray("\x10\x01", 2) + QByteArray(64, 'x')))
            return false;
        if (!Escreve(config + QStringLiteral("/Empresas/") + codigo + QStringLiteral("/TabRot.bin"),
                     tabela))
            return false;
    }
    const QString bib = unidade + QStringLiteral("/vardo/aplic.win/bib/");
    QDir().mkpath(bib);
    const QDir modulos(QStringLiteral(BENCH_MODULOS));
    int copiados = 0;
    for (const QString &m : modulos.entryList({QStringLiteral("se*.bpl")}, QDir::Files))
        copiados += QFile::copy(modulos.filePath(m), bib + m);
    return copiados == Redes;
}

double Mediana(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    QElapsedTimer inicio;
    inicio.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    if (!dir.isValid() || !MontaUnidade(dir.path())) {
        std::fprintf(stderr, "bench_janela: cannot build the drive (modules in '%s')\n",
                     BENCH_MODULOS);
        return 1;
    }
    qputenv("VARDO_UNIDADE", dir.path().toLocal8Bit());
    const qint64 montagem = inicio.nsecsElapsed();

    // Start-up as ExecutaJanelas does it.
    QElapsedTimer partida;
    partida.start();
    QApplication app(argc, argv);
    const std::unique_ptr<TFrmPrinc> principal = CriaJanelas();
    principal->show();
    QApplication::processEvents();
    const double msPartida = partida.nsecsElapsed() / 1e6;
    std::printf("drive built in %.1f ms (%d companies, %d modules, %d-entry tables)\n",
                montagem / 1e6, Empresas, int(principal->Catalogo().Modulos().size()), MaxCartoes);
    std::printf("start-up to window shown: %.1f ms (goal < 1000)\n", msPartida);

    // Load: the company selection empties the grids, rebuilds the lists and loads the table.
    QComboBox *empresa = principal->ComboEmpresa();
    empresa->setCurrentIndex(empresa->findText(QStringLiteral("TODAS")));
    QList<double> cargas;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        principal->cb_empresaChange();
        cargas << t.nsecsElapsed() / 1e6;
    }
    // The same with the credit page shown, as a second tree click reloads it.
    principal->cb_empresaChange();
    principal->findChild<QWidget *>(QStringLiteral("PageControl_opcoes"))->show();
    QApplication::processEvents();
    QList<double> visiveis;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer t;
        t.start();
        principal->cb_empresaChange();
        QApplication::processEvents();
        visiveis << t.nsecsElapsed() / 1e6;
    }
    std::printf("load with the page shown (painted): median %.2f ms, max %.2f ms (goal < 100)\n",
                Mediana(visiveis), *std::max_element(visiveis.begin(), visiveis.end()));
    int linhas = 0;
    for (TipoGrade g : {TipoGrade::Credito, TipoGrade::Debito, TipoGrade::Combustivel})
        linhas += int(principal->Cartoes().Cartoes(g).size());
    std::printf(
        "load of a full table (%d cards + 3 defaults): median %.2f ms, max %.2f ms (goal < 100)\n",
        linhas, Mediana(cargas), *std::max_element(cargas.begin(), cargas.end()));

    // Sort: 350 rows of shuffled names in one grid.
    PaginaCartoes *pagina = principal->Pagina(TipoGrade::Credito);
    QList<double> ordens;
    for (int rodada = 0; rodada < 15; ++rodada) {
        principal->Cartoes().Limpa();
        for (int i = 0; i < MaxCartoes; ++i) {
            const quint32 n = QRandomGenerator::global()->bounded(1000000u);
            pagina->IncluiDadosNaGrade(QStringLiteral("Cartão %1").arg(n),
                                       QStringLiteral("Rede %1").arg(n % 50),
                                       {QString::number(400000 + n)});
        }
        QElapsedTimer t;
        t.start();
        pagina->Modelo()->Ordena(ModeloCartoes::ColunaNome);
        ordens << t.nsecsElapsed() / 1e6;
    }
    std::printf("sort of %d rows: median %.2f ms, max %.2f ms (goal < 20)\n", MaxCartoes,
                Mediana(ordens), *std::max_element(ordens.begin(), ordens.end()));
    return 0;
}
