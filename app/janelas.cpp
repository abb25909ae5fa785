#include "app/inicio.h"

#include "app/preferencias.h"
#include "app/principal.h"

#include <QApplication>

std::unique_ptr<TFrmPrinc> CriaJanelas() {
    // Each page makes its own card dialog.
    return std::make_unique<TFrmPrinc>();
}

int ExecutaJanelas(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Configurador de Roteamento"));
    CarregaTraducaoQt();
    const std::unique_ptr<TFrmPrinc> principal = CriaJanelas();
    RestauraGeometria(principal.get());
    principal->show();
    const int codigo = app.exec();
    // However the window closed ("&Sair", the inclusion limit, a failed save).
    GuardaGeometria(principal.get());
    return codigo;
}
