#include "env/roteamento.h"

#include "env/arquivos.h"
#include "env/caminhos.h"
#include "env/erro.h"
#include "env/perfil.h"
#include "env/texto.h"
#include "env/trace.h"

#include <QFileInfo>

namespace {
const QByteArray kSecao = QByteArrayLiteral("Geral");
const QByteArray kChave = QByteArrayLiteral("HabilitaBinsPorEmpresa");

bool Ligada(const QString &arquivo) {
    return LePerfilInteiro(arquivo, kSecao, kChave, 0) != 0;
}
} // namespace

bool ChaveRoteamento(bool alternar) {
    const QString raiz = Raiz();
    const QString arquivo = Caminhos::VardoCfg(raiz);
    if (!alternar) return Ligada(arquivo);
    Caminhos::ExigeCaminhoCurto(arquivo);
    const ErroES falha(QStringLiteral("Unable to write to %1").arg(arquivo));
    QString motivo;
    if (!DentroDaInstalacao(arquivo, raiz, &motivo)) {
        RecusaGravacao(motivo);
        throw falha;
    }
    // Read, invert and write under the lock: two toggles at once are two toggles.
    const TravaArquivo trava(arquivo);
    if (!trava.obtida()) {
        AvisaErro(trava.erro());
        throw falha;
    }
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
