// Compiled into the executable itself: a static library member that nothing in the program
// references would not be linked, and its functions would not be exported.
#include "app/exportadas.h"

#include "env/mensagens.h"
#include "env/texto.h"

#include <cstring>

// No exception may cross into a foreign module.

extern "C" void CarregaMsg(void) {
    try {
        Mensagens::Carrega();
    } catch (...) {
    }
}

extern "C" void LeMensagens(char *texto, int32_t numero) {
    if (!texto) return;
    texto[0] = '\0';
    try {
        const QByteArray t = Corta255(Mensagens::Le(numero));
        std::memcpy(texto, t.constData(), size_t(t.size()));
        texto[t.size()] = '\0';
    } catch (...) {
    }
}
