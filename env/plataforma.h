#pragma once
// What the platform gives differently: here, Linux.

#include <QString>

// The real path of a file that may not exist yet: every link of the file and of its directories
// followed, a dangling one to where it points.
QString CaminhoReal(const QString &caminho);
