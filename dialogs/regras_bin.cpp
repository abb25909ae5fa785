#include "dialogs/regras_bin.h"

#include "env/texto.h"
#include "routing/tabrot.h"

#include <limits>

QString ChaveDoNome(const QString &nome) {
    QString chave = TiraBrancos(nome);
    for (QChar &c : chave)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - 'a' + 'A');
    return chave;
}

QString PerguntaExcluiBin(const QString &entrada) {
    return QStringLiteral("Deseja excluir o Bin ") + entrada + QStringLiteral(" ?");
}

std::optional<qint32> InteiroDoBin(const QString &texto) {
    qsizetype i = 0;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == u'-' || texto[i] == u'+')) {
        negativo = texto[i] == u'-';
        ++i;
    }
    if (i == texto.size()) return std::nullopt;
    qint64 valor = 0;
    const qint64 limite = negativo ? -qint64(std::numeric_limits<qint32>::min())
                                   : qint64(std::numeric_limits<qint32>::max());
    for (; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c < u'0' || c > u'9') return std::nullopt;
        valor = valor * 10 + (c.unicode() - u'0');
        if (valor > limite) return std::nullopt;
    }
    return qint32(negativo ? -valor : valor);
}

QString LimiteInferior(const QString &entrada) {
    const LimitesEntrada l = LimitesDaEntrada(entrada);
    return l.faixa ? l.de : QString();
}

QString TiraBrancos(const QString &texto) {
    qsizetype ini = 0, fim = texto.size();
    while (ini < fim && texto[ini] <= u' ')
        ++ini;
    while (fim > ini && texto[fim - 1] <= u' ')
        --fim;
    return texto.mid(ini, fim - ini);
}

bool procura_bin(const QStringList &lista, const QString &bin) {
    const std::optional<qint32> valor = InteiroDoBin(bin);
    for (const QString &entrada : lista) {
        const LimitesEntrada l = LimitesDaEntrada(entrada);
        if (l.faixa) {
            const auto de = InteiroDoBin(l.de);
            const auto ate = InteiroDoBin(l.ate);
            if (valor && de && ate && *de <= *valor && *valor <= *ate) return true;
        } else if (entrada == bin) {
            return true;
        }
    }
    return false;
}

namespace {

bool TamanhoValido(const QString &t) {
    return t.size() >= 6 && t.size() <= 9;
}

ResultadoBin Recusa(const QString &mensagem) {
    return {VereditoBin::Recusa, mensagem, {}};
}
ResultadoBin Aceita(const QString &entrada) {
    return {VereditoBin::Aceita, {}, entrada};
}

} // namespace

ResultadoBin AvaliaInclusaoBin(const QStringList &lista, const QString &texto) {
    if (lista.size() >= MaxBinsPorCartao) return {VereditoBin::Limite, MsgLimiteBins, {}};

    const QString inferior = LimiteInferior(texto);
    if (inferior.isEmpty()) {
        if (!TamanhoValido(texto)) return Recusa(MsgTamanhoBin);
        if (procura_bin(lista, TiraBrancos(texto))) return Recusa(MsgBinExistente);
        return Aceita(texto);
    }

    if (!TamanhoValido(inferior)) return Recusa(MsgTamanhoBin);
    const QString superior = texto.mid(inferior.size() + 1);
    // The automatic hyphen leaves nine digits and a lone "-": a single BIN.
    if (superior.isEmpty() && texto.size() == 10) {
        const QString nove = texto.left(9);
        if (procura_bin(lista, TiraBrancos(nove))) return Recusa(MsgBinExistente);
        return Aceita(nove);
    }
    if (!TamanhoValido(superior)) return Recusa(MsgTamanhoBinSuperior);
    const auto de = InteiroDoBin(inferior);
    const auto ate = InteiroDoBin(superior);
    // Bounds that are no numbers (123456-12-456) are as bad a range as reversed ones.
    if (!de || !ate || *de > *ate) return Recusa(MsgIntervaloInvalido);
    if (procura_bin(lista, TiraBrancos(inferior))) return Recusa(MsgBinInferiorExistente);
    if (procura_bin(lista, TiraBrancos(superior))) return Recusa(MsgBinSuperiorExistente);
    return Aceita(texto);
}

ToqueBin FiltraToqueBin(QChar c) {
    if ((c >= u'0' && c <= u'9') || c == u'-') return ToqueBin::Aceito;
    if (c == QChar(8)) return ToqueBin::Apagar;
    return ToqueBin::Recusado;
}

bool PedeHifen(const QString &texto, bool apagou) {
    return !apagou && texto.size() == 9 && LimiteInferior(texto).isEmpty();
}

QString TextoDaListaBins(const QStringList &lista) {
    QList<QByteArray> bins;
    for (const QString &entrada : lista)
        bins.append(ParaCp1252(entrada));
    return DeCp1252(TextoDosBins(bins));
}

QStringList ListaBinsDoTexto(const QString &texto) {
    QStringList lista;
    for (const QByteArray &bin : BinsDoTexto(ParaCp1252(texto)))
        lista.append(DeCp1252(bin));
    return lista;
}
