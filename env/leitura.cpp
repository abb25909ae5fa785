#include "env/leitura.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString MotivoDoErro(int erro) {
    return QString::fromLocal8Bit(std::strerror(erro));
}

namespace {

Leitura LeRegular(const QString &caminho, qint64 maximo, bool inteiro, QByteArray &bytes,
                  QString *erro) {
    auto falha = [&](Leitura l, const QString &motivo) {
        if (erro) *erro = motivo;
        return l;
    };
    // Without O_NONBLOCK a FIFO would wait for a writer forever before fstat could tell.
    const int fd = ::open(QFile::encodeName(caminho).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int e = errno;
        return falha(e == ENOENT || e == ENOTDIR ? Leitura::NaoExiste : Leitura::Falha,
                     MotivoDoErro(e));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        return falha(Leitura::Falha, MotivoDoErro(e));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return falha(Leitura::NaoRegular, QStringLiteral("não é um arquivo comum"));
    }
    const QString grande = QStringLiteral("arquivo maior que %1 bytes").arg(maximo);
    if (inteiro && st.st_size > maximo) {
        ::close(fd);
        return falha(Leitura::Grande, grande);
    }
    // The size given by fstat may be wrong (a file that grows, /proc): one byte past the bound
    // tells a longer file apart.
    const qint64 alvo = inteiro ? maximo + 1 : maximo;
    QByteArray b;
    b.resize(qMin<qint64>(qMax<qint64>(st.st_size, 0) + 1, alvo));
    qint64 lidos = 0;
    int e = 0;
    while (lidos < alvo) {
        if (lidos == b.size()) b.resize(qMin<qint64>(b.size() * 2 + 4096, alvo));
        const ssize_t n = ::read(fd, b.data() + lidos, size_t(b.size() - lidos));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) e = errno;
        if (n <= 0) break;
        lidos += n;
    }
    ::close(fd);
    if (e != 0) return falha(Leitura::Falha, MotivoDoErro(e));
    if (inteiro && lidos > maximo) return falha(Leitura::Grande, grande);
    b.truncate(lidos);
    bytes = std::move(b);
    return Leitura::Ok;
}

} // namespace

Leitura LeArquivoInteiro(const QString &caminho, qint64 limite, QByteArray &bytes, QString *erro) {
    return LeRegular(caminho, limite, true, bytes, erro);
}

Leitura LeInicioArquivo(const QString &caminho, qint64 maximo, QByteArray &bytes, QString *erro) {
    return LeRegular(caminho, maximo, false, bytes, erro);
}

MarcaArquivo MarcaDoArquivo(const QString &caminho, qint64 maximo) {
    MarcaArquivo m;
    struct stat st;
    if (::stat(QFile::encodeName(caminho).constData(), &st) != 0) return m;
    m.existe = true;
    m.tamanho = st.st_size;
    m.modificacaoNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    m.dispositivo = st.st_dev;
    m.inode = st.st_ino;
    QByteArray bytes;
    if (LeInicioArquivo(caminho, maximo, bytes) == Leitura::Ok)
        m.hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return m;
}
