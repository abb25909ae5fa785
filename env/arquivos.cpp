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

bool Sob(const QString &caminho, const QString &raiz) {
    return caminho == raiz || raiz == QLatin1String("/") ||
           (caminho.startsWith(raiz) && caminho.at(raiz.size()) == QLatin1Char('/'));
}

struct TravaAtiva {
    int fd = -1;
    int titulares = 0;
    QStringList nomes; // the paths it was asked by, while held
};

QMutex g_mutexTravas;
QHash<QString, TravaAtiva> g_travas;
// A lock taken again by the same path while held is the same lock: its name is not resolved
// anew (each resolution walks the whole path in the kernel, several times per import record).
QHash<QString, QString> g_chavePorNome;

// The held lock's name for this path, if this process holds it. Under g_mutexTravas.
QString ChaveTida(const QString &arquivo) {
    return g_chavePorNome.value(arquivo);
}
QString ChaveTidaTravando(const QString &arquivo) {
    const QMutexLocker guarda(&g_mutexTravas);
    return ChaveTida(arquivo);
}

// A lock's name is the file's real path and this.
const QLatin1String SufixoTrava(".lck");
QString RealDaChave(const QString &chave) {
    return chave.chopped(SufixoTrava.size());
}
std::atomic<int> g_prazoTravaMs{5000};

// The root is resolved once per process (once it exists). A root made a link elsewhere later
// only gets the paths through it refused, never let through.
QString RaizReal(const QString &raizEscrita) {
    static QMutex mutex;
    static QString escrita, real;
    const QMutexLocker guarda(&mutex);
    if (escrita == raizEscrita) return real;
    const QString agora = Real(raizEscrita);
    struct stat st;
    if (::stat(QFile::encodeName(agora).constData(), &st) == 0) { // not yet made: asked again
        escrita = raizEscrita;
        real = agora;
    }
    return agora;
}

} // namespace

bool DentroDaInstalacao(const QString &caminho, const QString &raiz, QString *motivo,
                        QString *realJulgado) {
    const QString raizEscrita = Limpo(raiz);
    if (!Sob(Limpo(caminho), raizEscrita)) return true;
    const QString raizReal = RaizReal(raizEscrita);
    const QString tida = ChaveTidaTravando(caminho);
    const QString real = tida.isEmpty() ? Real(caminho) : RealDaChave(tida);
    if (realJulgado) *realJulgado = real;
    if (Sob(real, raizReal)) return true;
    if (motivo) *motivo = QStringLiteral("%1 leva para fora da instalação (%2)").arg(caminho, real);
    return false;
}

QString CaminhoReal(const QString &caminho) {
    return Real(caminho);
}

void AvisaErro(const QString &texto) {
    const QByteArray linha = "configurador-roteamento: " + texto.toLocal8Bit() + '\n';
    std::fwrite(linha.constData(), 1, size_t(linha.size()), stderr);
    std::fflush(stderr);
}

QString TravaArquivo::ArquivoDaTrava(const QString &arquivo) {
    return Real(arquivo) + SufixoTrava;
}

void TravaArquivo::DefinePrazo(int ms) {
    g_prazoTravaMs = ms;
}

int TravaArquivo::Prazo() {
    return g_prazoTravaMs;
}

TravaArquivo::TravaArquivo(const QString &arquivo, const QString &real) {
    {
        const QMutexLocker guarda(&g_mutexTravas);
        m_chave = ChaveTida(arquivo);
        if (!m_chave.isEmpty()) {
            ++g_travas[m_chave].titulares;
            m_obtida = true;
            return;
        }
    }
    m_chave = real.isEmpty() ? ArquivoDaTrava(arquivo) : real + SufixoTrava;
    const QMutexLocker guarda(&g_mutexTravas);
    const auto ativa = g_travas.find(m_chave);
    if (ativa != g_travas.end()) {
        ++ativa->titulares;
        ativa->nomes << arquivo;
        g_chavePorNome.insert(arquivo, m_chave);
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
            // elsewhere. Read-only: flock needs no more, so a lock file another user made
            // serves every operator who can read it.
            const int modos = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
            fd = ::open(nome.constData(), modos | O_CREAT, 0644);
            // Refused in a sticky directory when someone else made it (protected_regular).
            if (fd < 0 && errno == EACCES) fd = ::open(nome.constData(), modos);
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
        // It stays: a umask that hid it from the other operators would lock them out for good.
        if (st.st_uid == ::geteuid() && (st.st_mode & 0444) != 0444) [[maybe_unused]]
            const int r = ::fchmod(fd, (st.st_mode & 07777) | 0444);
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // Someone removed the lock file while we waited: ours counts only while the name
            // still leads to it, else a new one is made.
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
    g_travas.insert(m_chave, TravaAtiva{fd, 1, {arquivo}});
    g_chavePorNome.insert(arquivo, m_chave);
    m_obtida = true;
}

TravaArquivo::~TravaArquivo() {
    if (!m_obtida) return;
    const QMutexLocker guarda(&g_mutexTravas);
    const auto ativa = g_travas.find(m_chave);
    if (ativa == g_travas.end() || --ativa->titulares > 0) return;
    // The lock file stays: making and removing it at every write cost a directory update that
    // the disk then syncs with the table, about a fifth of an import record.
    ::close(ativa->fd); // drops the flock
    for (const QString &nome : std::as_const(ativa->nomes))
        g_chavePorNome.remove(nome);
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

namespace {

// The lock's name if this process holds the file's lock, else empty.
QString ChaveSeTravado(const QString &arquivo) {
    const QString tida = ChaveTidaTravando(arquivo);
    if (!tida.isEmpty()) return tida;
    const QString chave = TravaArquivo::ArquivoDaTrava(arquivo);
    const QMutexLocker guarda(&g_mutexTravas);
    return g_travas.contains(chave) ? chave : QString();
}

} // namespace

bool TravadoPorEsteProcesso(const QString &arquivo) {
    return !ChaveSeTravado(arquivo).isEmpty();
}

void RemoveTemporariosAntigos(const QString &arquivo) {
    const QString chave = ChaveSeTravado(arquivo);
    if (chave.isEmpty()) return;
    const QString real = RealDaChave(chave);
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
