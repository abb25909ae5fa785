#pragma once
// Reads of the installation's files: only a regular file is read (a FIFO, device, socket or
// directory in its place is a file that cannot be read, never waited on), opened without
// blocking, and never more than a bound.

#include <QByteArray>
#include <QString>

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

// The system's text for an errno.
QString MotivoDoErro(int erro);
