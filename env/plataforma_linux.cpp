#include "env/plataforma.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Pai(const QString &caminho) {
    const qsizetype barra = caminho.lastIndexOf(QLatin1Char('/'));
    return barra <= 0 ? QStringLiteral("/") : caminho.left(barra);
}

// The real path of a file or directory that exists. The kernel resolves the whole path in one
// open and /proc/self/fd tells where it led; glibc's realpath makes a readlink per component,
// which a write pays several times over. realpath still serves where /proc is not mounted.
bool RealDoExistente(const QByteArray &caminho, QString &real) {
    const int fd = ::open(caminho.constData(), O_PATH | O_CLOEXEC);
    if (fd < 0) return false;
    char proc[32];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    char alvo[PATH_MAX];
    const ssize_t n = ::readlink(proc, alvo, sizeof alvo - 1);
    ::close(fd);
    static constexpr char apagado[] = " (deleted)";
    const auto tam = sizeof apagado - 1;
    if (n > 0 && alvo[0] == '/' &&
        !(size_t(n) > tam && std::memcmp(alvo + n - tam, apagado, tam) == 0)) {
        real = QFile::decodeName(QByteArray(alvo, n));
        return true;
    }
    char r[PATH_MAX];
    if (!::realpath(caminho.constData(), r)) return false;
    real = QFile::decodeName(r);
    return true;
}

} // namespace

QString CaminhoReal(const QString &caminho) {
    // The links of the file itself first (a dangling one to where it points), then the real path
    // of the nearest directory that exists.
    QString c = QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
    for (int saltos = 0; saltos < 40; ++saltos) {
        struct stat st;
        const QByteArray nome = QFile::encodeName(c);
        if (::lstat(nome.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        char alvo[PATH_MAX];
        const ssize_t n = ::readlink(nome.constData(), alvo, sizeof alvo - 1);
        if (n <= 0) break;
        const QString destino = QFile::decodeName(QByteArray(alvo, n));
        c = QDir::cleanPath(
            destino.startsWith(QLatin1Char('/')) ? destino : Pai(c) + QLatin1Char('/') + destino);
    }
    QString resto;
    QString dir = c;
    for (;;) {
        QString r;
        if (RealDoExistente(QFile::encodeName(dir), r)) {
            if (resto.isEmpty()) return r;
            return r == QLatin1String("/") ? r + resto : r + QLatin1Char('/') + resto;
        }
        if (dir == QLatin1String("/")) return c;
        const QString nome = dir.mid(dir.lastIndexOf(QLatin1Char('/')) + 1);
        resto = resto.isEmpty() ? nome : nome + QLatin1Char('/') + resto;
        dir = Pai(dir);
    }
}
