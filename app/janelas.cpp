#include "app/inicio.h"

#include "app/principal.h"
#include "dialogs/dialogo_cartao.h"

#include <QApplication>

std::unique_ptr<TFrmPrinc> CriaJanelas() {
    auto principal = std::make_unique<TFrmPrinc>();
    auto *cred = new TFrmIncluiCartaoCred(principal.get());
    auto *deb = new TFrmIncluiCartaoDeb(principal.get());
    auto *comb = new TFrmIncluiCartaoComb(principal.get());
    principal->RegistraDialogos(cred, deb, comb);
    return principal;
}

int ExecutaJanelas(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Configurador de Roteamento"));
    CarregaTraducaoQt();
    const std::unique_ptr<TFrmPrinc> principal = CriaJanelas();
    principal->show();
    return app.exec();
}
