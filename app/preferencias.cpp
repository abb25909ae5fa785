#include "app/preferencias.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

namespace {

QSettings Preferencias() {
    return QSettings(ArquivoPreferencias(), QSettings::IniFormat);
}

QString Chave(UsoDiretorio uso) {
    return uso == UsoDiretorio::Importacao ? QStringLiteral("diretorios/importacao")
                                           : QStringLiteral("diretorios/exportacao");
}

} // namespace

QString ArquivoPreferencias() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/configurador-roteamento/configurador-roteamento.conf");
}

void RestauraGeometria(QWidget *janela) {
    const QByteArray geometria =
        Preferencias().value(QStringLiteral("janela/geometria")).toByteArray();
    if (!geometria.isEmpty()) janela->restoreGeometry(geometria);
}

void GuardaGeometria(const QWidget *janela) {
    Preferencias().setValue(QStringLiteral("janela/geometria"), janela->saveGeometry());
}

QString DiretorioLembrado(UsoDiretorio uso) {
    const QString dir = Preferencias().value(Chave(uso)).toString();
    return !dir.isEmpty() && QFileInfo(dir).isDir() ? dir : QString();
}

void LembraDiretorio(UsoDiretorio uso, const QString &arquivo) {
    Preferencias().setValue(Chave(uso), QFileInfo(arquivo).absolutePath());
}
