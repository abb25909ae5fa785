// The in-process query of one module. Also compiled into the helper executable, which is where
// the catalogue runs it.
#include "env/info_modulo.h"
#include "env/redes.h"

#include <QFileInfo>
#include <QLibrary>
#include <QtEndian>

#include <array>

namespace {

void PoePalavra(unsigned char *info, int offset, std::uint16_t valor) {
    qToLittleEndian<std::uint16_t>(valor, info + offset);
}

std::uint16_t Palavra(const unsigned char *info, int offset) {
    return qFromLittleEndian<std::uint16_t>(info + offset);
}

} // namespace

bool ConsultaModulo(const QString &caminho, ModuloRede &entrada) {
    std::array<unsigned char, TAM_INFO_MODULO> info{};
    PoePalavra(info.data(), INFO_PRESET_60000, 60000);
    PoePalavra(info.data(), INFO_PRESET_MENOS_UM, 0xFFFF);

    if (!QFileInfo(caminho).isFile()) return false;
    QLibrary biblioteca(QFileInfo(caminho).absoluteFilePath());
    if (!biblioteca.load()) return false;

    using Entrada = void (*)(void *);
    const auto obtem = reinterpret_cast<Entrada>(biblioteca.resolve("ObtemInformacoes"));
    if (obtem) {
        obtem(info.data());
        entrada.caminho = caminho;
        entrada.codigo = Palavra(info.data(), INFO_CODIGO);
        entrada.tipos = Palavra(info.data(), INFO_MASCARA);
        entrada.palavra319 = Palavra(info.data(), INFO_PALAVRA_319);
        entrada.palavra323 = Palavra(info.data(), INFO_PALAVRA_323);
    }
    // Whatever the module left in the text handle is its own; nothing is freed here.
    biblioteca.unload();
    return obtem != nullptr;
}
