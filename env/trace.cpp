#include "env/trace.h"

#include "env/arquivos.h"
#include "env/caminhos.h"
#include "env/erro.h"
#include "env/texto.h"

#include <QFile>

void GravaTrace(const QByteArray &mensagem) {
    const QString caminho = Caminhos::Trace(Raiz());
    QFile f(caminho);
    // Append in one write, so a failure never leaves the message without its separator.
    const QByteArray entrada = Corta255(mensagem) + "\r\n-------\r\n";
    if (SomenteLeitura(caminho))
        throw ErroES(QStringLiteral("Erro de E/S ao abrir %1: arquivo somente leitura").arg(caminho));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        throw ErroES(QStringLiteral("Erro de E/S ao abrir %1: %2").arg(caminho, f.errorString()));
    const bool escreveu = f.write(entrada) == entrada.size() && f.flush();
    const QString motivo = f.errorString();
    f.close();
    if (!escreveu)
        throw ErroES(QStringLiteral("Erro de E/S ao gravar %1: %2").arg(caminho, motivo));
}
