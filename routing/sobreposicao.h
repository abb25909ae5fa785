#pragma once
// BINs that more than one entry of a table covers, per card type: two entries that both take a
// card number leave the route to chance.
//
// The entries are compared as the card dialog compares them: two single BINs cover the same BINs
// when they are the same text (0123456 is not 123456); a single BIN lies in a range when it is
// numerically between the bounds, both ends inclusive; two ranges overlap when they intersect as
// numbers. Leading zeros and digit counts play no part against a range.

#include "routing/tabrot.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <functional>

enum class TipoAchado : std::uint8_t {
    Conflito,     // two cards, two networks: the server may send the card number to either
    Redundancia,  // the same network twice (two cards, or one card covering a BIN twice)
    Incomparavel, // an entry whose bounds are no digits, or whose lower bound passes the upper
};

// One BIN entry of the table, as the report names it.
struct EntradaAchado {
    int cartao = -1; // index in the table (entry 1 of the file is 0)
    int bin = -1;    // index in the card's BIN list
    QByteArray nome;
    std::uint16_t rede = 0;
    QByteArray texto; // the entry as stored
};

struct Achado {
    TipoAchado tipo = TipoAchado::Conflito;
    std::uint8_t tipoCartao = TipoCredito;
    EntradaAchado a, b; // b: the second entry of an overlap (a comes first in the table)
    QByteArray emComum; // the BINs both cover, "411111" or "400050-400099", in the entries' digits
    bool invertido = false; // Incomparavel: the bounds are digits, the lower passes the upper
};

// Per card type and kind at most this many findings are listed; the counts are always whole.
constexpr int MaxAchadosListados = 200;

struct ExameTabRot {
    QList<Achado> achados; // card type, kind, then table order
    // Findings of each kind per card type (index 0 credit, 1 debit, 2 fuel), listed or not.
    qint64 contagem[3][3] = {};
    qint64 Total(TipoAchado tipo) const;
    qint64 NaoListados() const;
};

// Examines the credit, debit and fuel cards of the table (entries 1 to Qtd; their BINs as the
// grids show them). Sorts the entries by lower bound and sweeps: n log n in the entries.
ExameTabRot ExaminaTabRot(const TTabRot &tabela);

// The conflicts of `novo` that `antigo` did not have: the same card type, the same two cards by
// name and network, the same two entries. Positions play no part (a save reorders the table).
QList<Achado> ConflitosNovos(const ExameTabRot &antigo, const ExameTabRot &novo);

// The conflicts the table would have that the file on disk does not (a file that is missing or
// cannot be read has none).
QList<Achado> ConflitosNovosNoArquivo(const QString &caminho, const TTabRot &tabela);

// "Crédito", "Débito", "Combustível" (Windows-1252).
QByteArray NomeTipoCartao(std::uint8_t tipo);

// The network as the report names it; the default gives "rede 5", or "Bloqueada".
using NomeRedeAchado = std::function<QByteArray(std::uint16_t)>;
QByteArray RedeNumerada(std::uint16_t rede);

// One Windows-1252 line per finding, begun with the table's name ("TODAS", a company code).
QByteArray LinhaAchado(const QByteArray &tabela, const Achado &achado,
                       const NomeRedeAchado &nomeRede = RedeNumerada);
// The lines of an examination: its findings, then one line per card type and kind with findings
// left unlisted.
QList<QByteArray> LinhasExame(const QByteArray &tabela, const ExameTabRot &exame,
                              const NomeRedeAchado &nomeRede = RedeNumerada);
