#pragma once
// The rules a BIN entry passes before it joins a card's BIN list. Plain routines, so the three
// dialogs share them and tests reach them without a window.
//
// An entry is a single BIN (123456) or a range (123456-123999), kept exactly as typed.

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

constexpr int MaxBinsPorCartao = 20;
constexpr int TamMaxEntradaBin = 19;

inline const QString MsgLimiteBins = QStringLiteral("Não é permitido cadastrar mais de 20 bins");
inline const QString MsgTamanhoBin =
    QStringLiteral("Tamanho inválido do bin. No mínimo 6 e no máximo 9 dígitos");
inline const QString MsgTamanhoBinSuperior =
    QStringLiteral("Tamanho inválido do bin superior. No mínimo 6 e no máximo 9 dígitos");
inline const QString MsgIntervaloInvalido = QStringLiteral("Intervalo de bin inválido.");
inline const QString MsgBinExistente = QStringLiteral("Bin já existente");
inline const QString MsgBinInferiorExistente = QStringLiteral("Bin inferior já existente");
inline const QString MsgBinSuperiorExistente = QStringLiteral("Bin superior já existente");
inline const QString MsgSelecioneBin = QStringLiteral("Selecione o bin desejado");
QString PerguntaExcluiBin(const QString &entrada);

// Signed 32-bit decimal (optional sign, digits only); nothing when the text is no such number.
std::optional<qint32> InteiroDoBin(const QString &texto);

// The part before the first "-": empty when there is none or the text begins with it.
QString LimiteInferior(const QString &entrada);
// Spaces and control characters removed at both ends.
QString TiraBrancos(const QString &texto);
// What two card names compare by: their ends trimmed and only a to z folded to capitals.
QString ChaveDoNome(const QString &nome);

// True when the BIN is covered by an entry of the list: numerically by a range, textually by a
// single BIN. A range whose bounds are not numbers covers nothing, and a BIN that is not a
// number is covered by no range.
bool procura_bin(const QStringList &lista, const QString &bin);

enum class VereditoBin {
    Aceita, // `entrada` joins the list
    Recusa, // `mensagem` shown; the field is emptied
    Limite, // `mensagem` shown; the field keeps its text and the changed flag is not touched
};
struct ResultadoBin {
    VereditoBin veredito;
    QString mensagem;
    QString entrada;
};
// The verdict of the include button for the field's text against the card's list.
ResultadoBin AvaliaInclusaoBin(const QStringList &lista, const QString &texto);

// What the BIN field does with one typed character.
enum class ToqueBin { Aceito, Apagar, Recusado };
ToqueBin FiltraToqueBin(QChar c);
// True when the automatic hyphen follows this text (the erase key was not the last one).
bool PedeHifen(const QString &texto, bool apagou);

// The BIN list text of a grid row: every entry followed by ";".
QString TextoDaListaBins(const QStringList &lista);
// The entries of a BIN list text: the non-empty pieces between ";" (a last piece without ";"
// included).
QStringList ListaBinsDoTexto(const QString &texto);
