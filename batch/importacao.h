#pragma once
// Import of card changes from a text file into the routing tables, with the status file
// StatusArqImportado.txt beside the import file logging every line.
//
// Import file: Windows-1252 text, one record per line: company;card name;BINs;network;type;function
// (type C/D/F, function I include, E delete). Texts are Windows-1252 bytes; paths are QString.

#include "routing/tabrot.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <sys/types.h>

using CamposRegistro = QList<QByteArray>;

// The lines of an import file: CRLF or LF ends a line, a lone CR is dropped, Ctrl-Z ends the
// text, and text after the last line end is a line of its own only when there is some.
QList<QByteArray> LinhasImportacao(const QByteArray &conteudo);

// Cuts at every separator, nothing trimmed. A field that starts with '"' runs to the closing
// quote, with "" standing for one quote, and may hold the separator. An empty line has no field.
CamposRegistro CortaCampos(const QByteArray &linha, char separador = ';');

// The status file of a run on this import file: StatusArqImportado.txt in its directory, or
// another name there (the preview's).
QString CaminhoStatus(const QString &arquivoImportacao,
                      const QString &nome = QStringLiteral("StatusArqImportado.txt"));

// The status file of an import run. The run holds its lock from start to end (a second run on
// the same file waits a bounded time and is refused, never deleting it under this one), deletes
// the old file, and writes every line through one descriptor, opened without following a link
// and with no wider permissions than the import file. A line outside a run takes the lock alone.
class GravacaoGuardada;
class ArquivoStatus {
public:
    explicit ArquivoStatus(const QString &caminho);
    ~ArquivoStatus();
    ArquivoStatus(const ArquivoStatus &) = delete;
    ArquivoStatus &operator=(const ArquivoStatus &) = delete;
    const QString &Caminho() const { return m_caminho; }

    // Takes the lock for the run and deletes the old file. Throws ErroES when the lock is not
    // had (another run) or the file may not be written.
    void IniciaExecucao(mode_t modoImportacao);

    // Appends the line and CRLF, creating the file. False when it cannot be opened or created;
    // throws ErroES when an opened file cannot be written.
    bool Escreve(const QByteArray &linha);

private:
    bool Anexa(int fd, const QByteArray &linha);

    QString m_caminho;
    std::unique_ptr<GravacaoGuardada> m_execucao;
    int m_fd = -1;
    bool m_falhou = false;
    mode_t m_modo = 0666;
};

// One line into a status file, as ArquivoStatus::Escreve.
bool CriarArquivoStatus(const QString &status, const QByteArray &linha);

// Where an import run reads and writes its tables: the installation's files (TabelasNoDisco),
// or a copy in memory (SimulacaoImportacao, batch/simulacao.h).
class TabelasImportacao {
public:
    virtual ~TabelasImportacao() = default;
    virtual QString Status(const QString &arquivoImportacao) const = 0;
    // Keeps the table to the record from its read to its write, until Libera(). False when it
    // may not be written at all (outside the installation, its lock not had in time): the
    // record then fails as a failed write.
    virtual bool Reserva(const QString &alvo, bool criaDiretorio) = 0;
    virtual void Libera() {}
    virtual bool Existe(const QString &alvo) const = 0;
    virtual bool Le(const QString &alvo, TTabRot &tabela) = 0;
    // As GravaTabRot: throws ErroES when a missing file cannot be created.
    virtual bool Grava(const QString &alvo, const TTabRot &tabela) = 0;
};

class TabelasNoDisco final : public TabelasImportacao {
public:
    TabelasNoDisco();
    ~TabelasNoDisco() override;
    QString Status(const QString &arquivoImportacao) const override;
    bool Reserva(const QString &alvo, bool criaDiretorio) override;
    void Libera() override;
    bool Existe(const QString &alvo) const override;
    bool Le(const QString &alvo, TTabRot &tabela) override;
    bool Grava(const QString &alvo, const TTabRot &tabela) override;

private:
    std::unique_ptr<GravacaoGuardada> m_reserva;
};

// Checks the six fields of a record (missing ones count as empty) and writes the verdict line.
bool ValidaRegistro(ArquivoStatus &status, const CamposRegistro &campos);

// Apply a valid record ("I" / "E") to the TabRot.bin it names, through the working table, and
// write the outcome line; true when the card was added or removed and the file written. Throw
// ErroES when a missing table file cannot be created.
bool AddRegArqConfBins(ArquivoStatus &status, const CamposRegistro &campos, TTabRot &tabela,
                       TabelasImportacao &tabelas);
bool DelRegArqConfBins(ArquivoStatus &status, const CamposRegistro &campos, TTabRot &tabela,
                       TabelasImportacao &tabelas);

// What a run did with its records: every line read is one record, applied or refused (invalid,
// already there, not found, not written).
struct ResumoImportacao {
    int lidos = 0;
    int aplicados = 0;
    int recusados() const { return lidos - aplicados; }
};

// Told after every record: the records done so far and the records of the file.
using ProgressoImportacao = std::function<void(int feitos, int total)>;

// The run from the moment the file is chosen: deletes the old status file, then reads, echoes,
// validates and applies every line. Throws ErroES when the run ends early: the import file
// cannot be opened or read, a missing table file cannot be created, or an opened status file or
// the trace log cannot be written. The table afterwards holds the last file a record read.
ResumoImportacao ExecutaImportacao(const QString &arquivo, TTabRot &tabela,
                                   TabelasImportacao &tabelas,
                                   const ProgressoImportacao &progresso = {});
// The run on the installation's files.
ResumoImportacao ExecutaImportacao(const QString &arquivo, TTabRot &tabela,
                                   const ProgressoImportacao &progresso = {});
