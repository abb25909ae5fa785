#include "app/inicio.h"

#include <cstring>

bool EhLinhaDeComando(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--", 2) == 0) return true;
    return false;
}

int ExecutaLinhaDeComando(int, char **) { return 1; }
