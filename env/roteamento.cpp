#include "env/roteamento.h"

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/gravacao_guardada.h"
#include "env/perfil.h"

namespace {
const QByteArray kSecao = QByteArrayLiteral("Geral");
const QByteArray kChave = QByteArrayLiteral("HabilitaBinsPorEmpresa");

bool Ligada(const QString &arquivo) {
    return LePerfilInteiro(arquivo, kSecao, kChave, 0) != 0;
}
} // namespace

bool ChaveRoteamento(bool alternar) {
    const QString arquivo = Caminhos::VardoCfg(Raiz());
    if (!alternar) return Ligada(arquivo);
    Caminhos::ExigeCaminhoCurto(arquivo);
    // Read, invert and write under the lock: two toggles at once are two toggles.
    const GravacaoGuardada guarda(arquivo);
    if (!guarda.pronta()) {
        if (guarda.situacao() != GravacaoGuardada::Situacao::Recusada) AvisaErro(guarda.erro());
        throw ErroES(QStringLiteral("Unable to write to %1").arg(arquivo));
    }
    // The first toggle of a site without the file switches routing on.
    GravaPerfilTexto(arquivo, kSecao, kChave,
                     Ligada(arquivo) ? QByteArrayLiteral("0") : QByteArrayLiteral("1"));
    return Ligada(arquivo);
}
