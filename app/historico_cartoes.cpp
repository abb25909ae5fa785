#include "app/historico_cartoes.h"

#include <QScopedValueRollback>
#include <QUndoCommand>

#include <algorithm>
#include <cstring>

namespace {

// The table keeps its cards cleaned: the bytes say whether two are the same.
bool Iguais(const TCartao &a, const TCartao &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The rows of one card type an edit replaced, from the first to the last that differ.
struct Trecho {
    TipoGrade tipo;
    int inicio;
    QList<TCartao> antes;
    QList<TCartao> depois;
};

std::optional<Trecho> Diferenca(TipoGrade tipo, const QList<TCartao> &antes,
                                const QList<TCartao> &depois) {
    if (antes.size() == depois.size() && antes.constData() == depois.constData())
        return std::nullopt;
    const qsizetype menor = std::min(antes.size(), depois.size());
    qsizetype inicio = 0;
    while (inicio < menor && Iguais(antes[inicio], depois[inicio]))
        ++inicio;
    if (inicio == antes.size() && inicio == depois.size()) return std::nullopt;
    qsizetype fim = 0;
    while (fim < menor - inicio &&
           Iguais(antes[antes.size() - 1 - fim], depois[depois.size() - 1 - fim]))
        ++fim;
    return Trecho{tipo, int(inicio), antes.mid(inicio, antes.size() - inicio - fim),
                  depois.mid(inicio, depois.size() - inicio - fim)};
}

using Padroes = std::array<std::optional<std::uint16_t>, 3>;

class Edicao : public QUndoCommand {
public:
    Edicao(TabelaCartoes &tabela, QList<Trecho> trechos, const Padroes &antes,
           const Padroes &depois)
        : m_tabela(tabela), m_trechos(std::move(trechos)), m_antes(antes), m_depois(depois) {}

    void undo() override {
        for (const Trecho &t : std::as_const(m_trechos))
            m_tabela.SubstituiCartoes(t.tipo, t.inicio, int(t.depois.size()), t.antes);
        for (const TipoDeCartao &t : TiposDeCartao)
            m_tabela.DefineRedePadrao(t.grade, m_antes[Indice(t.grade)]);
    }
    void redo() override {
        // The stack redoes what it is given; the first time, the edit is already made.
        if (m_feita) {
            m_feita = false;
            return;
        }
        for (const Trecho &t : std::as_const(m_trechos))
            m_tabela.SubstituiCartoes(t.tipo, t.inicio, int(t.antes.size()), t.depois);
        for (const TipoDeCartao &t : TiposDeCartao)
            m_tabela.DefineRedePadrao(t.grade, m_depois[Indice(t.grade)]);
    }

private:
    TabelaCartoes &m_tabela;
    const QList<Trecho> m_trechos;
    const Padroes m_antes;
    const Padroes m_depois;
    bool m_feita = true;
};

} // namespace

HistoricoCartoes::HistoricoCartoes(TabelaCartoes &tabela, QObject *pai)
    : QObject(pai), m_tabela(tabela), m_atual(EstadoAtual()) {
    connect(&m_pilha, &QUndoStack::canUndoChanged, this, &HistoricoCartoes::podeDesfazerMudou);
    connect(&m_pilha, &QUndoStack::canRedoChanged, this, &HistoricoCartoes::podeRefazerMudou);
    // A load replaces the whole table: nothing before it can be undone.
    connect(&tabela, &TabelaCartoes::recarregada, this, &HistoricoCartoes::Limpa);
    for (auto sinal :
         {&TabelaCartoes::incluido, &TabelaCartoes::alterado, &TabelaCartoes::excluido})
        connect(&tabela, sinal, this, &HistoricoCartoes::Registra);
    connect(&tabela, &TabelaCartoes::reordenada, this, &HistoricoCartoes::Registra);
    connect(&tabela, &TabelaCartoes::padraoMudou, this, &HistoricoCartoes::Registra);
}

HistoricoCartoes::Estado HistoricoCartoes::EstadoAtual() const {
    Estado e;
    for (const TipoDeCartao &t : TiposDeCartao) {
        e.cartoes[Indice(t.grade)] = m_tabela.Cartoes(t.grade);
        e.padroes[Indice(t.grade)] = m_tabela.RedePadrao(t.grade);
    }
    return e;
}

void HistoricoCartoes::Limpa() {
    m_pilha.clear();
    m_atual = EstadoAtual();
}

void HistoricoCartoes::Registra() {
    if (m_aplicando) return;
    Estado novo = EstadoAtual();
    QList<Trecho> trechos;
    for (const TipoDeCartao &t : TiposDeCartao) {
        const std::size_t i = Indice(t.grade);
        if (auto d = Diferenca(t.grade, m_atual.cartoes[i], novo.cartoes[i]))
            trechos.append(std::move(*d));
    }
    // A sort that leaves the order as it was is no step.
    if (trechos.isEmpty() && novo.padroes == m_atual.padroes) return;
    m_pilha.push(new Edicao(m_tabela, std::move(trechos), m_atual.padroes, novo.padroes));
    m_atual = std::move(novo);
}

void HistoricoCartoes::Desfaz() {
    if (m_pilha.canUndo()) Aplica(true);
}

void HistoricoCartoes::Refaz() {
    if (m_pilha.canRedo()) Aplica(false);
}

void HistoricoCartoes::Aplica(bool desfazer) {
    {
        const QScopedValueRollback aplicando(m_aplicando, true);
        if (desfazer)
            m_pilha.undo();
        else
            m_pilha.redo();
        emit restaurada();
    }
    m_atual = EstadoAtual();
    m_tabela.DefineAlterada(!m_pilha.isClean());
}
