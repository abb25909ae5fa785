#pragma once
// The import preview: the whole import run against a copy of the installation's tables in
// memory. Nothing under the installation is written, created or traced; the status file goes
// beside the import file as StatusArqImportado.simulacao.txt, followed by what would change.

#include "batch/importacao.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// A table is read from its file (without a trace entry) the first time a record names it; every
// write goes into the copy, with the verdict the real write would have where it can be told
// beforehand: a read-only file refuses it, a missing directory whose parent is missing ends the
// run. A full disk cannot be foreseen.
class SimulacaoImportacao : public TabelasImportacao {
public:
    QString Status(const QString &arquivoImportacao) const override;
    // Nothing to hold; a table out of the installation is refused as the real run refuses it,
    // without a trace.
    bool Reserva(const QString &alvo, bool criaDiretorio) override;
    bool Existe(const QString &alvo) const override;
    bool Le(const QString &alvo, TTabRot &tabela) override;
    bool Grava(const QString &alvo, const TTabRot &tabela) override;

    // The tables whose bytes would change, in the order the run first wrote them, each with the
    // cards it would gain and lose.
    QList<QByteArray> LinhasResumo() const;

private:
    struct Copia {
        bool existia = false; // the file was there at the start
        QByteArray original;  // its bytes then
        bool existe = false;  // in the copy
        bool legivel = false; // in the copy: the reader takes it
        QByteArray atual;     // the bytes in the copy
    };
    Copia &Tabela(const QString &alvo);

    QMap<QString, Copia> m_copias;
    QStringList m_gravadas; // first write order
};

struct ResumoSimulacao {
    ResumoImportacao registros; // as the real run would count them
    QList<QByteArray> linhas;   // the summary written after the status lines
};

// Runs the preview and appends the summary to its status file. Throws ErroES as the real run
// would (the summary then says where the run would have ended), or when the status file cannot
// be written.
ResumoSimulacao SimulaImportacao(const QString &arquivo, TTabRot &tabela);
