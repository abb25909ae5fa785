#include "app/inicio.h"

int main(int argc, char **argv) {
    if (EhLinhaDeComando(argc, argv)) return ExecutaLinhaDeComando(argc, argv);
    return ExecutaJanelas(argc, argv);
}
