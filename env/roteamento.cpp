#include "env/roteamento.h"

#include "env/caminhos.h"
#include "env/perfil.h"
#include "env/texto.h"

#include <QFileInfo>

namespace {
const QByteArray kSecao = QByteArrayLiteral("Geral");
const QByteArray kChave = QByteArrayLiteral("HabilitaBinsPorEmpresa");

bool Ligada(const QString &arquivo) {
    return LePerfilInteiro(arquivo, kSecao, kChave, 0) != 0;
}
} // namespace

bool ChaveRoteamento(bool alternar) {
    const QString arquivo = Caminhos::VardoCfg(Corta255(Raiz()));
    if (!QFileInfo::exists(arquivo)) {
        if (!alternar) return false;
        // The first toggle of a site without the file switches routing on.
        GravaPerfilTexto(arquivo, kSecao, kChave, QByteArrayLiteral("1"));
        return Ligada(arquivo);
    }
    if (alternar)
        GravaPerfilTexto(arquivo, kSecao, kChave,
                         Ligada(arquivo) ? QByteArrayLiteral("0") : QByteArrayLiteral("1"));
    return Ligada(arquivo);
}
