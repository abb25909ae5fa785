#include "app/inicio.h"

#include <QApplication>
#include <QTextStream>

int ExecutaJanelas(int argc, char **argv) {
    QApplication app(argc, argv);
    QTextStream(stderr) << "Configurador Roteamento: a janela principal ainda não existe.\n";
    return 1;
}
