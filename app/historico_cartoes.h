#pragma once
// Undo and redo of the operator's edits of the loaded card table, one step per action, back to
// the table as it was loaded or last saved; and the configuration-changed flag, which within the
// window only this history sets. A reload starts the history again.

#include "routing/tabela_cartoes.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoCommand>
#include <QUndoStack>

class QAction;

// The cards of one type from `inicio` on: `antes` become `depois`. Inclusion, alteration and
// deletion are each one such step.
class PassoTrecho : public QUndoCommand {
public:
    void undo() override;
    void redo() override;

protected:
    PassoTrecho(const QString &nome, TabelaCartoes &tabela, TipoGrade tipo, int inicio,
                QList<TCartao> antes, QList<TCartao> depois);

private:
    TabelaCartoes &m_tabela;
    const TipoGrade m_tipo;
    const int m_inicio;
    const QList<TCartao> m_antes;
    const QList<TCartao> m_depois;
};

// A new card where the table puts it: the first nameless entry of its type, else the end.
class PassoInclusao : public PassoTrecho {
public:
    PassoInclusao(TabelaCartoes &tabela, TipoGrade tipo, const TCartao &cartao);
};

class PassoAlteracao : public PassoTrecho {
public:
    PassoAlteracao(TabelaCartoes &tabela, TipoGrade tipo, int indice, const TCartao &cartao);
};

class PassoExclusao : public PassoTrecho {
public:
    PassoExclusao(TabelaCartoes &tabela, TipoGrade tipo, int indice);
};

// The cards of a type in a new order: ordem[i] is the index the card now at i comes from.
class PassoOrdenacao : public QUndoCommand {
public:
    PassoOrdenacao(TabelaCartoes &tabela, TipoGrade tipo, QList<int> ordem);
    void undo() override;
    void redo() override;

private:
    TabelaCartoes &m_tabela;
    const TipoGrade m_tipo;
    const QList<int> m_ordem;
    QList<int> m_inversa;
};

class HistoricoCartoes : public QObject {
    Q_OBJECT
public:
    explicit HistoricoCartoes(TabelaCartoes &tabela, QObject *pai = nullptr);
    ~HistoricoCartoes() override;

    // Makes the step and keeps it for undo. `marca` false for a step that is no change to save
    // by itself: a sort, or the grid routines, whose dialog has set the flag already.
    void Executa(QUndoCommand *passo, bool marca = true);
    // A change that leaves no step (the card dialog's BIN list, a refused "Confirma").
    void MarcaAlterada();
    // The table is what the file holds, after a save or before edits are dropped for a new read.
    void ComoNoArquivo();

    // The menu's actions, enabled while there is something to undo or redo; their texts name the
    // step.
    QAction *CriaAcaoDesfazer(QObject *pai, const QString &texto);
    QAction *CriaAcaoRefazer(QObject *pai, const QString &texto);

signals:
    // After an undo or a redo, for what shows the table beyond its grids.
    void restaurada();

private:
    void Recomeca();

    TabelaCartoes &m_tabela;
    QUndoStack m_pilha;
    // While the history itself changes the stack (a step made, a restart), the flag is set by
    // what changed it, not by the stack's clean state.
    bool m_proprio = false;
};
