#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "Configurador Roteamento: a janela principal ainda não existe.\n";
    return 1;
}
