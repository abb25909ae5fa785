#include "routing/sobreposicao.h"

#include "env/redes.h"
#include "env/texto.h"
#include "routing/tipos_cartao.h"

#include <QSet>

#include <algorithm>
#include <compare>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// A bound or BIN as a point on the line of numbers. A BIN field holds 20 digits, which pass a
// 64-bit integer: the value is kept as two halves of ten digits. Single BINs of one value but
// other texts (0123456 and 123456) must not meet each other, yet both lie in a range that holds
// the value: the third part tells them apart by their leading zeros, and a range's bounds take in
// every such variant.
constexpr int Digitos = TamBin - 1;
constexpr std::uint8_t VarianteMin = 0, VarianteMax = 0xFF;
struct Chave {
    std::uint64_t alto = 0, baixo = 0;
    std::uint8_t variante = 0;
    auto operator<=>(const Chave &) const = default;
    bool MesmoValor(const Chave &o) const { return alto == o.alto && baixo == o.baixo; }
};

bool SoDigitos(const QByteArray &t) {
    if (t.isEmpty() || t.size() > Digitos) return false;
    for (const char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

Chave ChaveDe(const QByteArray &t, std::uint8_t variante) {
    Chave k;
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        // Digit i from the right belongs to the low half while it is among the last ten.
        std::uint64_t &metade = n - i > Digitos / 2 ? k.alto : k.baixo;
        metade = metade * 10 + std::uint64_t(t.at(i) - '0');
    }
    k.variante = variante;
    return k;
}

struct Item {
    Chave de, ate;
    int cartao = 0, bin = 0;
    int rede = 0; // dense index of the network among the card type's entries
};

enum class Forma { Comparavel, NaoNumerica, Invertida };

Forma LeEntrada(const QByteArray &texto, Item &item) {
    const LimitesEntrada l = LimitesDaEntrada(texto);
    if (!SoDigitos(l.de) || !SoDigitos(l.ate)) return Forma::NaoNumerica;
    if (l.faixa) {
        item.de = ChaveDe(l.de, VarianteMin);
        item.ate = ChaveDe(l.ate, VarianteMax);
        return item.de <= item.ate ? Forma::Comparavel : Forma::Invertida;
    }
    qsizetype esquerda = 0;
    while (esquerda < texto.size() && texto.at(esquerda) == '0')
        ++esquerda;
    item.de = item.ate = ChaveDe(texto, std::uint8_t(VarianteMin + 1 + esquerda));
    return Forma::Comparavel;
}

// The BINs two overlapping entries share, in the digits of the entries that bound them.
QByteArray EmComum(const Item &x, const QByteArray &textoX, const Item &y,
                   const QByteArray &textoY) {
    const LimitesEntrada lx = LimitesDaEntrada(textoX), ly = LimitesDaEntrada(textoY);
    const bool deX = x.de >= y.de, ateX = x.ate <= y.ate;
    const QByteArray &inicio = deX ? lx.de : ly.de, &fim = ateX ? lx.ate : ly.ate;
    const Chave &de = deX ? x.de : y.de, &ate = ateX ? x.ate : y.ate;
    return de.MesmoValor(ate) ? inicio : inicio + '-' + fim;
}

int IndiceTipo(std::uint8_t tipo) {
    return tipo - TipoCredito;
}

class Exame {
public:
    Exame(const TTabRot &tabela, ExameTabRot &resultado) : m_tabela(tabela), m_r(resultado) {}

    void Tipo(std::uint8_t tipo) {
        m_tipo = tipo;
        m_listados[0] = m_listados[1] = m_listados[2] = 0;
        std::vector<Item> itens;
        std::vector<std::uint16_t> redes;
        const int qtd = qMin<int>(m_tabela.Qtd, MaxCartoes);
        for (int i = 0; i < qtd; ++i) {
            const TCartao &c = m_tabela.Cartoes[i];
            if (c.Tipo != tipo) continue;
            const std::uint16_t rede = c.CodRede; // a packed field: copied, never referenced
            const QList<QByteArray> bins = BinsDoCartao(c);
            for (int j = 0; j < bins.size(); ++j) {
                Item item;
                item.cartao = i;
                item.bin = j;
                const Forma forma = LeEntrada(bins.at(j), item);
                if (forma != Forma::Comparavel) {
                    Incomparavel(item, forma == Forma::Invertida);
                    continue;
                }
                item.rede = rede; // made dense below
                itens.push_back(item);
                redes.push_back(rede);
            }
        }
        std::sort(redes.begin(), redes.end());
        redes.erase(std::unique(redes.begin(), redes.end()), redes.end());
        for (Item &item : itens)
            item.rede =
                int(std::lower_bound(redes.begin(), redes.end(), item.rede) - redes.begin());
        Varre(itens, redes.size());
    }

private:
    void Varre(std::vector<Item> &itens, size_t qtdRedes) {
        std::sort(itens.begin(), itens.end(), [](const Item &x, const Item &y) {
            if (x.de != y.de) return x.de < y.de;
            if (x.ate != y.ate) return x.ate < y.ate;
            return std::pair(x.cartao, x.bin) < std::pair(y.cartao, y.bin);
        });
        // The entries that began before the current one and have not ended, the first to end on
        // top; each of them overlaps the current entry.
        std::vector<int> ativos;
        auto terminaAntes = [&](int p, int q) {
            return itens[size_t(q)].ate < itens[size_t(p)].ate;
        };
        std::vector<qint64> ativosDaRede(qtdRedes, 0);
        qint64 *contagem = m_r.contagem[IndiceTipo(m_tipo)];
        for (size_t n = 0; n < itens.size(); ++n) {
            const Item &x = itens[n];
            while (!ativos.empty() && itens[size_t(ativos.front())].ate < x.de) {
                --ativosDaRede[size_t(itens[size_t(ativos.front())].rede)];
                std::pop_heap(ativos.begin(), ativos.end(), terminaAntes);
                ativos.pop_back();
            }
            const qint64 mesmaRede = ativosDaRede[size_t(x.rede)];
            const qint64 outraRede = qint64(ativos.size()) - mesmaRede;
            contagem[int(TipoAchado::Conflito)] += outraRede;
            contagem[int(TipoAchado::Redundancia)] += mesmaRede;
            // Each walk lists at least one finding, so the walks are bounded by the listing limit.
            if ((outraRede > 0 && Cabe(TipoAchado::Conflito)) ||
                (mesmaRede > 0 && Cabe(TipoAchado::Redundancia)))
                for (const int a : ativos)
                    Sobreposicao(itens[size_t(a)], x);
            ativos.push_back(int(n));
            std::push_heap(ativos.begin(), ativos.end(), terminaAntes);
            ++ativosDaRede[size_t(x.rede)];
        }
    }

    bool Cabe(TipoAchado tipo) const { return m_listados[int(tipo)] < MaxAchadosListados; }

    EntradaAchado Entrada(int cartao, int bin) const {
        const TCartao &c = m_tabela.Cartoes[cartao];
        return {cartao, bin, CopiaCampoParaTexto(c.Nome, TamNome), c.CodRede,
                CopiaCampoParaTexto(c.Bins[bin], TamBin)};
    }

    void Lista(Achado &&achado) {
        ++m_listados[int(achado.tipo)];
        achado.tipoCartao = m_tipo;
        m_r.achados.append(std::move(achado));
    }

    void Sobreposicao(const Item &x, const Item &y) {
        const bool mesmaRede = x.rede == y.rede;
        const TipoAchado tipo = mesmaRede ? TipoAchado::Redundancia : TipoAchado::Conflito;
        if (!Cabe(tipo)) return;
        const bool xAntes = std::pair(x.cartao, x.bin) < std::pair(y.cartao, y.bin);
        const Item &p = xAntes ? x : y, &q = xAntes ? y : x;
        Achado achado;
        achado.tipo = tipo;
        achado.a = Entrada(p.cartao, p.bin);
        achado.b = Entrada(q.cartao, q.bin);
        achado.emComum = EmComum(p, achado.a.texto, q, achado.b.texto);
        Lista(std::move(achado));
    }

    void Incomparavel(const Item &item, bool invertido) {
        ++m_r.contagem[IndiceTipo(m_tipo)][int(TipoAchado::Incomparavel)];
        if (!Cabe(TipoAchado::Incomparavel)) return;
        Achado achado;
        achado.tipo = TipoAchado::Incomparavel;
        achado.a = Entrada(item.cartao, item.bin);
        achado.invertido = invertido;
        Lista(std::move(achado));
    }

    const TTabRot &m_tabela;
    ExameTabRot &m_r;
    std::uint8_t m_tipo = TipoCredito;
    int m_listados[3] = {};
};

QByteArray Plural(qint64 n, const char *um, const char *varios) {
    return QByteArray::number(n) + ' ' + cp1252(n == 1 ? um : varios);
}

} // namespace

qint64 ExameTabRot::Total(TipoAchado tipo) const {
    return contagem[0][int(tipo)] + contagem[1][int(tipo)] + contagem[2][int(tipo)];
}

qint64 ExameTabRot::NaoListados() const {
    qint64 total = 0;
    for (const auto &porTipo : contagem)
        for (const qint64 n : porTipo)
            total += n;
    return total - achados.size();
}

ExameTabRot ExaminaTabRot(const TTabRot &tabela) {
    ExameTabRot r;
    Exame exame(tabela, r);
    for (const std::uint8_t tipo : {TipoCredito, TipoDebito, TipoCombustivel})
        exame.Tipo(tipo);
    std::stable_sort(r.achados.begin(), r.achados.end(), [](const Achado &x, const Achado &y) {
        auto chave = [](const Achado &a) {
            return std::tuple(a.tipoCartao, a.tipo, a.a.cartao, a.a.bin, a.b.cartao, a.b.bin);
        };
        return chave(x) < chave(y);
    });
    return r;
}

namespace {
QByteArray ChaveConflito(const Achado &a) {
    auto entrada = [](const EntradaAchado &e) {
        return e.nome + '\0' + QByteArray::number(e.rede) + '\0' + e.texto;
    };
    QByteArray x = entrada(a.a), y = entrada(a.b);
    if (y < x) std::swap(x, y);
    return QByteArray::number(a.tipoCartao) + '\0' + x + '\0' + '\0' + y;
}
} // namespace

QList<Achado> ConflitosNovos(const ExameTabRot &antigo, const ExameTabRot &novo) {
    QSet<QByteArray> havia;
    for (const Achado &a : antigo.achados)
        if (a.tipo == TipoAchado::Conflito) havia.insert(ChaveConflito(a));
    QList<Achado> novos;
    for (const Achado &a : novo.achados)
        if (a.tipo == TipoAchado::Conflito && !havia.contains(ChaveConflito(a))) novos.append(a);
    return novos;
}

QList<Achado> ConflitosNovosNoArquivo(const QString &caminho, const TTabRot &tabela) {
    const auto disco = std::make_unique<TTabRot>();
    LimpaTabRot(*disco);
    if (!LeTabRotSemTrace(caminho, *disco)) disco->Qtd = 0;
    return ConflitosNovos(ExaminaTabRot(*disco), ExaminaTabRot(tabela));
}

QByteArray NomeTipoCartao(std::uint8_t tipo) {
    const auto t = TipoDoCartao(tipo);
    return t ? cp1252(TipoDe(*t).titulo) : QByteArray::number(tipo);
}

QByteArray RedeNumerada(std::uint16_t rede) {
    return rede == RedeBloqueada ? NomeRedeBloqueada : "rede " + QByteArray::number(rede);
}

QByteArray LinhaAchado(const QByteArray &tabela, const Achado &achado,
                       const NomeRedeAchado &nomeRede) {
    auto cartao = [&](const EntradaAchado &e) {
        return cp1252("cartão ") + e.nome + " (" + nomeRede(e.rede) + ")";
    };
    QByteArray linha = tabela + ", " + NomeTipoCartao(achado.tipoCartao) + ": ";
    const EntradaAchado &a = achado.a, &b = achado.b;
    switch (achado.tipo) {
    case TipoAchado::Conflito:
    case TipoAchado::Redundancia:
        linha += cp1252(achado.tipo == TipoAchado::Conflito ? "conflito: " : "redundância: ");
        if (a.cartao == b.cartao)
            linha += cartao(a) + ", bins " + a.texto + " e " + b.texto;
        else
            linha += cartao(a) + ", bin " + a.texto + ", e " + cartao(b) + ", bin " + b.texto;
        linha += ", em comum " + achado.emComum;
        break;
    case TipoAchado::Incomparavel:
        linha += cp1252("bin não comparável: ") + cartao(a) + ", bin " + a.texto +
                 (achado.invertido ? ", limite inferior acima do superior"
                                   : cp1252(", limites que não são números"));
        break;
    }
    return linha;
}

QList<QByteArray> LinhasExame(const QByteArray &tabela, const ExameTabRot &exame,
                              const NomeRedeAchado &nomeRede) {
    QList<QByteArray> linhas;
    for (const Achado &achado : exame.achados)
        linhas.append(LinhaAchado(tabela, achado, nomeRede));
    if (exame.NaoListados() == 0) return linhas;
    for (const std::uint8_t tipo : {TipoCredito, TipoDebito, TipoCombustivel}) {
        qint64 listados[3] = {};
        for (const Achado &achado : exame.achados)
            if (achado.tipoCartao == tipo) ++listados[int(achado.tipo)];
        const qint64 *contagem = exame.contagem[IndiceTipo(tipo)];
        static const char *const nomes[3][2] = {
            {"conflito não listado", "conflitos não listados"},
            {"redundância não listada", "redundâncias não listadas"},
            {"bin não comparável não listado", "bins não comparáveis não listados"}};
        for (int k = 0; k < 3; ++k)
            if (const qint64 resto = contagem[k] - listados[k])
                linhas.append(tabela + ", " + NomeTipoCartao(tipo) + ": mais " +
                              Plural(resto, nomes[k][0], nomes[k][1]));
    }
    return linhas;
}
