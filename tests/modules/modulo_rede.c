/* A well-behaved network module: answers the code and mask it was built with. It echoes the two
 * words the tool presets into the two words the tool keeps (319 and 323), so a test sees what
 * the module was given, and leaves a text handle behind, which the tool must not free. */
#include "env/info_modulo.h"

#include <string.h>

#ifndef MODULO_CODIGO
#define MODULO_CODIGO 0
#endif
#ifndef MODULO_MASCARA
#define MODULO_MASCARA 0
#endif

static void poe(unsigned char *info, int offset, unsigned valor) {
    info[offset] = (unsigned char)(valor & 0xFF);
    info[offset + 1] = (unsigned char)(valor >> 8);
}

__attribute__((visibility("default"))) void ObtemInformacoes(void *p) {
    unsigned char *info = (unsigned char *)p;
    static const char texto[] = "texto do modulo";
    const char *h = texto;
    memcpy(&info[INFO_PALAVRA_319], &info[INFO_PRESET_60000], 2);
    memcpy(&info[INFO_PALAVRA_323], &info[INFO_PRESET_MENOS_UM], 2);
    poe(info, INFO_CODIGO, MODULO_CODIGO);
    poe(info, INFO_MASCARA, MODULO_MASCARA);
    memcpy(&info[INFO_TEXTO], &h, 4);
}
