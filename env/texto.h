#pragma once
// The one boundary between Windows-1252 bytes (files, records, the core) and QString (windows,
// file names, the terminal).

#include <QByteArray>
#include <QString>

// Source literal (UTF-8) to the Windows-1252 bytes the files hold.
QByteArray cp1252(const char *utf8);
QByteArray ParaCp1252(const QString &texto);
QString DeCp1252(const QByteArray &bytes);
// True when every character of the text has a Windows-1252 byte.
bool CabeEmCp1252(const QString &texto);

// Fixed fields and paths hold at most 255 characters.
constexpr int TamMaxTexto = 255;
inline QByteArray Corta255(const QByteArray &t) {
    return t.left(TamMaxTexto);
}
inline QString Corta255(const QString &t) {
    return t.left(TamMaxTexto);
}
