#include "routing/tipos_cartao.h"

namespace {

template <typename Campo> std::optional<TipoGrade> Procura(Campo campo) {
    for (const TipoDeCartao &t : TiposDeCartao)
        if (campo(t)) return t.grade;
    return std::nullopt;
}

} // namespace

std::optional<TipoGrade> TipoDoCartao(std::uint8_t tipo) {
    return Procura([tipo](const TipoDeCartao &t) { return t.tipo == tipo; });
}

std::optional<TipoGrade> TipoDoPadrao(std::uint8_t tipo) {
    return Procura([tipo](const TipoDeCartao &t) { return t.tipoPadrao == tipo; });
}

std::optional<TipoGrade> TipoDaLetra(char letra) {
    return Procura([letra](const TipoDeCartao &t) { return t.letra == letra; });
}
