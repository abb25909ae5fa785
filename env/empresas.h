#pragma once
// The companies of the installation: <root>/config/<code>.cnf files whose base name is 8 ASCII
// letters or digits and whose first two bytes are 10h 01h.

#include <QString>
#include <QStringList>

// Empties `lista` and fills it with the upper-case company codes in name order; returns their
// number. A company file that cannot be read is skipped.
int ListaEmpresas(const QString &raiz, QStringList &lista);

// The routing tables of the installation whose file exists, in the order of the company selector
// (the company codes, then "TODAS"): the selector's text and the file.
struct TabelaDaInstalacao {
    QString entrada;
    QString caminho;
};
QList<TabelaDaInstalacao> TabelasDaInstalacao(const QString &raiz);
// True for "TODAS" in any case or for 8 ASCII letters or digits: a name that can address a table.
bool EhCodigoEmpresa(const QString &texto);
