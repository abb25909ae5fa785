/* A network module of the demo installation: answers the network code and card types it was
 * built with (MODULO_CODIGO, MODULO_MASCARA), as the payment server's modules do. */
#include "env/info_modulo.h"

#ifndef MODULO_CODIGO
#error "MODULO_CODIGO: the network code this module serves"
#endif
#ifndef MODULO_MASCARA
#error "MODULO_MASCARA: 1 credit, 2 debit, 4 fuel"
#endif

static void poe_palavra(unsigned char *info, int offset, unsigned valor) {
    info[offset] = (unsigned char)(valor & 0xFF);
    info[offset + 1] = (unsigned char)((valor >> 8) & 0xFF);
}

__attribute__((visibility("default"))) void ObtemInformacoes(void *p) {
    unsigned char *info = (unsigned char *)p;
    poe_palavra(info, INFO_CODIGO, MODULO_CODIGO);
    poe_palavra(info, INFO_MASCARA, MODULO_MASCARA);
}
