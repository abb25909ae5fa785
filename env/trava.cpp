#include "env/trava.h"

#include "env/leitura.h"
#include "env/plataforma.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QLatin1String SufixoTrava(".lck");
std::atomic<int> g_prazoTravaMs{5000};
// What is left of the run's bound for its waits; negative while no run has set one.
thread_local qint64 t_restanteMs = -1;
} // namespace

LimiteDeEsperas::LimiteDeEsperas(int ms) {
    t_restanteMs = ms;
}

LimiteDeEsperas::~LimiteDeEsperas() {
    t_restanteMs = -1;
}

bool LimiteDeEsperas::Esgotado() {
    return t_restanteMs == 0;
}

namespace {
std::atomic<int> g_limiteExecucaoMs{30000};
}

int LimiteDeEsperas::Padrao() {
    return g_limiteExecucaoMs;
}

void LimiteDeEsperas::DefinePadrao(int ms) {
    g_limiteExecucaoMs = ms;
}

QString TravaArquivo::ArquivoDaTrava(const QString &arquivo) {
    return CaminhoReal(arquivo) + SufixoTrava;
}

void TravaArquivo::DefinePrazo(int ms) {
    g_prazoTravaMs = ms;
}

int TravaArquivo::Prazo() {
    return g_prazoTravaMs;
}

TravaArquivo::TravaArquivo(const QString &arquivo, const QString &real) {
    const QString chave = real.isEmpty() ? ArquivoDaTrava(arquivo) : real + SufixoTrava;
    const QByteArray nome = QFile::encodeName(chave);
    const qint64 proprio = g_prazoTravaMs.load();
    const QDeadlineTimer prazo(t_restanteMs < 0 ? proprio : qMin(proprio, t_restanteMs));
    QElapsedTimer esperado;
    esperado.start();
    // The time waited counts against the run's bound, whatever the outcome.
    const auto desconta = qScopeGuard([&] {
        if (t_restanteMs > 0) t_restanteMs = qMax<qint64>(0, t_restanteMs - esperado.elapsed());
    });
    int esperaMs = 1;
    int fd = -1;
    for (;;) {
        if (fd < 0) {
            // O_NOFOLLOW: a link planted under the lock's name cannot make us create a file
            // elsewhere. Read-only: flock needs no more, so a lock file another user made
            // serves every operator who can read it.
            const int modos = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
            fd = ::open(nome.constData(), modos | O_CREAT, 0644);
            int erro = errno;
            // Refused in a sticky directory when someone else made it (protected_regular). When
            // it is not there either, the first refusal is the one that tells why.
            if (fd < 0 && erro == EACCES) {
                fd = ::open(nome.constData(), modos);
                if (fd < 0 && errno != ENOENT) erro = errno;
            }
            if (fd < 0) {
                m_erro = QStringLiteral("não foi possível abrir a trava %1: %2")
                             .arg(chave, MotivoDoErro(erro));
                return;
            }
        }
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            m_erro = QStringLiteral("a trava %1 não é um arquivo comum").arg(chave);
            return;
        }
        // It stays: a umask that hid it from the other operators would lock them out for good.
        // A hard link planted under the lock's name leads to someone else's file: its mode stays.
        if (st.st_uid == ::geteuid() && st.st_nlink == 1 && (st.st_mode & 0444) != 0444)
            [[maybe_unused]]
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
            m_erro =
                e == EWOULDBLOCK
                    ? QStringLiteral("o arquivo %1 está em uso por outro processo (trava %2)")
                          .arg(arquivo, chave)
                    : QStringLiteral("não foi possível travar %1: %2").arg(chave, MotivoDoErro(e));
            return;
        }
        QThread::msleep(qMin<qint64>(esperaMs, qMax<qint64>(1, prazo.remainingTime())));
        esperaMs = qMin(esperaMs * 2, 16);
    }
    m_fd = fd;
}

TravaArquivo::~TravaArquivo() {
    // The lock file stays: making and removing it at every write cost a directory update that
    // the disk then syncs with the table, about a fifth of an import record.
    if (m_fd >= 0) ::close(m_fd); // drops the flock
}
