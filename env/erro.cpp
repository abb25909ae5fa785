#include "env/erro.h"

#include <cstdio>

void AvisaErro(const QString &texto) {
    const QByteArray linha = "configurador-roteamento: " + texto.toLocal8Bit() + '\n';
    std::fwrite(linha.constData(), 1, size_t(linha.size()), stderr);
    std::fflush(stderr);
}
