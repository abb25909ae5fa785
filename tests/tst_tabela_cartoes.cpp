// The card table of the window: a table loaded and turned back gives the bytes a save wrote,
// inclusion, alteration, deletion and reordering announce themselves, limits refuse at entry.

#include "instalacao_lote.h"
#include "routing/tabela_cartoes.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using lote::Cartao;

Q_DECLARE_METATYPE(QList<Cartao>)

namespace {

std::unique_ptr<TTabRot> Tabela(const QList<Cartao> &cartoes) {
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    if (!TabRotDosBytes(lote::Arquivo(cartoes), *t)) qFatal("bad table");
    return t;
}

QByteArray Salva(const TabelaCartoes &tabela) {
    auto t = std::make_unique<TTabRot>();
    QString recusa;
    if (!tabela.ParaTabRot(*t, recusa)) return recusa.toUtf8();
    return BytesDaTabRot(*t);
}

QStringList Nomes(const TabelaCartoes &tabela, TipoGrade tipo) {
    QStringList l;
    for (const TCartao &c : tabela.Cartoes(tipo))
        l << QString::fromLatin1(CopiaCampoParaTexto(c.Nome, TamNome));
    return l;
}

} // namespace

class TstTabelaCartoes : public QObject {
    Q_OBJECT
private slots:
    void carregaEGrava_data() {
        QTest::addColumn<QList<Cartao>>("arquivo");
        QTest::addColumn<QList<Cartao>>("gravado");
        const Cartao cred{"CRED", 20, TipoCredito, {"411111", "422222-422299"}};
        const Cartao deb{"DEB", 10, TipoDebito, {"500000"}};
        const Cartao comb{"COMB", 40, TipoCombustivel, {}};
        const Cartao padraoDeb{"", 10, TipoPadraoDebito, {}};
        const Cartao padraoCred{"", 0xFFFF, TipoPadraoCredito, {}};
        QTest::newRow("em ordem") << QList<Cartao>{padraoCred, padraoDeb, cred, deb, comb}
                                  << QList<Cartao>{padraoCred, padraoDeb, cred, deb, comb};
        // Defaults first, then credit, debit and fuel; nameless and unknown entries dropped.
        QTest::newRow("misturado") << QList<Cartao>{comb,      deb,
                                                    padraoDeb, {"", 20, TipoCredito, {"1"}},
                                                    cred,      {"OUTRO", 1, 7, {}},
                                                    padraoCred}
                                   << QList<Cartao>{padraoCred, padraoDeb, cred, deb, comb};
        QTest::newRow("vazia") << QList<Cartao>{} << QList<Cartao>{};
    }
    void carregaEGrava() {
        QFETCH(QList<Cartao>, arquivo);
        QFETCH(QList<Cartao>, gravado);
        TabelaCartoes tabela;
        tabela.Carrega(*Tabela(arquivo));
        QCOMPARE(Salva(tabela), lote::Arquivo(gravado));
    }

    void lixoDepoisDoNulNaoVaiAoArquivo() {
        auto t = Tabela({{"CRED", 20, TipoCredito, {"411111"}}});
        std::memcpy(t->Cartoes[0].Nome + 5, "lixo", 4);
        std::memcpy(t->Cartoes[0].Bins[0] + 7, "xy", 2);
        TabelaCartoes tabela;
        tabela.Carrega(*t);
        QCOMPARE(Salva(tabela), lote::Arquivo({{"CRED", 20, TipoCredito, {"411111"}}}));
    }

    void montaCartao_data() {
        QTest::addColumn<QByteArray>("nome");
        QTest::addColumn<QList<QByteArray>>("bins");
        QTest::addColumn<bool>("cabe");
        QList<QByteArray> vinte, vinteUm;
        for (int i = 0; i < 21; ++i)
            (i < 20 ? vinte : vinteUm) << QByteArray::number(500000 + i);
        vinteUm = vinte + vinteUm;
        QTest::newRow("vinte bins") << QByteArray("X") << vinte << true;
        QTest::newRow("21 bins") << QByteArray("X") << vinteUm << false;
        QTest::newRow("bin de 20")
            << QByteArray("X") << QList<QByteArray>{QByteArray(20, '1')} << true;
        QTest::newRow("bin de 21")
            << QByteArray("X") << QList<QByteArray>{QByteArray(21, '1')} << false;
        QTest::newRow("bin vazio") << QByteArray("X") << QList<QByteArray>{""} << false;
        QTest::newRow("nome de 30") << QByteArray(30, 'n') << QList<QByteArray>{} << true;
        QTest::newRow("nome de 31") << QByteArray(31, 'n') << QList<QByteArray>{} << false;
    }
    void montaCartao() {
        QFETCH(QByteArray, nome);
        QFETCH(QList<QByteArray>, bins);
        QFETCH(bool, cabe);
        const auto c = MontaCartao(TipoGrade::Debito, nome, 10, bins);
        QCOMPARE(c.has_value(), cabe);
        if (!c) return;
        QCOMPARE(c->Tipo, TipoDebito);
        QCOMPARE(BinsDoCartao(*c), bins);
        QCOMPARE(CopiaCampoParaTexto(c->Nome, TamNome), nome);
    }

    void edicoesAnunciadas() {
        TabelaCartoes tabela;
        tabela.Carrega(*Tabela({{"A", 20, TipoCredito, {}}, {"", 20, TipoCredito, {}}}));
        QSignalSpy incluido(&tabela, &TabelaCartoes::incluido);
        QSignalSpy alterado(&tabela, &TabelaCartoes::alterado);
        QSignalSpy excluido(&tabela, &TabelaCartoes::excluido);
        // The nameless entry takes the new card, the next one goes last.
        QVERIFY(tabela.Inclui(*MontaCartao(TipoGrade::Credito, "B", 20, {})));
        QCOMPARE(alterado.size(), 1);
        QVERIFY(tabela.Inclui(*MontaCartao(TipoGrade::Credito, "C", 20, {})));
        QCOMPARE(incluido.size(), 1);
        QCOMPARE(incluido[0][1].toInt(), 2);
        QCOMPARE(Nomes(tabela, TipoGrade::Credito), (QStringList{"A", "B", "C"}));
        QVERIFY(!tabela.Altera(TipoGrade::Credito, 0, *MontaCartao(TipoGrade::Debito, "D", 1, {})));
        QVERIFY(!tabela.Exclui(TipoGrade::Credito, 3));
        QVERIFY(tabela.Exclui(TipoGrade::Credito, 0));
        QCOMPARE(excluido.size(), 1);
        QVERIFY(!tabela.Reordena(TipoGrade::Credito, {0, 0}));
        QVERIFY(tabela.Reordena(TipoGrade::Credito, {1, 0}));
        QCOMPARE(Nomes(tabela, TipoGrade::Credito), (QStringList{"C", "B"}));
    }

    void limiteDeEntradas() {
        QList<Cartao> muitos{{"", 10, TipoPadraoDebito, {}}};
        for (int i = 0; i < MaxCartoes - 1; ++i)
            muitos.append({"C" + QByteArray::number(i), 20, TipoCredito, {}});
        TabelaCartoes tabela;
        tabela.Carrega(*Tabela(muitos));
        QCOMPARE(tabela.Entradas(), MaxCartoes);
        QVERIFY(!tabela.Inclui(*MontaCartao(TipoGrade::Debito, "N", 10, {})));
        tabela.DefineRedePadrao(TipoGrade::Credito, 20);
        QCOMPARE(Salva(tabela),
                 QStringLiteral("A configuração tem mais de 350 entradas e não pode ser gravada.")
                     .toUtf8());
    }

    void flagUmSinalPorMudanca() {
        TabelaCartoes tabela;
        QSignalSpy mudou(&tabela, &TabelaCartoes::alteradaMudou);
        tabela.DefineAlterada(true);
        tabela.DefineAlterada(true);
        tabela.Carrega(*Tabela({}));
        QVERIFY(tabela.Alterada());
        tabela.DefineAlterada(false);
        QCOMPARE(mudou.size(), 2);
    }

    void ordemDasChaves_data() {
        QTest::addColumn<QList<QByteArray>>("chaves");
        QTest::addColumn<QList<int>>("ordem");
        QTest::newRow("vazia") << QList<QByteArray>{} << QList<int>{};
        QTest::newRow("bytes") << QList<QByteArray>{"b", "B", "a", "ab", "\xe1"}
                               << QList<int>{1, 2, 3, 0, 4};
    }
    void ordemDasChaves() {
        QFETCH(QList<QByteArray>, chaves);
        QFETCH(QList<int>, ordem);
        QCOMPARE(OrdemDasChaves(chaves), ordem);
    }
};

QTEST_MAIN(TstTabelaCartoes)
#include "tst_tabela_cartoes.moc"
