/* A module that never returns from the query. */
#include <unistd.h>

__attribute__((visibility("default"))) void ObtemInformacoes(void *p) {
    (void)p;
    for (;;)
        pause();
}
