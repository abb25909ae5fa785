#pragma once
// The routing table being edited: the cards of each type as records, in the order of their
// grid, the default network of each type, and whether the configuration changed since it was
// last saved. Loaded from a TTabRot and turned back into one for the save.
//
// Every change is announced before and after it happens, so a view model can follow the table.

#include "routing/tabrot.h"
#include "routing/tipos_cartao.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// A card record from its parts; nothing when the parts do not fit the entry: a name over 30
// bytes, more than 20 BINs, an empty BIN or one over 20 bytes.
std::optional<TCartao> MontaCartao(TipoGrade tipo, const QByteArray &nome, std::uint16_t rede,
                                   const QList<QByteArray> &bins);
// The entry with what the file keeps of it: name up to its NUL, code, type and its BINs up to
// the first empty one, every other byte zero.
TCartao CartaoLimpo(const TCartao &cartao);

// The order that sorts the keys, as the grids have always sorted (a quicksort by bytes; equal
// keys keep no particular order): the position of each key in the sorted list.
QList<int> OrdemDasChaves(QList<QByteArray> chaves);

class TabelaCartoes : public QObject {
    Q_OBJECT
public:
    explicit TabelaCartoes(QObject *pai = nullptr);

    const QList<TCartao> &Cartoes(TipoGrade tipo) const { return m_cartoes[Indice(tipo)]; }
    std::optional<std::uint16_t> RedePadrao(TipoGrade tipo) const {
        return m_padroes[Indice(tipo)];
    }
    // The entries a save stores: the named cards and the default networks set.
    int Entradas() const;

    // The configuration-changed flag; redefining it to the value it has announces nothing.
    bool Alterada() const { return m_alterada; }
    void DefineAlterada(bool alterada);

    // Replaces every card and default with those of the table's entries 1 to Qtd (entries of
    // another type are left out); the changed flag stays as it is.
    void Carrega(const TTabRot &tabela);
    // Empties the cards and the defaults.
    void Limpa();
    // The table a save writes: the defaults of credit, debit and fuel, then the named cards of
    // each type in that order. False, with the reason, when it would exceed 350 entries.
    bool ParaTabRot(TTabRot &tabela, QString &recusa) const;

    void DefineRedePadrao(TipoGrade tipo, std::optional<std::uint16_t> rede);
    // Where the next card of the type goes: the first nameless entry (a nameless entry is no
    // card and is not saved), else after the last one.
    int PosicaoDeInclusao(TipoGrade tipo) const;
    // False, with nothing changed, when the table is full or the card is of another type.
    bool Inclui(const TCartao &cartao);
    bool Altera(TipoGrade tipo, int indice, const TCartao &cartao);
    bool Exclui(TipoGrade tipo, int indice);
    // The cards in the given order: ordem[i] is the index the card now at i comes from.
    bool Reordena(TipoGrade tipo, const QList<int> &ordem);
    // The quantos cards from inicio become novos: rows overwritten where both have one, the
    // rest removed or inserted, so a grid keeps the rows around the change (and their selection).
    // False, with nothing changed, for a range outside the cards or a card of another type.
    bool SubstituiCartoes(TipoGrade tipo, int inicio, int quantos, const QList<TCartao> &novos);

signals:
    void alteradaMudou(bool alterada);
    void aRecarregar();
    void recarregada();
    void aIncluir(TipoGrade tipo, int indice);
    void incluido(TipoGrade tipo, int indice);
    void alterado(TipoGrade tipo, int indice);
    void aExcluir(TipoGrade tipo, int indice);
    void excluido(TipoGrade tipo, int indice);
    void reordenada(TipoGrade tipo);
    void padraoMudou(TipoGrade tipo);

private:
    std::array<QList<TCartao>, 3> m_cartoes;
    std::array<std::optional<std::uint16_t>, 3> m_padroes;
    bool m_alterada = false;
};
