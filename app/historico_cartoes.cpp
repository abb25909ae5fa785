#include "app/historico_cartoes.h"

#include "env/texto.h"

#include <QAction>
#include <QScopedValueRollback>

namespace {

// The step's name as the menu shows it: an "&" in a card's name is no shortcut key.
QString NomeDoPasso(const char *acao, const TCartao &cartao) {
    QString nome = DeCp1252(CopiaCampoParaTexto(cartao.Nome, TamNome)).trimmed();
    nome.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QString::fromUtf8(acao) + nome;
}

QList<TCartao> CartaoEm(const TabelaCartoes &tabela, TipoGrade tipo, int indice) {
    const QList<TCartao> &cartoes = tabela.Cartoes(tipo);
    if (indice < 0 || indice >= cartoes.size()) return {};
    return {cartoes[indice]};
}

} // namespace

PassoTrecho::PassoTrecho(const QString &nome, TabelaCartoes &tabela, TipoGrade tipo, int inicio,
                         QList<TCartao> antes, QList<TCartao> depois)
    : QUndoCommand(nome), m_tabela(tabela), m_tipo(tipo), m_inicio(inicio),
      m_antes(std::move(antes)), m_depois(std::move(depois)) {}

void PassoTrecho::undo() {
    m_tabela.SubstituiCartoes(m_tipo, m_inicio, int(m_depois.size()), m_antes);
}

void PassoTrecho::redo() {
    m_tabela.SubstituiCartoes(m_tipo, m_inicio, int(m_antes.size()), m_depois);
}

PassoInclusao::PassoInclusao(TabelaCartoes &tabela, TipoGrade tipo, const TCartao &cartao)
    : PassoTrecho(NomeDoPasso("inclusão de ", cartao), tabela, tipo, tabela.PosicaoDeInclusao(tipo),
                  CartaoEm(tabela, tipo, tabela.PosicaoDeInclusao(tipo)), {CartaoLimpo(cartao)}) {}

PassoAlteracao::PassoAlteracao(TabelaCartoes &tabela, TipoGrade tipo, int indice,
                               const TCartao &cartao)
    : PassoTrecho(NomeDoPasso("alteração de ", cartao), tabela, tipo, indice,
                  CartaoEm(tabela, tipo, indice), {CartaoLimpo(cartao)}) {}

PassoExclusao::PassoExclusao(TabelaCartoes &tabela, TipoGrade tipo, int indice)
    : PassoTrecho(NomeDoPasso("exclusão de ", tabela.Cartoes(tipo).value(indice)), tabela, tipo,
                  indice, CartaoEm(tabela, tipo, indice), {}) {}

PassoOrdenacao::PassoOrdenacao(TabelaCartoes &tabela, TipoGrade tipo, QList<int> ordem)
    : QUndoCommand(QStringLiteral("ordenação")), m_tabela(tabela), m_tipo(tipo),
      m_ordem(std::move(ordem)), m_inversa(m_ordem.size()) {
    for (qsizetype i = 0; i < m_ordem.size(); ++i)
        m_inversa[m_ordem[i]] = int(i);
}

void PassoOrdenacao::undo() {
    m_tabela.Reordena(m_tipo, m_inversa);
}

void PassoOrdenacao::redo() {
    m_tabela.Reordena(m_tipo, m_ordem);
}

HistoricoCartoes::HistoricoCartoes(TabelaCartoes &tabela, QObject *pai)
    : QObject(pai), m_tabela(tabela) {
    // Back at the table loaded or saved there is nothing to save; anywhere else there is.
    connect(&m_pilha, &QUndoStack::cleanChanged, this, [this](bool limpa) {
        if (!m_proprio) m_tabela.DefineAlterada(!limpa);
    });
    connect(&m_pilha, &QUndoStack::indexChanged, this, [this] {
        if (!m_proprio) emit restaurada();
    });
    // A load replaces the whole table: nothing before it can be undone.
    connect(&tabela, &TabelaCartoes::recarregada, this, &HistoricoCartoes::Recomeca);
}

// The stack empties itself as it goes, after the window's table has gone.
HistoricoCartoes::~HistoricoCartoes() {
    m_pilha.disconnect(this);
}

void HistoricoCartoes::Executa(QUndoCommand *passo, bool marca) {
    {
        const QScopedValueRollback proprio(m_proprio, true);
        m_pilha.push(passo);
    }
    if (marca) m_tabela.DefineAlterada(true);
}

void HistoricoCartoes::MarcaAlterada() {
    m_tabela.DefineAlterada(true);
}

void HistoricoCartoes::Recomeca() {
    // Edits read over without a save stay unsaved: only a save clears the flag.
    const QScopedValueRollback proprio(m_proprio, true);
    m_pilha.clear();
}

void HistoricoCartoes::ComoNoArquivo() {
    // Not setClean(): no step reaches back past what is on disk, so the history starts again
    // here, as a reload does.
    Recomeca();
    m_tabela.DefineAlterada(false);
}

QAction *HistoricoCartoes::CriaAcaoDesfazer(QObject *pai, const QString &texto) {
    return m_pilha.createUndoAction(pai, texto);
}

QAction *HistoricoCartoes::CriaAcaoRefazer(QObject *pai, const QString &texto) {
    return m_pilha.createRedoAction(pai, texto);
}
