#include "routing/tabela_cartoes.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

bool TemNome(const TCartao &c) {
    return c.Nome[0] != '\0';
}

bool Menor(const QByteArray &a, const QByteArray &b) {
    const qsizetype n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.constData(), b.constData(), size_t(n)) : 0;
    return c < 0 || (c == 0 && a.size() < b.size());
}

} // namespace

std::optional<TCartao> MontaCartao(TipoGrade tipo, const QByteArray &nome, std::uint16_t rede,
                                   const QList<QByteArray> &bins) {
    if (nome.size() >= TamNome || nome.contains('\0') || bins.size() > MaxBins) return std::nullopt;
    TCartao c;
    std::memset(&c, 0, sizeof c);
    CopiaTextoParaCampo(nome, c.Nome);
    c.CodRede = rede;
    c.Tipo = TipoDe(tipo).tipo;
    for (qsizetype j = 0; j < bins.size(); ++j) {
        const QByteArray &bin = bins[j];
        if (bin.isEmpty() || bin.size() > TamBinNoArquivo || bin.contains('\0'))
            return std::nullopt;
        CopiaTextoParaCampo(bin, c.Bins[j]);
    }
    c.QtdBins = std::uint8_t(bins.size());
    return c;
}

TCartao CartaoLimpo(const TCartao &cartao) {
    TCartao c;
    std::memset(&c, 0, sizeof c);
    CopiaTextoParaCampo(CopiaCampoParaTexto(cartao.Nome, TamNome), c.Nome);
    c.CodRede = cartao.CodRede;
    c.Tipo = cartao.Tipo;
    const QList<QByteArray> bins = BinsDoCartao(cartao);
    for (qsizetype j = 0; j < bins.size(); ++j)
        CopiaTextoParaCampo(bins[j], c.Bins[j]);
    c.QtdBins = std::uint8_t(bins.size());
    return c;
}

QList<int> OrdemDasChaves(QList<QByteArray> chaves) {
    QList<int> ordem(chaves.size());
    for (qsizetype i = 0; i < ordem.size(); ++i)
        ordem[i] = int(i);
    if (chaves.size() < 2) return ordem;
    std::function<void(int, int)> ordena = [&](int ini, int fim) {
        int i = ini, j = fim;
        const QByteArray pivo = chaves[(ini + fim) / 2];
        do {
            while (Menor(chaves[i], pivo))
                ++i;
            while (Menor(pivo, chaves[j]))
                --j;
            if (i <= j) {
                if (i != j) {
                    chaves.swapItemsAt(i, j);
                    ordem.swapItemsAt(i, j);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (ini < j) ordena(ini, j);
        if (i < fim) ordena(i, fim);
    };
    ordena(0, int(chaves.size()) - 1);
    return ordem;
}

TabelaCartoes::TabelaCartoes(QObject *pai) : QObject(pai) {}

int TabelaCartoes::Entradas() const {
    int n = 0;
    for (std::size_t t = 0; t < m_cartoes.size(); ++t) {
        if (m_padroes[t]) ++n;
        for (const TCartao &c : m_cartoes[t])
            if (TemNome(c)) ++n;
    }
    return n;
}

void TabelaCartoes::DefineAlterada(bool alterada) {
    if (m_alterada == alterada) return;
    m_alterada = alterada;
    emit alteradaMudou(alterada);
}

void TabelaCartoes::Carrega(const TTabRot &tabela) {
    emit aRecarregar();
    for (std::size_t t = 0; t < m_cartoes.size(); ++t) {
        m_cartoes[t].clear();
        m_padroes[t].reset();
    }
    const int qtd = qMin<int>(tabela.Qtd, MaxCartoes);
    for (int i = 0; i < qtd; ++i) {
        const TCartao &c = tabela.Cartoes[i];
        if (const auto tipo = TipoDoPadrao(c.Tipo)) {
            const std::uint16_t rede = c.CodRede; // packed: no reference to the field
            m_padroes[Indice(*tipo)] = rede;
        } else if (const auto tipo = TipoDoCartao(c.Tipo)) {
            m_cartoes[Indice(*tipo)].append(CartaoLimpo(c));
        }
    }
    emit recarregada();
    for (const TipoDeCartao &t : TiposDeCartao)
        emit padraoMudou(t.grade);
}

void TabelaCartoes::Limpa() {
    emit aRecarregar();
    for (std::size_t t = 0; t < m_cartoes.size(); ++t) {
        m_cartoes[t].clear();
        m_padroes[t].reset();
    }
    emit recarregada();
    for (const TipoDeCartao &t : TiposDeCartao)
        emit padraoMudou(t.grade);
}

bool TabelaCartoes::ParaTabRot(TTabRot &tabela, QString &recusa) const {
    if (Entradas() > MaxCartoes) {
        recusa = QStringLiteral("A configuração tem mais de %1 entradas e não pode ser gravada.")
                     .arg(MaxCartoes);
        return false;
    }
    LimpaTabRot(tabela);
    for (const TipoDeCartao &t : TiposDeCartao) {
        if (const auto rede = m_padroes[Indice(t.grade)]) {
            TCartao &c = tabela.Cartoes[tabela.Qtd++];
            c.CodRede = *rede;
            c.Tipo = t.tipoPadrao;
        }
    }
    for (const QList<TCartao> &cartoes : m_cartoes)
        for (const TCartao &c : cartoes)
            if (TemNome(c)) tabela.Cartoes[tabela.Qtd++] = c;
    return true;
}

void TabelaCartoes::DefineRedePadrao(TipoGrade tipo, std::optional<std::uint16_t> rede) {
    if (m_padroes[Indice(tipo)] == rede) return;
    m_padroes[Indice(tipo)] = rede;
    emit padraoMudou(tipo);
}

int TabelaCartoes::PosicaoDeInclusao(TipoGrade tipo) const {
    const QList<TCartao> &cartoes = m_cartoes[Indice(tipo)];
    for (qsizetype i = 0; i < cartoes.size(); ++i)
        if (!TemNome(cartoes[i])) return int(i);
    return int(cartoes.size());
}

bool TabelaCartoes::Inclui(const TCartao &cartao) {
    const auto tipo = TipoDoCartao(cartao.Tipo);
    if (!tipo || Entradas() >= MaxCartoes) return false;
    QList<TCartao> &cartoes = m_cartoes[Indice(*tipo)];
    const int posicao = PosicaoDeInclusao(*tipo);
    if (posicao < cartoes.size()) return Altera(*tipo, posicao, cartao);
    emit aIncluir(*tipo, posicao);
    cartoes.append(CartaoLimpo(cartao));
    emit incluido(*tipo, posicao);
    return true;
}

bool TabelaCartoes::Altera(TipoGrade tipo, int indice, const TCartao &cartao) {
    QList<TCartao> &cartoes = m_cartoes[Indice(tipo)];
    if (indice < 0 || indice >= cartoes.size() || cartao.Tipo != TipoDe(tipo).tipo) return false;
    cartoes[indice] = CartaoLimpo(cartao);
    emit alterado(tipo, indice);
    return true;
}

bool TabelaCartoes::Exclui(TipoGrade tipo, int indice) {
    QList<TCartao> &cartoes = m_cartoes[Indice(tipo)];
    if (indice < 0 || indice >= cartoes.size()) return false;
    emit aExcluir(tipo, indice);
    cartoes.removeAt(indice);
    emit excluido(tipo, indice);
    return true;
}

bool TabelaCartoes::Reordena(TipoGrade tipo, const QList<int> &ordem) {
    QList<TCartao> &cartoes = m_cartoes[Indice(tipo)];
    if (ordem.size() != cartoes.size()) return false;
    QList<bool> visto(cartoes.size(), false);
    for (int i : ordem) {
        if (i < 0 || i >= cartoes.size() || visto[i]) return false;
        visto[i] = true;
    }
    QList<TCartao> novos;
    novos.reserve(cartoes.size());
    for (int i : ordem)
        novos.append(cartoes[i]);
    cartoes = std::move(novos);
    emit reordenada(tipo);
    return true;
}

bool TabelaCartoes::SubstituiCartoes(TipoGrade tipo, int inicio, int quantos,
                                     const QList<TCartao> &novos) {
    QList<TCartao> &cartoes = m_cartoes[Indice(tipo)];
    if (inicio < 0 || quantos < 0 || quantos > cartoes.size() - inicio) return false;
    for (const TCartao &c : novos)
        if (c.Tipo != TipoDe(tipo).tipo) return false;
    const int comuns = std::min(quantos, int(novos.size()));
    for (int i = 0; i < comuns; ++i) {
        cartoes[inicio + i] = CartaoLimpo(novos[i]);
        emit alterado(tipo, inicio + i);
    }
    for (int i = comuns; i < quantos; ++i) {
        emit aExcluir(tipo, inicio + comuns);
        cartoes.removeAt(inicio + comuns);
        emit excluido(tipo, inicio + comuns);
    }
    for (int i = comuns; i < novos.size(); ++i) {
        emit aIncluir(tipo, inicio + i);
        cartoes.insert(inicio + i, CartaoLimpo(novos[i]));
        emit incluido(tipo, inicio + i);
    }
    return true;
}
