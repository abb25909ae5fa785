#pragma once
// The grid of one card type over the card table: one row per card and a blank last row where the
// next card is typed in the system's own grid; the titles come from the header. The one place
// where the table's bytes become the grid's texts (network codes become display names here).

#include "routing/tabela_cartoes.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class CatalogoRedes;

// Display name of a stored network code, and the code a display name chosen from a list stands
// for ("Bloqueada" is the blocked code; an unknown name is code 0).
QString NomeExibido(const CatalogoRedes &catalogo, std::uint16_t codigo);
std::uint16_t CodigoExibido(const CatalogoRedes &catalogo, const QString &nome);

class ModeloCartoes : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Coluna { ColunaNome = 0, ColunaRede = 1, ColunaBins = 2 };

    ModeloCartoes(TabelaCartoes &tabela, TipoGrade tipo, const CatalogoRedes &catalogo,
                  QObject *pai = nullptr);

    int rowCount(const QModelIndex &pai = {}) const override;
    int columnCount(const QModelIndex &pai = {}) const override;
    QVariant data(const QModelIndex &indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao,
                        int papel = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &indice) const override;

    TipoGrade Tipo() const { return m_tipo; }
    // The card of a grid row; nothing for the blank last row.
    std::optional<int> CartaoDaLinha(int linha) const;
    const QString &Texto(int linha, int coluna) const;
    // The order that sorts the cards by a column's texts, as the title row does (as
    // TabelaCartoes::Reordena takes it); empty when there is nothing to sort.
    QList<int> OrdemPor(int coluna) const;
    void Ordena(int coluna);

private:
    using Linha = std::array<QString, 3>;
    Linha Textos(const TCartao &cartao) const;
    void Recarrega();

    TabelaCartoes &m_tabela;
    const TipoGrade m_tipo;
    const CatalogoRedes &m_catalogo;
    QList<Linha> m_linhas; // texts of the cards, kept so painting converts nothing
};
