#include "env/texto.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Most texts (paths, keys, trace lines) are ASCII, which Windows-1252 keeps as it is; opening a
// converter by name costs more than the conversion itself.
static bool SoAscii(QStringView t) {
    for (QChar c : t)
        if (c.unicode() >= 0x80) return false;
    return true;
}
static bool SoAscii(const QByteArray &b) {
    for (char c : b)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

QByteArray ParaCp1252(const QString &texto) {
    if (SoAscii(texto)) return texto.toLatin1();
    QStringEncoder enc("windows-1252");
    return enc.encode(texto);
}

QString DeCp1252(const QByteArray &bytes) {
    if (SoAscii(bytes)) return QString::fromLatin1(bytes);
    QStringDecoder dec("windows-1252");
    return dec.decode(bytes);
}

QByteArray cp1252(const char *utf8) {
    return ParaCp1252(QString::fromUtf8(utf8));
}

bool CabeEmCp1252(const QString &texto) {
    QStringEncoder enc("windows-1252");
    const QByteArray b = enc.encode(texto);
    return !enc.hasError() && DeCp1252(b) == texto;
}
