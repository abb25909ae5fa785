#pragma once
// Undo and redo of the edits of the loaded card table, back to the state it was loaded or last
// saved in. Each change the table announces is one step, kept as the rows it replaced; a reload
// starts the history again.

#include "routing/tabela_cartoes.h"

#include <QList>
#include <QObject>
#include <QUndoStack>

#include <array>
#include <cstdint>
#include <optional>

class HistoricoCartoes : public QObject {
    Q_OBJECT
public:
    explicit HistoricoCartoes(TabelaCartoes &tabela, QObject *pai = nullptr);

    bool PodeDesfazer() const { return m_pilha.canUndo(); }
    bool PodeRefazer() const { return m_pilha.canRedo(); }
    // Back (or forward again) one step. Where the table is as loaded or saved, the changed flag
    // goes off; anywhere else it is on.
    void Desfaz();
    void Refaz();
    // The table as it is now is the one on disk: after a save.
    void Limpa();

signals:
    void podeDesfazerMudou(bool pode);
    void podeRefazerMudou(bool pode);
    // After an undo or a redo, for what shows the table beyond its grids.
    void restaurada();

private:
    struct Estado {
        std::array<QList<TCartao>, 3> cartoes;
        std::array<std::optional<std::uint16_t>, 3> padroes;
    };
    Estado EstadoAtual() const;
    void Registra();
    void Aplica(bool desfazer);

    TabelaCartoes &m_tabela;
    QUndoStack m_pilha;
    Estado m_atual; // shares the table's lists until the table changes one
    bool m_aplicando = false;
};
