#include "app/inicio.h"

#include "app/principal.h"
#include "dialogs/dialogo_cartao.h"

#include <QApplication>

int ExecutaJanelas(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Configurador de Roteamento"));
    // The dialogs belong to the main window and die with it.
    TFrmPrinc principal;
    auto *cred = new TFrmIncluiCartaoCred(&principal);
    auto *deb = new TFrmIncluiCartaoDeb(&principal);
    auto *comb = new TFrmIncluiCartaoComb(&principal);
    principal.RegistraDialogos(cred, deb, comb);
    principal.show();
    return app.exec();
}
