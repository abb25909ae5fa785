/* A module that aborts while it is queried. */
#include <stdlib.h>

__attribute__((visibility("default"))) void ObtemInformacoes(void *p) {
    (void)p;
    abort();
}
