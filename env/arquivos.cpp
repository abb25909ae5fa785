#include "env/arquivos.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <QThread>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

namespace {

QString Motivo(int erro) {
    return QString::fromLocal8Bit(std::strerror(erro));
}

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
        return falha(e == ENOENT || e == ENOTDIR ? Leitura::NaoExiste : Leitura::Falha, Motivo(e));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        return falha(Leitura::Falha, Motivo(e));
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
    if (e != 0) return falha(Leitura::Falha, Motivo(e));
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

namespace {

QString Limpo(const QString &caminho) {
    return QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
}

QString Pai(const QString &caminho) {
    const qsizetype barra = caminho.lastIndexOf(QLatin1Char('/'));
    return barra <= 0 ? QStringLiteral("/") : caminho.left(barra);
}

// The real path of a file that may not exist yet: the links of the file itself followed (a
// dangling one to where it points), then the real path of the nearest directory that exists.
QString Real(const QString &caminho) {
    QString c = Limpo(caminho);
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
        char real[PATH_MAX];
        if (::realpath(QFile::encodeName(dir).constData(), real)) {
            QString r = QFile::decodeName(real);
            if (resto.isEmpty()) return r;
            return r == QLatin1String("/") ? r + resto : r + QLatin1Char('/') + resto;
        }
        if (dir == QLatin1String("/")) return c;
        const QString nome = dir.mid(dir.lastIndexOf(QLatin1Char('/')) + 1);
        resto = resto.isEmpty() ? nome : nome + QLatin1Char('/') + resto;
        dir = Pai(dir);
    }
}

bool Sob(const QString &caminho, const QString &raiz) {
    return caminho == raiz || raiz == QLatin1String("/") ||
           (caminho.startsWith(raiz) && caminho.at(raiz.size()) == QLatin1Char('/'));
}

struct TravaAtiva {
    int fd = -1;
    int titulares = 0;
};

QMutex g_mutexTravas;
QHash<QString, TravaAtiva> g_travas;
std::atomic<int> g_prazoTravaMs{5000};

} // namespace

bool DentroDaInstalacao(const QString &caminho, const QString &raiz, QString *motivo) {
    const QString raizEscrita = Limpo(raiz);
    if (!Sob(Limpo(caminho), raizEscrita)) return true;
    const QString raizReal = Real(raizEscrita);
    const QString real = Real(caminho);
    if (Sob(real, raizReal)) return true;
    if (motivo) *motivo = QStringLiteral("%1 leva para fora da instalação (%2)").arg(caminho, real);
    return false;
}

void AvisaErro(const QString &texto) {
    const QByteArray linha = "configurador-roteamento: " + texto.toLocal8Bit() + '\n';
    std::fwrite(linha.constData(), 1, size_t(linha.size()), stderr);
    std::fflush(stderr);
}

QString TravaArquivo::ArquivoDaTrava(const QString &arquivo) {
    return Real(arquivo) + QStringLiteral(".lck");
}

void TravaArquivo::DefinePrazo(int ms) {
    g_prazoTravaMs = ms;
}

int TravaArquivo::Prazo() {
    return g_prazoTravaMs;
}

TravaArquivo::TravaArquivo(const QString &arquivo) : m_chave(ArquivoDaTrava(arquivo)) {
    const QMutexLocker guarda(&g_mutexTravas);
    const auto ativa = g_travas.find(m_chave);
    if (ativa != g_travas.end()) {
        ++ativa->titulares;
        m_obtida = true;
        return;
    }
    const QByteArray nome = QFile::encodeName(m_chave);
    const QDeadlineTimer prazo(g_prazoTravaMs.load());
    int esperaMs = 1;
    int fd = -1;
    for (;;) {
        if (fd < 0) {
            // O_NOFOLLOW: a link planted under the lock's name cannot make us create a file
            // elsewhere.
            fd = ::open(nome.constData(),
                        O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
            if (fd < 0) {
                m_erro = QStringLiteral("não foi possível abrir a trava %1: %2")
                             .arg(m_chave, Motivo(errno));
                return;
            }
        }
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            m_erro = QStringLiteral("a trava %1 não é um arquivo comum").arg(m_chave);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The holder before us removed the lock file as it let go: ours counts only while
            // the name still leads to it, else a new one is made.
            struct stat noNome;
            if (::stat(nome.constData(), &noNome) == 0 && noNome.st_dev == st.st_dev &&
                noNome.st_ino == st.st_ino)
                break;
            ::close(fd);
            fd = -1;
            continue;
        }
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || prazo.hasExpired()) {
            const int e = errno;
            ::close(fd);
            m_erro = e == EWOULDBLOCK
                         ? QStringLiteral("o arquivo %1 está em uso por outro processo (trava %2)")
                               .arg(arquivo, m_chave)
                         : QStringLiteral("não foi possível travar %1: %2").arg(m_chave, Motivo(e));
            return;
        }
        QThread::msleep(qMin<qint64>(esperaMs, qMax<qint64>(1, prazo.remainingTime())));
        esperaMs = qMin(esperaMs * 2, 16);
    }
    g_travas.insert(m_chave, TravaAtiva{fd, 1});
    m_obtida = true;
}

TravaArquivo::~TravaArquivo() {
    if (!m_obtida) return;
    const QMutexLocker guarda(&g_mutexTravas);
    const auto ativa = g_travas.find(m_chave);
    if (ativa == g_travas.end() || --ativa->titulares > 0) return;
    // Removed while still held, so that no one takes the name's lock in between; whoever waits
    // on the old file sees it is gone and makes a new one. Nothing is left in the installation.
    ::unlink(QFile::encodeName(m_chave).constData());
    ::close(ativa->fd); // drops the flock
    g_travas.erase(ativa);
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

bool TravadoPorEsteProcesso(const QString &arquivo) {
    const QMutexLocker guarda(&g_mutexTravas);
    return g_travas.contains(TravaArquivo::ArquivoDaTrava(arquivo));
}

void RemoveTemporariosAntigos(const QString &arquivo) {
    if (!TravadoPorEsteProcesso(arquivo)) return;
    const QString real = Real(arquivo);
    const QString dir = Pai(real);
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
