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

// Read and write under the lock: two changes at once are two changes. `novo` gives the value
// from the current one.
template <typename Novo> bool AlteraSobTrava(Novo novo) {
    const QString arquivo = Caminhos::VardoCfg(Raiz());
    Caminhos::ExigeCaminhoCurto(arquivo);
    const GravacaoGuardada guarda(arquivo);
    if (!guarda.pronta()) {
        if (guarda.situacao() != GravacaoGuardada::Situacao::Recusada) AvisaErro(guarda.erro());
        throw ErroES(QStringLiteral("Unable to write to %1").arg(arquivo));
    }
    const bool atual = Ligada(arquivo);
    const bool valor = novo(atual);
    if (valor != atual)
        GravaPerfilTexto(arquivo, kSecao, kChave,
                         valor ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
    return Ligada(arquivo);
}

} // namespace

bool ChaveRoteamento(bool alternar) {
    if (!alternar) return Ligada(Caminhos::VardoCfg(Raiz()));
    // The first toggle of a site without the file switches routing on.
    return AlteraSobTrava([](bool atual) { return !atual; });
}

bool DefineRoteamento(bool ligado) {
    return AlteraSobTrava([ligado](bool) { return ligado; });
}
