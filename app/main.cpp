#include "app/inicio.h"

int main(int argc, char **argv) {
    return ExecutaPrograma(argc, argv);
}
