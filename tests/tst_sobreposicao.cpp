// BINs that two entries of one card type cover: the report lines of tables built for each kind
// of finding, the counts of a table too big to list, and the sweep against a plain pairwise
// comparison of random tables.

#include "instalacao_lote.h"

#include "routing/sobreposicao.h"

#include <QRandomGenerator>
#include <QtTest>

#include <memory>

using lote::Cartao;
using lote::W;

namespace {

std::unique_ptr<TTabRot> Tabela(const QList<Cartao> &cartoes) {
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    if (!TabRotDosBytes(lote::Arquivo(cartoes), *t)) qFatal("tabela de teste");
    return t;
}

QList<QByteArray> Linhas(const QList<Cartao> &cartoes) {
    return LinhasExame("TODAS", ExaminaTabRot(*Tabela(cartoes)));
}

} // namespace

class TstSobreposicao : public QObject {
    Q_OBJECT

private slots:
    void linhas_data() {
        QTest::addColumn<QList<Cartao>>("cartoes");
        QTest::addColumn<QList<QByteArray>>("esperadas");
        const QByteArray c = W("TODAS, Crédito: ");
        QList<QByteArray> vinte;
        for (int i = 0; i < 20; ++i)
            vinte.append(QByteArray::number(500000 + i * 10) + "-" +
                         QByteArray::number(500000 + i * 10 + 9));

        QTest::newRow("tabela vazia") << QList<Cartao>{} << QList<QByteArray>{};
        QTest::newRow("mesmo bin, outra rede")
            << QList<Cartao>{{"ALFA", 5, 1, {"411111"}}, {"BETA", 7, 1, {"411111"}}}
            << QList<QByteArray>{c + W("conflito: cartão ALFA (rede 5), bin 411111, e cartão BETA "
                                       "(rede 7), bin 411111, em comum 411111")};
        QTest::newRow("bin na faixa, mesma rede")
            << QList<Cartao>{{"ALFA", 5, 1, {"400000-499999"}}, {"GAMA", 5, 1, {"411111"}}}
            << QList<QByteArray>{c + W("redundância: cartão ALFA (rede 5), bin 400000-499999, e "
                                       "cartão GAMA (rede 5), bin 411111, em comum 411111")};
        QTest::newRow("faixas que se cruzam, bloqueada")
            << QList<Cartao>{{"ALFA", 5, 1, {"123450-123600"}}, {"B", 65535, 1, {"123400-123500"}}}
            << QList<QByteArray>{c + W("conflito: cartão ALFA (rede 5), bin 123450-123600, e "
                                       "cartão B (Bloqueada), bin 123400-123500, em comum "
                                       "123450-123500")};
        QTest::newRow("faixas que se tocam numa ponta")
            << QList<Cartao>{{"A", 5, 2, {"400099-400199"}}, {"B", 7, 2, {"400000-400099"}}}
            << QList<QByteArray>{W("TODAS, Débito: conflito: cartão A (rede 5), bin 400099-400199, "
                                   "e cartão B (rede 7), bin 400000-400099, em comum 400099")};
        QTest::newRow("faixas vizinhas, tipos diferentes")
            << QList<Cartao>{{"A", 5, 1, {"400000-400099"}},
                             {"B", 7, 1, {"400100-400199"}},
                             {"C", 7, 3, {"400000-400099"}}}
            << QList<QByteArray>{};
        // Against a range a BIN is its number, whatever its digits; two single BINs are texts.
        QTest::newRow("comprimentos diferentes")
            << QList<Cartao>{{"A", 5, 1, {"123456-1234567"}},
                             {"B", 7, 1, {"0123456", "999999", "1234568", "4111115"}},
                             {"C", 5, 1, {"123456", "411111"}}}
            << QList<QByteArray>{c + W("conflito: cartão A (rede 5), bin 123456-1234567, e cartão "
                                       "B (rede 7), bin 0123456, em comum 0123456"),
                                 c + W("conflito: cartão A (rede 5), bin 123456-1234567, e cartão "
                                       "B (rede 7), bin 999999, em comum 999999"),
                                 c + W("redundância: cartão A (rede 5), bin 123456-1234567, e "
                                       "cartão C (rede 5), bin 123456, em comum 123456"),
                                 c + W("redundância: cartão A (rede 5), bin 123456-1234567, e "
                                       "cartão C (rede 5), bin 411111, em comum 411111")};
        QTest::newRow("faixas de comprimentos diferentes")
            << QList<Cartao>{{"A", 5, 1, {"123456-1234567"}},
                             {"B", 7, 1, {"1234565-99999999", "012345-123455"}}}
            << QList<QByteArray>{c + W("conflito: cartão A (rede 5), bin 123456-1234567, e cartão "
                                       "B (rede 7), bin 1234565-99999999, em comum "
                                       "1234565-1234567")};
        // A BIN field holds 20 digits; 2^64 has 20, and wrapped it would fall in A's range.
        QTest::newRow("além de 64 bits")
            << QList<Cartao>{{"A", 5, 1, {"1-999999999999999999"}},
                             {"B", 7, 1, {"999999999999999999", "18446744073709551617"}},
                             {"C", 5, 1, {"18446744073709551617"}}}
            << QList<QByteArray>{c + W("conflito: cartão A (rede 5), bin 1-999999999999999999, e "
                                       "cartão B (rede 7), bin 999999999999999999, em comum "
                                       "999999999999999999"),
                                 c + W("conflito: cartão B (rede 7), bin 18446744073709551617, e "
                                       "cartão C (rede 5), bin 18446744073709551617, em comum "
                                       "18446744073709551617")};
        QTest::newRow("dentro de um cartão")
            << QList<Cartao>{{"A", 5, 1, {"411111", "400000-499999", "411111"}}}
            << QList<QByteArray>{
                   c + W("redundância: cartão A (rede 5), bins 411111 e 400000-499999, em comum "
                         "411111"),
                   c + W("redundância: cartão A (rede 5), bins 411111 e 411111, em comum 411111"),
                   c + W("redundância: cartão A (rede 5), bins 400000-499999 e 411111, em comum "
                         "411111")};
        QTest::newRow("não comparáveis")
            << QList<Cartao>{{"A",
                              5,
                              3,
                              {"12345A-123499", "123456-", "-123456", "123456-12-456",
                               "400099-400000", "400000-400099"}},
                             {"B", 7, 3, {"123456"}}}
            << QList<QByteArray>{
                   W("TODAS, Combustível: bin não comparável: cartão A (rede 5), bin "
                     "12345A-123499, limites que não são números"),
                   W("TODAS, Combustível: bin não comparável: cartão A (rede 5), bin 123456-, "
                     "limites que não são números"),
                   W("TODAS, Combustível: bin não comparável: cartão A (rede 5), bin -123456, "
                     "limites que não são números"),
                   W("TODAS, Combustível: bin não comparável: cartão A (rede 5), bin "
                     "123456-12-456, limites que não são números"),
                   W("TODAS, Combustível: bin não comparável: cartão A (rede 5), bin "
                     "400099-400000, limite inferior acima do superior")};
        QTest::newRow("cartões de 20 bins, padrão e ordem")
            << QList<Cartao>{{"", 9, 255, {}},        {"D", 5, 2, {"422222"}},
                             {"E", 5, 2, {"422222"}}, {"A", 5, 1, vinte},
                             {"F", 6, 2, {"422222"}}, {"B", 7, 1, {"500190", "600000"}}}
            << QList<QByteArray>{
                   c + W("conflito: cartão A (rede 5), bin 500190-500199, e cartão B (rede 7), "
                         "bin 500190, em comum 500190"),
                   W("TODAS, Débito: conflito: cartão D (rede 5), bin 422222, e cartão F (rede 6), "
                     "bin 422222, em comum 422222"),
                   W("TODAS, Débito: conflito: cartão E (rede 5), bin 422222, e cartão F (rede 6), "
                     "bin 422222, em comum 422222"),
                   W("TODAS, Débito: redundância: cartão D (rede 5), bin 422222, e cartão E (rede "
                     "5), bin 422222, em comum 422222")};
    }
    void linhas() {
        QFETCH(QList<Cartao>, cartoes);
        QFETCH(QList<QByteArray>, esperadas);
        QCOMPARE(Linhas(cartoes), esperadas);
    }

    // What a save would add: found by cards and entries, not by their places in the table.
    void conflitos_novos_data() {
        QTest::addColumn<QList<Cartao>>("disco");
        QTest::addColumn<QList<Cartao>>("tela");
        QTest::addColumn<QList<QByteArray>>("novos");
        const Cartao a{"A", 5, 1, {"411111"}}, b{"B", 7, 1, {"400000-499999"}}, c{"C", 7, 1, {}};
        QTest::newRow("o mesmo, em outra ordem")
            << QList<Cartao>{a, b} << QList<Cartao>{c, b, a} << QList<QByteArray>{};
        QTest::newRow("um novo")
            << QList<Cartao>{a, b} << QList<Cartao>{a, b, {"D", 9, 1, {"411111"}}}
            << QList<QByteArray>{W("TODAS, Crédito: conflito: cartão A (rede 5), bin 411111, e "
                                   "cartão D (rede 9), bin 411111, em comum 411111"),
                                 W("TODAS, Crédito: conflito: cartão B (rede 7), bin "
                                   "400000-499999, e cartão D (rede 9), bin 411111, em comum "
                                   "411111")};
        QTest::newRow("outra rede, outro conflito")
            << QList<Cartao>{a, b} << QList<Cartao>{{"A", 6, 1, {"411111"}}, b}
            << QList<QByteArray>{W("TODAS, Crédito: conflito: cartão A (rede 6), bin 411111, e "
                                   "cartão B (rede 7), bin 400000-499999, em comum 411111")};
        QTest::newRow("de crédito para débito")
            << QList<Cartao>{a, b} << QList<Cartao>{{"A", 5, 2, {"411111"}}, {"B", 7, 2, b.bins}}
            << QList<QByteArray>{W("TODAS, Débito: conflito: cartão A (rede 5), bin 411111, e "
                                   "cartão B (rede 7), bin 400000-499999, em comum 411111")};
    }
    void conflitos_novos() {
        QFETCH(QList<Cartao>, disco);
        QFETCH(QList<Cartao>, tela);
        QFETCH(QList<QByteArray>, novos);
        QList<QByteArray> linhas;
        for (const Achado &a :
             ConflitosNovos(ExaminaTabRot(*Tabela(disco)), ExaminaTabRot(*Tabela(tela))))
            linhas.append(LinhaAchado("TODAS", a));
        QCOMPARE(linhas, novos);
    }

    // 350 cards of 20 copies of one range: 24 million overlapping pairs, counted, 200 listed.
    void tabela_cheia_contada() {
        QList<Cartao> cartoes;
        for (int i = 0; i < MaxCartoes; ++i)
            cartoes.append({"C" + QByteArray::number(i), std::uint16_t(i % 2), 1,
                            QList<QByteArray>(MaxBins, "400000-499999")});
        const ExameTabRot exame = ExaminaTabRot(*Tabela(cartoes));
        QCOMPARE(exame.Total(TipoAchado::Conflito), 3500LL * 3500);
        QCOMPARE(exame.Total(TipoAchado::Redundancia), 3500LL * 3499);
        QCOMPARE(exame.achados.size(), 2 * MaxAchadosListados);
        const QList<QByteArray> linhas = LinhasExame("TODAS", exame);
        QCOMPARE(linhas.mid(linhas.size() - 2),
                 (QList<QByteArray>{W("TODAS, Crédito: mais 12249800 conflitos não listados"),
                                    W("TODAS, Crédito: mais 12246300 redundâncias não listadas")}));
    }

    // Random short ranges and BINs of 6 to 9 digits, leading zeros and all: every pair the plain
    // comparison finds is listed with its kind, and nothing else is.
    void como_a_comparacao_par_a_par() {
        QRandomGenerator aleatorio(16);
        for (int rodada = 0; rodada < 40; ++rodada) {
            QList<Cartao> cartoes;
            for (int i = 0; i < 12; ++i) {
                Cartao c{"C" + QByteArray::number(i), std::uint16_t(aleatorio.bounded(3)), 1, {}};
                for (int j = aleatorio.bounded(1, 6); j > 0; --j) {
                    const int largura = aleatorio.bounded(6, 10);
                    const QByteArray de =
                        QByteArray::number(aleatorio.bounded(40)).rightJustified(largura, '0');
                    c.bins.append(aleatorio.bounded(2)
                                      ? de
                                      : de + '-' +
                                            QByteArray::number(de.toInt() + aleatorio.bounded(9))
                                                .rightJustified(aleatorio.bounded(6, 10), '0'));
                }
                cartoes.append(c);
            }
            struct E {
                qint64 de, ate;
                QByteArray unico; // a single BIN's text
                int cartao, bin;
                std::uint16_t rede;
            };
            QList<E> es;
            for (int i = 0; i < cartoes.size(); ++i)
                for (int j = 0; j < cartoes[i].bins.size(); ++j) {
                    const QByteArray &t = cartoes[i].bins[j];
                    const QList<QByteArray> p = t.split('-');
                    if (p.first().toLongLong() <= p.last().toLongLong())
                        es.append({p.first().toLongLong(), p.last().toLongLong(),
                                   p.size() == 1 ? t : QByteArray(), i, j, cartoes[i].rede});
                }
            QSet<QByteArray> esperados;
            for (int x = 0; x < es.size(); ++x)
                for (int y = x + 1; y < es.size(); ++y)
                    if (!es[x].unico.isEmpty() && !es[y].unico.isEmpty()
                            ? es[x].unico == es[y].unico
                            : qMax(es[x].de, es[y].de) <= qMin(es[x].ate, es[y].ate))
                        esperados.insert(QByteArray::number(es[x].rede != es[y].rede) + ' ' +
                                         QByteArray::number(es[x].cartao * 100 + es[x].bin) + ' ' +
                                         QByteArray::number(es[y].cartao * 100 + es[y].bin));
            QSet<QByteArray> achados;
            const ExameTabRot exame = ExaminaTabRot(*Tabela(cartoes));
            for (const Achado &a : exame.achados)
                if (a.tipo != TipoAchado::Incomparavel)
                    achados.insert(QByteArray::number(a.tipo == TipoAchado::Conflito) + ' ' +
                                   QByteArray::number(a.a.cartao * 100 + a.a.bin) + ' ' +
                                   QByteArray::number(a.b.cartao * 100 + a.b.bin));
            QCOMPARE(achados, esperados);
            QCOMPARE(exame.NaoListados(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TstSobreposicao)
#include "tst_sobreposicao.moc"
