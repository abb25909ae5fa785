#pragma once
// Directory listings by mask, in the order the Windows file system gives: names compared without
// regard to letter case.

#include <QString>
#include <QStringList>

// Appends the full paths of the files matching `mascara` (directory part up to the last "/",
// then a name pattern such as "se*.bpl"). A found name counts only when its extension, lower
// case, equals the mask's. With `recursivo`, the files of each directory come before those of
// its subdirectories, searched depth first; hidden directories (".name") are skipped, and so is
// a directory whose real path lies outside the one the search started in.
void ListaArquivos(const QString &mascara, bool recursivo, QStringList &lista);
