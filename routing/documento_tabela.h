#pragma once
// The table the window edits: which one it is (a company, or TODAS), its TabRot.bin, the
// working table that loads, saves, imports and exports pass through, what the file looked like
// when it was read, and its cards. It loads and saves and says what happened; the window asks
// the operator and shows.

#include "env/leitura.h"
#include "routing/sobreposicao.h"
#include "routing/tabela_cartoes.h"
#include "routing/tabrot.h"

#include <QList>
#include <QString>

#include <memory>

class DocumentoTabela {
public:
    DocumentoTabela();
    ~DocumentoTabela();

    TabelaCartoes &Cartoes() { return m_cartoes; }
    const TabelaCartoes &Cartoes() const { return m_cartoes; }
    // The process-wide routing table: what was read or written last.
    TTabRot &Tabela() { return *m_tabela; }
    // "TODAS" or a company code; empty when no table is in use.
    const QString &Empresa() const { return m_empresa; }
    // CaminhoTabRot: the TabRot.bin in use, empty when none.
    const QString &CaminhoTabRot() const { return m_caminho; }

    // No table is in use any more: nothing may be saved over the one read before.
    void Esquece();

    enum class Carga {
        Lida,
        Nova,     // no file yet: the table starts empty
        Ilegivel, // a file that cannot be read or is damaged; the cards stay as they were
    };
    // Chooses the table of "TODAS" or a company and reads it. Throws ErroES when the trace
    // cannot be written or the path is too long.
    Carga Carrega(const QString &empresa);
    // Reads the table in use again.
    Carga Recarrega();

    struct Pedido {
        bool aceitaConflitos = false; // the operator accepted the new conflicts
        // The file as the operator agreed to overwrite it after it changed on disk.
        std::optional<MarcaArquivo> sobrescreve;
    };
    struct Resultado {
        enum class Tipo {
            Gravada,
            Recusada,        // nothing to save, or the cards do not fit a table: texto says why
            ConflitosNovos,  // conflitos: what the file on disk did not have
            AlteradaNoDisco, // another program wrote the file since it was read: marca
            Falhou,          // the write failed: texto is the system's reason
        };
        Tipo tipo = Tipo::Gravada;
        QString texto;
        QList<Achado> conflitos;
        MarcaArquivo marca;
    };
    // The cards into the working table and, under the table's guard, into its file. The
    // changed flag is the window's history's to clear. Throws ErroES when a missing file cannot
    // be created.
    Resultado Grava(const Pedido &pedido);

private:
    std::unique_ptr<TTabRot> m_tabela;
    QString m_empresa;
    QString m_caminho;
    MarcaArquivo m_marca;
    TabelaCartoes m_cartoes;
};
