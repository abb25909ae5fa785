#pragma once
// The routing table and its file TabRot.bin.
//
// File: header (u16 always 1, u16 Qtd), then per entry: Nome (31 bytes as in memory), CodRede
// (u16), Tipo (u8), BIN count (u16), and the first 20 bytes of each BIN field. Little-endian.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

constexpr int MaxCartoes = 350;
constexpr int MaxBins = 20;
constexpr int TamNome = 31; // 30 characters and a NUL
constexpr int TamBin = 21;  // 20 characters and a NUL
constexpr int TamBinNoArquivo = 20;
constexpr int TamCabecalho = 4;
constexpr int TamBlocoEntrada = 36;

enum TipoCartao : std::uint8_t {
    TipoCredito = 1,
    TipoDebito = 2,
    TipoCombustivel = 3,
    TipoPadraoCredito = 255,
    TipoPadraoDebito = 254,
    TipoPadraoCombustivel = 253,
};

#pragma pack(push, 1)
struct TCartao {
    char Nome[TamNome];
    std::uint16_t CodRede;
    std::uint8_t Tipo;
    std::uint8_t QtdBins;
    char Bins[MaxBins][TamBin];
};

struct TTabRot {
    std::uint16_t Qtd;
    TCartao Cartoes[MaxCartoes]; // entry 1 of the file is Cartoes[0]
};
#pragma pack(pop)

static_assert(sizeof(TCartao) == 455, "card entry layout");
static_assert(sizeof(TTabRot) == 159252, "routing table layout");
static_assert(offsetof(TCartao, CodRede) == 31 && offsetof(TCartao, Tipo) == 33 &&
                  offsetof(TCartao, QtdBins) == 34 && offsetof(TCartao, Bins) == 35,
              "card entry field offsets");

// Largest file the table can hold: 350 entries of 20 BINs.
constexpr qsizetype TamMaxTabRot =
    TamCabecalho + qsizetype(MaxCartoes) * (TamBlocoEntrada + MaxBins * TamBinNoArquivo);

// Zero-fills the whole table (Qtd becomes 0).
void LimpaTabRot(TTabRot &tabela);

// Writes the text and one NUL from the field's first byte, cut so that it fits the field;
// bytes after the NUL stay as they were.
void CopiaTextoParaCampo(const QByteArray &texto, char *campo, int tamanho);
template <int N> void CopiaTextoParaCampo(const QByteArray &texto, char (&campo)[N]) {
    CopiaTextoParaCampo(texto, campo, N);
}
// The characters up to the first NUL, never more than tamanho - 1.
QByteArray CopiaCampoParaTexto(const char *campo, int tamanho);

// The BINs of an entry as every reader sees them: fields 1 to QtdBins (at most 20) up to the
// first empty one.
QList<QByteArray> BinsDoCartao(const TCartao &cartao);
// The BIN list text of the grids and the dialogs: each BIN followed by ";".
QByteArray TextoDosBins(const QList<QByteArray> &bins);
// The BINs of a BIN list text: the non-empty pieces between ";" (a last one without ";" too).
QList<QByteArray> BinsDoTexto(const QByteArray &texto);
// The BIN list text of an entry.
QByteArray CarregaBins(const TCartao &cartao);

// A BIN entry as every reader cuts it: a range "lower-upper" at its first "-", a single BIN
// when there is none or nothing stands before it. The file's bytes and the dialog's text alike.
template <typename Texto> struct LimitesEntrada {
    Texto de, ate;
    bool faixa = false;
};
template <typename Texto> LimitesEntrada<Texto> LimitesDaEntrada(const Texto &entrada) {
    const qsizetype hifen = entrada.indexOf(typename Texto::value_type(u'-'));
    if (hifen <= 0) return {entrada, entrada, false};
    return {entrada.left(hifen), entrada.mid(hifen + 1), true};
}

// Reads the file into the table. False when it is missing, cannot be read, or is damaged (shorter
// than its counts, more than 350 entries or 20 BINs): the table is then left exactly as it was.
// Entries above the new Qtd keep what they held. Trace entries go to the trace log; a trace that
// cannot be written throws ErroES.
bool LeTabRot(const QString &caminho, TTabRot &tabela);
// The same read, the same verdict, without the trace: for a run that must leave no mark.
bool LeTabRotSemTrace(const QString &caminho, TTabRot &tabela);

// Replaces the file with entries 1 to Qtd, atomically. False when an existing file is read-only
// or not writable, or a write fails; the old file is then untouched. Throws ErroES when a missing
// file cannot be created (its directory is missing and cannot be made). On false, motivo (when
// given) receives the system's reason.
bool GravaTabRot(const QString &caminho, const TTabRot &tabela, QString *motivo = nullptr);
// What a write of the table would meet, told without writing anything, so that the import
// preview and the real write judge alike. `existe`: the table is there (on disk, or in the
// preview's copy). Throws ErroES where the write would end the run (a missing file that cannot
// be created); false, with the reason, where it would refuse. The boundary of the installation
// is the guard's (env/gravacao_guardada.h).
bool PreveGravacaoTabRot(const QString &caminho, bool existe, QString *motivo = nullptr);
// The same write under a guard the caller already holds (its read and write kept together).
class GravacaoGuardada;
bool GravaTabRot(const GravacaoGuardada &guarda, const TTabRot &tabela, QString *motivo = nullptr);

// The file bytes of a table, and the parse of file bytes into a table (false: damaged).
QByteArray BytesDaTabRot(const TTabRot &tabela);
bool TabRotDosBytes(const QByteArray &bytes, TTabRot &tabela);
