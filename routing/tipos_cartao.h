#pragma once
// The three card types of a routing table: the code of their entries, the code of their
// default-network entry, the module mask that offers networks for them and the letter of the
// import and export lines. Pages, dialogs, import and export all read them from here.

#include "env/redes.h"
#include "routing/tabrot.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The card types in the order of the pages and the option tree.
enum class TipoGrade { Credito = 0, Debito = 1, Combustivel = 2 };

struct TipoDeCartao {
    TipoGrade grade;
    std::uint8_t tipo;       // Tipo of a card entry
    std::uint8_t tipoPadrao; // Tipo of the entry that holds the default network
    std::uint16_t mascara;   // modules whose mask has this bit serve the type
    char letra;              // type letter of the import and export lines
    const char *titulo;      // UTF-8: page, option tree and examination lines
};

inline constexpr std::array<TipoDeCartao, 3> TiposDeCartao{{
    {TipoGrade::Credito, TipoCredito, TipoPadraoCredito, MascaraCredito, 'C', "Crédito"},
    {TipoGrade::Debito, TipoDebito, TipoPadraoDebito, MascaraDebito, 'D', "Débito"},
    {TipoGrade::Combustivel, TipoCombustivel, TipoPadraoCombustivel, MascaraCombustivel, 'F',
     "Combustível"},
}};

constexpr std::size_t Indice(TipoGrade tipo) {
    return static_cast<std::size_t>(tipo);
}
constexpr const TipoDeCartao &TipoDe(TipoGrade tipo) {
    return TiposDeCartao[Indice(tipo)];
}

// The card type of an entry's Tipo, of a default-network entry's Tipo, and of a type letter
// (capital); nothing for any other value.
std::optional<TipoGrade> TipoDoCartao(std::uint8_t tipo);
std::optional<TipoGrade> TipoDoPadrao(std::uint8_t tipo);
std::optional<TipoGrade> TipoDaLetra(char letra);
