/* A module of the installation as it runs in the program's process: it finds the message table
   by name among the symbols the executable exports, as any foreign module would. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdint.h>

typedef void (*LeMensagensFn)(char *texto, int32_t numero);
typedef void (*CarregaMsgFn)(void);

/* 0 when the program does not export the function. */
int SondaLeMensagens(char *texto, int32_t numero) {
    LeMensagensFn f = (LeMensagensFn)dlsym(RTLD_DEFAULT, "LeMensagens");
    if (!f) return 0;
    f(texto, numero);
    return 1;
}

int SondaCarregaMsg(void) {
    CarregaMsgFn f = (CarregaMsgFn)dlsym(RTLD_DEFAULT, "CarregaMsg");
    if (!f) return 0;
    f();
    return 1;
}
