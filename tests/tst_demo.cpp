// The demo installation that `make run` opens, as the build leaves it: its tables read back, its
// companies are found, and every network a table names is one that its modules and COMUNIC.cnf
// offer for that card type. The drive is copied first, so loading (which traces) leaves it alone.
#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/perfil.h"
#include "env/redes.h"
#include "env/roteamento.h"
#include "env/texto.h"
#include "routing/tabrot.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

bool CopiaArvore(const QString &de, const QString &para) {
    QDirIterator it(de, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString origem = it.next();
        const QString destino = para + origem.mid(de.size());
        if (it.fileInfo().isDir() ? !QDir().mkpath(destino) : !QFile::copy(origem, destino))
            return false;
    }
    return true;
}

std::uint16_t MascaraDoTipo(std::uint8_t tipo) {
    switch (tipo) {
    case TipoCredito:
    case TipoPadraoCredito:
        return MascaraCredito;
    case TipoDebito:
    case TipoPadraoDebito:
        return MascaraDebito;
    case TipoCombustivel:
    case TipoPadraoCombustivel:
        return MascaraCombustivel;
    }
    return 0;
}

// A BIN as the card dialog accepts it: 6 to 9 digits, or two such bounds in order.
bool BinValido(const QByteArray &bin) {
    const auto digitos = [](const QByteArray &t) {
        if (t.size() < 6 || t.size() > 9) return false;
        for (char c : t)
            if (c < '0' || c > '9') return false;
        return true;
    };
    const qsizetype hifen = bin.indexOf('-');
    if (hifen < 0) return digitos(bin);
    const QByteArray de = bin.left(hifen), ate = bin.mid(hifen + 1);
    return digitos(de) && digitos(ate) && de.toLongLong() <= ate.toLongLong();
}

QList<QByteArray> Nomes(std::initializer_list<const char *> v) {
    QList<QByteArray> l;
    for (const char *n : v)
        l.append(cp1252(n));
    return l;
}

} // namespace

class TstDemo : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_raiz;
    CatalogoRedes m_catalogo;

private slots:
    void initTestCase() {
        const QString origem =
            qEnvironmentVariable("TESTES_BINARIOS") + QStringLiteral("/../demo/unidade");
        if (!QDir(origem).exists()) QSKIP("the demo drive was not built");
        QVERIFY(m_dir.isValid());
        QVERIFY(CopiaArvore(QDir(origem).absolutePath(), m_dir.path()));
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_dir.path()));
        m_raiz = Raiz();
        QCOMPARE(m_raiz, m_dir.path() + QStringLiteral("/Vardo"));
        QVERIFY(m_catalogo.CarregaComunic());
        QCOMPARE(m_catalogo.CarregaModulos(), 6);
    }

    void empresas() {
        QStringList lista;
        QCOMPARE(ListaEmpresas(m_raiz, lista), 3);
        QCOMPARE(lista, QStringList({"LOJAS001", "MERCADO3", "POSTO002"}));
    }

    void chaveLigada() {
        QCOMPARE(LePerfilInteiro(Caminhos::VardoCfg(m_raiz), "Geral", "HabilitaBinsPorEmpresa", 0),
                 1);
        QVERIFY(ChaveRoteamento(false));
    }

    void redesPorTipo_data() {
        QTest::addColumn<int>("mascara");
        QTest::addColumn<QList<QByteArray>>("redes");
        // COMUNIC.cnf order; TECBAN by its host-to-host connection; network 30 has no module.
        QTest::newRow("crédito") << int(MascaraCredito)
                                 << Nomes({"Bloqueada", "RedeAlfa", "CardNet", "Tecban Host a Host",
                                           "PostoCard"});
        QTest::newRow("débito") << int(MascaraDebito)
                                << Nomes(
                                       {"Bloqueada", "RedeAlfa", "Tecban Host a Host", "BancoSol"});
        QTest::newRow("combustível")
            << int(MascaraCombustivel) << Nomes({"Bloqueada", "ValeFrota", "PostoCard"});
    }
    void redesPorTipo() {
        QFETCH(int, mascara);
        QFETCH(QList<QByteArray>, redes);
        QCOMPARE(m_catalogo.RedesDoTipo(std::uint16_t(mascara)), redes);
    }

    void tabelas_data() {
        QTest::addColumn<QString>("empresa");
        QTest::addColumn<int>("qtd");
        QTest::newRow("TODAS") << QString() << 16;
        QTest::newRow("LOJAS001") << QStringLiteral("LOJAS001") << 8;
        QTest::newRow("POSTO002") << QStringLiteral("POSTO002") << 8;
    }
    // Every entry opens in the main window as it stands: its network is offered for its card
    // type, its BINs pass the dialog's rules, at most one default network per type.
    void tabelas() {
        QFETCH(QString, empresa);
        QFETCH(int, qtd);
        const QString caminho = empresa.isEmpty() ? Caminhos::TabRotTodas(m_raiz)
                                                  : Caminhos::TabRotEmpresa(m_raiz, empresa);
        auto t = std::make_unique<TTabRot>();
        LimpaTabRot(*t);
        QVERIFY(LeTabRot(caminho, *t));
        QCOMPARE(int(t->Qtd), qtd);
        QSet<int> padroes;
        bool bloqueada = false;
        for (int i = 0; i < t->Qtd; ++i) {
            const TCartao &c = t->Cartoes[i];
            const QByteArray nome = CopiaCampoParaTexto(c.Nome, TamNome);
            const std::uint16_t mascara = MascaraDoTipo(c.Tipo);
            QVERIFY2(mascara != 0, nome.constData());
            const QByteArray rede = m_catalogo.NomeDaRede(c.CodRede);
            QVERIFY2(m_catalogo.RedesDoTipo(mascara).contains(rede), nome.constData());
            bloqueada |= c.CodRede == RedeBloqueada;
            if (c.Tipo >= TipoPadraoCombustivel) {
                QVERIFY(!padroes.contains(c.Tipo));
                padroes.insert(c.Tipo);
                QVERIFY(nome.isEmpty());
                QCOMPARE(int(c.QtdBins), 0);
                continue;
            }
            QVERIFY(!nome.isEmpty());
            QVERIFY(c.QtdBins >= 1 && c.QtdBins <= MaxBins);
            for (int j = 0; j < c.QtdBins; ++j) {
                const QByteArray bin = CopiaCampoParaTexto(c.Bins[j], TamBin);
                QVERIFY2(BinValido(bin), (nome + ": " + bin).constData());
            }
        }
        QVERIFY(!padroes.isEmpty());
        QVERIFY(bloqueada);
    }
};

QTEST_GUILESS_MAIN(TstDemo)
#include "tst_demo.moc"
