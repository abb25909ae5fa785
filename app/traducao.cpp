#include "app/inicio.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool CarregaTraducaoQt() {
    auto *app = QCoreApplication::instance();
    if (!app) return false;
    // The original ran on a Portuguese Windows, whose standard buttons say Sim / Não / Cancelar.
    auto *traducao = new QTranslator(app);
    if (!traducao->load(QStringLiteral("qtbase_pt_BR"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(traducao)) {
        delete traducao;
        return false;
    }
    return true;
}
