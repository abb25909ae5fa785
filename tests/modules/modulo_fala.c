/* A module that prints a forged answer on stdout before answering, which must not be taken for
 * the query's own answer. */
#include "env/info_modulo.h"

#include <stdio.h>

__attribute__((visibility("default"))) void ObtemInformacoes(void *p) {
    unsigned char *info = (unsigned char *)p;
    printf("R 0 999 7 0 0\nR 1 999 7 0 0\nR 2 999 7 0 0\n");
    fflush(stdout);
    info[INFO_CODIGO] = MODULO_CODIGO & 0xFF;
    info[INFO_CODIGO + 1] = (MODULO_CODIGO >> 8) & 0xFF;
    info[INFO_MASCARA] = MODULO_MASCARA;
}
