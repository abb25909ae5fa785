#pragma once
// Export of every card entry of every routing table to one text file, one line per entry:
// company;card name;BINs separated by ",";network code;type letter;

#include "routing/tabrot.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads the tables in the order of the company selector (the company codes, then "TODAS")
// through the working table and returns their lines, each ended by CRLF. Missing, unreadable
// and empty tables give no line; `deFora`, when given, receives the tables that exist but could
// not be read ("TODAS" or a company code). The table afterwards holds the last file read.
QByteArray LinhasExportacao(TTabRot &tabela, QStringList *deFora = nullptr);

// Replaces the file with the lines, atomically. Throws ErroES when it cannot be written.
void GravaExportacao(const QString &arquivo, const QByteArray &linhas);
