#include "env/gravacao_atomica.h"

#include "env/erro.h"
#include "env/leitura.h"
#include "env/plataforma.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

namespace {

// The program's temporaries: hidden, and named so that no operator's copy ("TabRot.bin.backup",
// "TabRot.bin.241209") is ever taken for one: ".<name>.configurador-" and six letters or digits.
QByteArray PrefixoTemporario(const QByteArray &nome) {
    return '.' + nome + ".configurador-";
}
constexpr int LetrasTemporario = 6;

// Every byte, through short writes and interruptions. Gives 0 or the errno of the failure, and
// in `escritos` how many bytes went out.
int EscreveTudo(int fd, const QByteArray &bytes, qsizetype &escritos) {
    escritos = 0;
    while (escritos < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + escritos, size_t(bytes.size() - escritos));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        escritos += n;
    }
    return 0;
}

// The replaced file's extended attributes on the new one: its POSIX ACL (a service account that
// reads the table through one keeps reading it) and whatever else it carries. One that cannot be
// kept is told, and the save goes on.
void CopiaAtributos(const QByteArray &de, int para) {
    const ssize_t tamanho = ::listxattr(de.constData(), nullptr, 0);
    if (tamanho <= 0) return;
    QByteArray nomes(tamanho, '\0');
    const ssize_t n = ::listxattr(de.constData(), nomes.data(), size_t(nomes.size()));
    if (n <= 0) return;
    for (const QByteArray &nome : nomes.left(n).split('\0')) {
        if (nome.isEmpty()) continue;
        const ssize_t t = ::getxattr(de.constData(), nome.constData(), nullptr, 0);
        if (t < 0) continue;
        QByteArray valor(t, '\0');
        const ssize_t lido = ::getxattr(de.constData(), nome.constData(), valor.data(), size_t(t));
        if (lido < 0 ||
            ::fsetxattr(para, nome.constData(), valor.constData(), size_t(lido), 0) != 0)
            AvisaErro(
                QStringLiteral("%1: atributo %2 não mantido: %3")
                    .arg(QFile::decodeName(de), QString::fromLatin1(nome), MotivoDoErro(errno)));
    }
}

} // namespace

Gravacao GravaArquivoAtomico(const QString &caminho, const QByteArray &bytes, QString *erro) {
    auto falha = [&](Gravacao g, const QString &motivo) {
        if (erro) *erro = motivo;
        return g;
    };
    // A link is written through: its target is the file replaced, the link stays.
    const QString alvo = QFileInfo(caminho).isSymLink() ? CaminhoReal(caminho) : caminho;
    const QByteArray nome = QFile::encodeName(alvo);
    struct stat antigo;
    const bool existia = ::stat(nome.constData(), &antigo) == 0;
    if (existia) {
        if (!S_ISREG(antigo.st_mode))
            return falha(Gravacao::FalhaAbertura, QStringLiteral("não é um arquivo"));
        if ((antigo.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return falha(Gravacao::FalhaAbertura, QStringLiteral("arquivo somente leitura"));
        if (::access(nome.constData(), W_OK) != 0)
            return falha(Gravacao::FalhaAbertura, MotivoDoErro(errno));
    }

    const QString dir = QFileInfo(alvo).absolutePath();
    const QByteArray prefixo = QFile::encodeName(dir) + '/' +
                               PrefixoTemporario(QFile::encodeName(QFileInfo(alvo).fileName()));
    QByteArray temporario;
    int fd = -1;
    for (int tentativa = 0; tentativa < 100 && fd < 0; ++tentativa) {
        static constexpr char letras[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        temporario = prefixo;
        for (int i = 0; i < LetrasTemporario; ++i)
            temporario += letras[QRandomGenerator::global()->bounded(int(sizeof letras) - 1)];
        fd = ::open(temporario.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return falha(Gravacao::FalhaAbertura, MotivoDoErro(errno));
    auto desiste = [&](int e) {
        ::close(fd);
        ::unlink(temporario.constData());
        return falha(Gravacao::FalhaEscrita, MotivoDoErro(e));
    };
    if (existia) {
        ::fchmod(fd, antigo.st_mode & 07777);
        // Only root may give the file back to its owner; elsewhere the owner is us already.
        if (::geteuid() == 0) [[maybe_unused]]
            const int r = ::fchown(fd, antigo.st_uid, antigo.st_gid);
        CopiaAtributos(nome, fd);
    } else {
        ::fchmod(fd, ModoDeArquivoNovo());
    }
    // Every byte written and on the disk before the new file takes the old one's name: a short
    // or unsynced file is never renamed over a table.
    qsizetype escritos = 0;
    if (const int e = EscreveTudo(fd, bytes, escritos); e != 0) return desiste(e);
    if (::fdatasync(fd) != 0) return desiste(errno);
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(temporario.constData());
        return falha(Gravacao::FalhaEscrita, MotivoDoErro(e));
    }
    if (::rename(temporario.constData(), nome.constData()) != 0) {
        const int e = errno;
        ::unlink(temporario.constData());
        return falha(Gravacao::FalhaEscrita, MotivoDoErro(e));
    }
    // The new file is in place, but its name may not survive a power loss.
    if (!SincronizaDiretorio(dir))
        return falha(Gravacao::FalhaEscrita,
                     QStringLiteral("o diretório não foi gravado no disco: ") +
                         MotivoDoErro(errno));
    return Gravacao::Ok;
}

void RemoveTemporariosAntigos(const QString &real) {
    const QString dir = QFileInfo(real).absolutePath();
    const QByteArray prefixo = PrefixoTemporario(QFile::encodeName(QFileInfo(real).fileName()));
    DIR *d = ::opendir(QFile::encodeName(dir).constData());
    if (!d) return;
    while (const dirent *e = ::readdir(d)) {
        const QByteArray nome(e->d_name);
        if (nome.size() != prefixo.size() + LetrasTemporario || !nome.startsWith(prefixo)) continue;
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

int AnexaInteiro(int fd, const QByteArray &bytes, qint64 tamanho) {
    qsizetype escritos = 0;
    const int erro = EscreveTudo(fd, bytes, escritos);
    if (erro != 0 && escritos > 0) [[maybe_unused]]
        const int r = ::ftruncate(fd, off_t(tamanho));
    return erro;
}

int AnexaInteiroEFecha(int fd, const QByteArray &bytes, qint64 tamanho) {
    int erro = AnexaInteiro(fd, bytes, tamanho);
    if (::close(fd) != 0 && erro == 0) erro = errno;
    return erro;
}
