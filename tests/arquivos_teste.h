#pragma once
// Whole-file reads and writes of the tests, and the mode bits the read-only cases look at.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

#include <sys/stat.h>

namespace teste {

// A missing file reads as a text no real file holds, so comparisons show it plainly.
inline QByteArray Le(const QString &caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<sem arquivo>");
}

// Fails the running test when the file cannot be written whole.
inline void Escreve(const QString &caminho, const QByteArray &bytes) {
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline mode_t Modo(const QString &caminho) {
    struct stat st;
    return ::stat(QFile::encodeName(caminho).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

} // namespace teste
