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

using CamposRegistro = QList<QByteArray>;

// The lines of an import file: CRLF or LF ends a line, a lone CR is dropped, Ctrl-Z ends the
// text, and text after the last line end is a line of its own only when there is some.
QList<QByteArray> LinhasImportacao(const QByteArray &conteudo);

// Cuts at every separator, nothing trimmed. A field that starts with '"' runs to the closing
// quote, with "" standing for one quote, and may hold the separator. An empty line has no field.
CamposRegistro CortaCampos(const QByteArray &linha, char separador = ';');

// The status file of a run on this import file: StatusArqImportado.txt in its directory.
QString CaminhoStatus(const QString &arquivoImportacao);

// Where an import run reads and writes its tables: the installation's files themselves.
// SimulacaoImportacao (batch/simulacao.h) keeps them in memory instead.
class TabelasImportacao {
public:
    virtual ~TabelasImportacao() = default;
    virtual QString Status(const QString &arquivoImportacao) const;
    virtual bool Existe(const QString &alvo) const;
    virtual bool Le(const QString &alvo, TTabRot &tabela);
    // As GravaTabRot: throws ErroES when a missing file cannot be created.
    virtual bool Grava(const QString &alvo, const TTabRot &tabela);
};
TabelasImportacao &TabelasDaInstalacao();

// Appends the line and CRLF, creating the file. False when it cannot be opened or created;
// throws ErroES when an opened file cannot be written or closed.
bool CriarArquivoStatus(const QString &status, const QByteArray &linha);

// Checks the six fields of a record (missing ones count as empty) and writes the verdict line.
bool ValidaRegistro(const QString &status, const CamposRegistro &campos);

// Apply a valid record ("I" / "E") to the TabRot.bin it names, through the working table, and
// write the outcome line; true when the card was added or removed and the file written. Throw
// ErroES when a missing table file cannot be created.
bool AddRegArqConfBins(const QString &status, const CamposRegistro &campos, TTabRot &tabela,
                       TabelasImportacao &tabelas = TabelasDaInstalacao());
bool DelRegArqConfBins(const QString &status, const CamposRegistro &campos, TTabRot &tabela,
                       TabelasImportacao &tabelas = TabelasDaInstalacao());

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
                                   TabelasImportacao &tabelas = TabelasDaInstalacao(),
                                   const ProgressoImportacao &progresso = {});
