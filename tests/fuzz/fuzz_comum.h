#pragma once
// What the fuzz targets share: a scratch installation of their own (a drive in a temporary
// directory, pointed at by VARDO_UNIDADE) and a cursor that splits the fuzzed bytes into the
// pieces a target needs. Built with clang for libFuzzer and with g++ for the corpus replay.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzz {

// A failed property: print it and abort, so that libFuzzer (or the replay) reports the input.
[[noreturn]] inline void Falha(const char *o_que) {
    std::fprintf(stderr, "fuzz: propriedade violada: %s\n", o_que);
    std::abort();
}
#define FUZZ_EXIGE(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) ::fuzz::Falha(#cond);                                                         \
    } while (0)

// Everything under a directory goes, the directory stays. POSIX calls, because a fuzzed file
// name need not be valid UTF-8 and QDir could not name it.
inline void EsvaziaBytes(const QByteArray &diretorio) {
    DIR *d = ::opendir(diretorio.constData());
    if (!d) return;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray nome(e->d_name);
        if (nome == "." || nome == "..") continue;
        const QByteArray c = diretorio + '/' + nome;
        struct stat st;
        if (::lstat(c.constData(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            EsvaziaBytes(c);
            ::rmdir(c.constData());
        } else {
            ::unlink(c.constData());
        }
    }
    ::closedir(d);
}
inline void Esvazia(const QString &diretorio) {
    EsvaziaBytes(QFile::encodeName(diretorio));
}

// The drive of this process: <tmp>/Vardo/config with Empresas, made once. tmpfs when there is
// one, so that the file-heavy targets are not slowed down by a disk.
inline const QString &Unidade() {
    static const QString unidade = [] {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath();
        static QTemporaryDir *dir = new QTemporaryDir(base + QStringLiteral("/vardo-fuzz-XXXXXX"));
        if (!dir->isValid()) Falha("diretório temporário");
        std::atexit([] {
            EsvaziaBytes(QFile::encodeName(dir->path()));
            delete dir;
        });
        const QString u = dir->path();
        QDir().mkpath(u + QStringLiteral("/Vardo/config/Empresas"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(u));
        return u;
    }();
    return unidade;
}

inline QString Config() {
    return Unidade() + QStringLiteral("/Vardo/config");
}

inline bool Escreve(const QString &caminho, const QByteArray &bytes) {
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray Le(const QString &caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Reads the fuzzed bytes piece by piece; past the end every piece is empty or zero.
class Cursor {
public:
    Cursor(const std::uint8_t *dados, size_t tamanho)
        : m_p(reinterpret_cast<const char *>(dados)), m_n(qsizetype(tamanho)) {}

    std::uint8_t Byte() { return m_i < m_n ? std::uint8_t(m_p[m_i++]) : 0; }
    // A piece of at most `maximo` bytes, its length taken from the next byte.
    QByteArray Pedaco(int maximo) {
        const qsizetype n = qMin<qsizetype>(qMin<qsizetype>(Byte(), maximo), m_n - m_i);
        const QByteArray r(m_p + m_i, n);
        m_i += n;
        return r;
    }
    // The bytes up to the next `sep` (not included), or to the end.
    QByteArray Ate(char sep) {
        qsizetype j = m_i;
        while (j < m_n && m_p[j] != sep)
            ++j;
        const QByteArray r(m_p + m_i, j - m_i);
        m_i = j < m_n ? j + 1 : j;
        return r;
    }
    QByteArray Resto() {
        const QByteArray r(m_p + m_i, m_n - m_i);
        m_i = m_n;
        return r;
    }
    bool Fim() const { return m_i >= m_n; }

private:
    const char *m_p;
    qsizetype m_n;
    qsizetype m_i = 0;
};

} // namespace fuzz
