#include "env/gravacao_atomica.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool SomenteLeitura(const QString &caminho) {
    struct stat st;
    if (::stat(QFile::encodeName(caminho).constData(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool SincronizaDiretorio(const QString &diretorio) {
    const int fd = ::open(QFile::encodeName(diretorio).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    // EINVAL: a file system that has no directory sync; there is nothing more to do there.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int erro = errno;
    ::close(fd);
    errno = erro;
    return ok;
}

static mode_t ModoDeArquivoNovo() {
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    return 0666 & ~mascara;
}

Gravacao GravaArquivoAtomico(const QString &caminho, const QByteArray &bytes, QString *erro) {
    auto falha = [&](Gravacao g, const QString &motivo) {
        if (erro) *erro = motivo;
        return g;
    };
    const QByteArray nome = QFile::encodeName(caminho);
    struct stat antigo;
    const bool existia = ::stat(nome.constData(), &antigo) == 0;
    if (existia) {
        if (!S_ISREG(antigo.st_mode))
            return falha(Gravacao::FalhaAbertura, QStringLiteral("não é um arquivo"));
        if ((antigo.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return falha(Gravacao::FalhaAbertura, QStringLiteral("arquivo somente leitura"));
        if (::access(nome.constData(), W_OK) != 0)
            return falha(Gravacao::FalhaAbertura, QString::fromLocal8Bit(std::strerror(errno)));
    }

    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return falha(Gravacao::FalhaAbertura, arquivo.errorString());
    const int fd = arquivo.handle();
    if (existia) {
        ::fchmod(fd, antigo.st_mode & 07777);
        // Only root may give the file back to its owner; elsewhere the owner is us already.
        if (::geteuid() == 0) [[maybe_unused]]
            const int r = ::fchown(fd, antigo.st_uid, antigo.st_gid);
    } else {
        ::fchmod(fd, ModoDeArquivoNovo());
    }
    // QSaveFile buffers the bytes and, on commit, neither sees a failed flush nor a failed sync:
    // it would rename a short or empty file over the old one and report success. So the bytes
    // are flushed and synced here, and any failure cancels the new file.
    if (arquivo.write(bytes) != bytes.size() || !arquivo.flush()) {
        const QString motivo = arquivo.errorString();
        arquivo.cancelWriting();
        return falha(Gravacao::FalhaEscrita, motivo);
    }
    if (::fdatasync(fd) != 0) {
        const QString motivo = QString::fromLocal8Bit(std::strerror(errno));
        arquivo.cancelWriting();
        return falha(Gravacao::FalhaEscrita, motivo);
    }
    if (!arquivo.commit()) return falha(Gravacao::FalhaEscrita, arquivo.errorString());
    // The new file is in place, but its name may not survive a power loss.
    if (!SincronizaDiretorio(QFileInfo(caminho).absolutePath()))
        return falha(Gravacao::FalhaEscrita,
                     QStringLiteral("o diretório não foi gravado no disco: ") +
                         QString::fromLocal8Bit(std::strerror(errno)));
    return Gravacao::Ok;
}

void RemoveTemporariosAntigos(const QString &real) {
    const QString dir = QFileInfo(real).absolutePath();
    const QByteArray prefixo =
        QFile::encodeName(real.mid(real.lastIndexOf(QLatin1Char('/')) + 1)) + '.';
    DIR *d = ::opendir(QFile::encodeName(dir).constData());
    if (!d) return;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray nome(e->d_name);
        // QSaveFile's temporaries: the name, a dot and six letters or digits.
        if (nome.size() != prefixo.size() + 6 || !nome.startsWith(prefixo)) continue;
        bool aleatorio = true;
        for (qsizetype i = prefixo.size(); i < nome.size(); ++i)
            aleatorio = aleatorio && std::isalnum(static_cast<unsigned char>(nome[i]));
        if (!aleatorio) continue;
        const QByteArray caminho = QFile::encodeName(dir) + '/' + nome;
        struct stat st;
        if (::lstat(caminho.constData(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(caminho.constData());
    }
    ::closedir(d);
}

int AnexaInteiroEFecha(int fd, const QByteArray &bytes, qint64 tamanho) {
    const char *p = bytes.constData();
    qsizetype falta = bytes.size();
    int erro = 0;
    while (falta > 0) {
        const ssize_t n = ::write(fd, p, size_t(falta));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            erro = n < 0 ? errno : EIO;
            break;
        }
        p += n;
        falta -= n;
    }
    if (erro != 0 && falta != bytes.size()) [[maybe_unused]]
        const int r = ::ftruncate(fd, off_t(tamanho));
    if (::close(fd) != 0 && erro == 0) erro = errno;
    return erro;
}
