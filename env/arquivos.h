#pragma once
// Safe replacement of the files the payment server reads: the new bytes go to a file beside the
// old one, are flushed to disk and renamed over it, and the directory entry is flushed too. A
// reader (or a crash) only ever sees the old file or the new one.

#include <QByteArray>
#include <QString>

// The Windows read-only attribute: the file exists and no write permission bit is set. Root
// would be let through by the kernel, so the bits are checked before every write.
bool SomenteLeitura(const QString &caminho);

enum class Gravacao {
    Ok,
    FalhaAbertura, // the file could not be created or opened (read-only, no directory, ...)
    FalhaEscrita,  // writing, flushing or renaming failed; the old file is untouched (or, when
                   // only the directory could not be flushed after the rename, the new file is
                   // complete in its place)
};

// Replaces (or creates) the file with exactly these bytes. An existing file keeps its permission
// bits and, where the process may, its owner. `erro` receives the reason on failure.
Gravacao GravaArquivoAtomico(const QString &caminho, const QByteArray &bytes,
                             QString *erro = nullptr);

// Flushes a directory's entries to disk (QSaveFile syncs the file, not the rename).
bool SincronizaDiretorio(const QString &diretorio);

// Appends these bytes to a file opened for appending whose size was `tamanho`, and closes it.
// A write that stops part-way (a full disk, a size limit) takes the file back to `tamanho`, so a
// reader never meets half a line. Gives 0 or the errno of the failure.
int AnexaInteiroEFecha(int fd, const QByteArray &bytes, qint64 tamanho);

// Reads of the installation's files: only a regular file is read (a FIFO, device, socket or
// directory in its place is a file that cannot be read, never waited on), opened without
// blocking, and never more than a bound.
enum class Leitura {
    Ok,
    NaoExiste,  // no file by that name
    NaoRegular, // a FIFO, device, socket or directory
    Grande,     // above the bound (only LeArquivoInteiro)
    Falha,      // it exists but cannot be opened or read
};
// The whole file, refused when it holds more than `limite` bytes.
Leitura LeArquivoInteiro(const QString &caminho, qint64 limite, QByteArray &bytes,
                         QString *erro = nullptr);
// At most the first `maximo` bytes; the rest of a longer file is not read.
Leitura LeInicioArquivo(const QString &caminho, qint64 maximo, QByteArray &bytes,
                        QString *erro = nullptr);
// Bounds of what is read whole.
constexpr qint64 TamMaxPerfil = qint64(1) << 20;      // profile (ini) files
constexpr qint64 TamMaxImportacao = qint64(64) << 20; // import files

// One writer at a time: an exclusive flock on "<file>.lck" beside the file, held while the
// object lives. The kernel drops it when the process dies, so a crash leaves no stale lock; the
// empty lock file itself stays for the next writer.
// Taken again in the same process (a save inside a record's read and write) it is shared by
// the nested holders. The wait is bounded; obtida() is false after it, with the reason in erro().
// `real`: the file's real path, when the caller has resolved it (DentroDaInstalacao, CaminhoReal).
class TravaArquivo {
public:
    explicit TravaArquivo(const QString &arquivo, const QString &real = QString());
    ~TravaArquivo();
    TravaArquivo(const TravaArquivo &) = delete;
    TravaArquivo &operator=(const TravaArquivo &) = delete;

    bool obtida() const { return m_obtida; }
    const QString &erro() const { return m_erro; }

    static QString ArquivoDaTrava(const QString &arquivo);
    // The wait before giving up (a few seconds unless changed).
    static void DefinePrazo(int ms);
    static int Prazo();

private:
    QString m_chave;
    bool m_obtida = false;
    QString m_erro;
};

// What a reader saw of a file (size, modification time, inode, a hash of its first bytes), to
// tell at the next save whether someone else changed it since.
struct MarcaArquivo {
    bool existe = false;
    qint64 tamanho = 0;
    qint64 modificacaoNs = 0;
    quint64 dispositivo = 0;
    quint64 inode = 0;
    QByteArray hash;
    bool operator==(const MarcaArquivo &) const = default;
};
MarcaArquivo MarcaDoArquivo(const QString &caminho, qint64 maximo);

// True while this process holds the lock of the file.
bool TravadoPorEsteProcesso(const QString &arquivo);

// Removes the temporaries ("<name>.XXXXXX") an interrupted save left beside the file. Only under
// the file's lock, where no live writer can own them.
void RemoveTemporariosAntigos(const QString &arquivo);

// Writes into the installation never follow a link out of it: for a path under the root as
// written, false when its real path (every link of the file and of its directories followed,
// a dangling one too) lies outside the root's real path; `motivo` then says where it leads.
// A path outside the root as written is the operator's own choice and is let through. A file
// whose lock this process holds is judged by the real path its lock was taken at. `real`, when
// given, receives the real path judged (empty for a path outside the root as written).
bool DentroDaInstalacao(const QString &caminho, const QString &raiz, QString *motivo = nullptr,
                        QString *real = nullptr);

// The real path of a file that may not exist yet: every link of the file and of its directories
// followed, a dangling one to where it points.
QString CaminhoReal(const QString &caminho);

// A refused write told on standard error (and by the caller in the trace).
void AvisaErro(const QString &texto);
