#pragma once
// What the window remembers between runs, for each operator: its geometry and the directories
// last used for import and export, in configurador-roteamento/configurador-roteamento.conf of
// the operator's configuration directory (~/.config, or $XDG_CONFIG_HOME).

#include <QString>

class QWidget;

enum class UsoDiretorio { Importacao, Exportacao };

QString ArquivoPreferencias();

// A geometry kept from an earlier run, when there is one; the window manager and Qt keep it on
// a screen that still exists.
void RestauraGeometria(QWidget *janela);
void GuardaGeometria(const QWidget *janela);

// The directory of the file last chosen for this use, when it still exists; else empty.
QString DiretorioLembrado(UsoDiretorio uso);
void LembraDiretorio(UsoDiretorio uso, const QString &arquivo);
