#include "env/texto.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ParaCp1252(const QString &texto) {
    QStringEncoder enc("windows-1252");
    return enc.encode(texto);
}

QString DeCp1252(const QByteArray &bytes) {
    QStringDecoder dec("windows-1252");
    return dec.decode(bytes);
}

QByteArray cp1252(const char *utf8) { return ParaCp1252(QString::fromUtf8(utf8)); }

bool CabeEmCp1252(const QString &texto) {
    QStringEncoder enc("windows-1252");
    const QByteArray b = enc.encode(texto);
    return !enc.hasError() && DeCp1252(b) == texto;
}
