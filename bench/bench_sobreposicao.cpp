// The overlap examination of full tables (350 cards of 20 BINs: 7000 entries, about one in a
// hundred overlapping another): 200 tables, the growth over 50, 200 and 800 tables, and within
// one table over 1750, 3500 and 7000 entries, beside the parse of the same tables from their
// bytes and a plain pairwise comparison of every two entries. Best of several rounds.

#include "routing/sobreposicao.h"
#include "routing/tabrot.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

double MelhorMs(int rodadas, const std::function<void()> &f) {
    double melhor = 1e300;
    f(); // warm-up
    for (int r = 0; r < rodadas; ++r) {
        QElapsedTimer t;
        t.start();
        f();
        melhor = std::min(melhor, double(t.nsecsElapsed()) / 1e6);
    }
    return melhor;
}

// Disjoint ranges and BINs of 6 to 9 digits over the card types, every hundredth entry placed on
// an earlier one of another card.
std::unique_ptr<TTabRot> TabelaCheia(quint32 semente, int cartoes) {
    QRandomGenerator aleatorio(semente);
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    std::vector<QByteArray> feitos;
    qint64 proximo = 400000;
    for (int i = 0; i < cartoes; ++i) {
        TCartao &c = t->Cartoes[t->Qtd++];
        CopiaTextoParaCampo("CARTAO " + QByteArray::number(i), c.Nome);
        c.CodRede = std::uint16_t(1 + aleatorio.bounded(6));
        c.Tipo = std::uint8_t(1 + i % 3);
        c.QtdBins = MaxBins;
        for (int j = 0; j < MaxBins; ++j) {
            QByteArray bin;
            if (!feitos.empty() && aleatorio.bounded(100) == 0) {
                bin = feitos[size_t(aleatorio.bounded(int(feitos.size())))];
            } else if (aleatorio.bounded(2)) {
                bin = QByteArray::number(proximo);
                proximo += 1 + aleatorio.bounded(3);
            } else {
                const qint64 fim = proximo + aleatorio.bounded(50);
                bin = QByteArray::number(proximo) + '-' + QByteArray::number(fim);
                proximo = fim + 1;
            }
            feitos.push_back(bin);
            CopiaTextoParaCampo(bin, c.Bins[j]);
        }
    }
    return t;
}

// Every two entries of a card type compared by the same rule: single BINs as texts, otherwise
// as numbers (the bench's entries have at most 9 digits).
qint64 ParAPar(const TTabRot &t) {
    struct E {
        qint64 de, ate;
        QByteArray unico;
        int tipo, rede;
    };
    std::vector<E> es;
    for (int i = 0; i < t.Qtd; ++i)
        for (const QByteArray &b : BinsDoCartao(t.Cartoes[i])) {
            const qsizetype h = b.indexOf('-');
            const QByteArray de = h > 0 ? b.left(h) : b, ate = h > 0 ? b.mid(h + 1) : b;
            es.push_back({de.toLongLong(), ate.toLongLong(), h > 0 ? QByteArray() : b,
                          t.Cartoes[i].Tipo, t.Cartoes[i].CodRede});
        }
    qint64 conflitos = 0;
    for (size_t x = 0; x < es.size(); ++x)
        for (size_t y = x + 1; y < es.size(); ++y)
            if (es[x].tipo == es[y].tipo && es[x].rede != es[y].rede &&
                (!es[x].unico.isEmpty() && !es[y].unico.isEmpty()
                     ? es[x].unico == es[y].unico
                     : std::max(es[x].de, es[y].de) <= std::min(es[x].ate, es[y].ate)))
                ++conflitos;
    return conflitos;
}

} // namespace

int main() {
    std::vector<std::unique_ptr<TTabRot>> tabelas;
    std::vector<QByteArray> bytes;
    for (int i = 0; i < 800; ++i) {
        tabelas.push_back(TabelaCheia(quint32(i + 1), MaxCartoes));
        bytes.push_back(BytesDaTabRot(*tabelas.back()));
    }
    const qint64 conflitos = ExaminaTabRot(*tabelas[0]).Total(TipoAchado::Conflito);
    if (conflitos != ParAPar(*tabelas[0])) {
        std::fprintf(stderr, "bench_sobreposicao: the sweep and the pairwise count differ\n");
        return 1;
    }
    const int rodadas = 5;
    auto lida = std::make_unique<TTabRot>();
    std::printf("full tables: 350 cards of 20 BINs (7000 entries); table 1 has %lld conflicts\n",
                static_cast<long long>(conflitos));
    std::printf("best of %d rounds, milliseconds\n", rodadas);
    std::printf("  tables   examination   parse of the bytes   examination per table\n");
    for (const int n : {50, 200, 800}) {
        const double exame = MelhorMs(rodadas, [&] {
            qint64 soma = 0;
            for (int i = 0; i < n; ++i)
                soma += ExaminaTabRot(*tabelas[size_t(i)]).achados.size();
            if (soma == 0) std::exit(1);
        });
        const double parse = MelhorMs(rodadas, [&] {
            for (int i = 0; i < n; ++i)
                if (!TabRotDosBytes(bytes[size_t(i)], *lida)) std::exit(1);
        });
        std::printf("  %6d   %11.1f   %18.1f   %21.3f\n", n, exame, parse, exame / n);
    }
    std::printf("one table, by entries: sweep against every two entries compared\n");
    std::printf("  entries        sweep     pairwise\n");
    for (const int cartoes : {87, 175, 350}) {
        const auto t = TabelaCheia(99, cartoes);
        const double varre = MelhorMs(rodadas, [&] { ExaminaTabRot(*t); });
        const double pares = MelhorMs(rodadas, [&] { ParAPar(*t); });
        std::printf("  %7d   %10.2f   %10.2f\n", cartoes * MaxBins, varre, pares);
    }
    return 0;
}
