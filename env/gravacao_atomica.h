#pragma once
// Safe replacement of the files the payment server reads: the new bytes go to a file beside the
// old one, are flushed to disk and renamed over it, and the directory entry is flushed too. A
// reader (or a crash) only ever sees the old file or the new one. Lines appended to a log are
// whole or not there.

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
// The same append, the file left open.
int AnexaInteiro(int fd, const QByteArray &bytes, qint64 tamanho);

// Removes the temporaries an interrupted save of this program left beside the file (hidden, named
// after the file and the program; an operator's copy such as "TabRot.bin.backup" is never one),
// given by its real path. Only under the file's lock (GravacaoGuardada), where no live writer
// owns them.
void RemoveTemporariosAntigos(const QString &real);
