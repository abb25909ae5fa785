#include "routing/tabrot.h"

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/gravacao_atomica.h"
#include "env/gravacao_guardada.h"
#include "env/leitura.h"
#include "env/texto.h"
#include "env/trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

std::uint16_t Le16(const char *p) {
    return std::uint16_t(std::uint8_t(p[0]) | (std::uint8_t(p[1]) << 8));
}

void Poe16(QByteArray &b, std::uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

} // namespace

void LimpaTabRot(TTabRot &tabela) {
    std::memset(&tabela, 0, sizeof tabela);
}

void CopiaTextoParaCampo(const QByteArray &texto, char *campo, int tamanho) {
    if (tamanho <= 0) return;
    const qsizetype n = qMin<qsizetype>(texto.size(), tamanho - 1);
    std::memcpy(campo, texto.constData(), size_t(n));
    campo[n] = '\0';
}

QByteArray CopiaCampoParaTexto(const char *campo, int tamanho) {
    if (tamanho <= 0) return {};
    const void *nul = std::memchr(campo, '\0', size_t(tamanho - 1));
    const qsizetype n = nul ? static_cast<const char *>(nul) - campo : tamanho - 1;
    return QByteArray(campo, n);
}

QList<QByteArray> BinsDoCartao(const TCartao &c) {
    QList<QByteArray> bins;
    const int qtd = qMin<int>(c.QtdBins, MaxBins);
    for (int j = 0; j < qtd; ++j) {
        QByteArray bin = CopiaCampoParaTexto(c.Bins[j], TamBin);
        if (bin.isEmpty()) break;
        bins.append(std::move(bin));
    }
    return bins;
}

QByteArray TextoDosBins(const QList<QByteArray> &bins) {
    QByteArray texto;
    for (const QByteArray &bin : bins) {
        texto += bin;
        texto += ';';
    }
    return texto;
}

QList<QByteArray> BinsDoTexto(const QByteArray &texto) {
    QList<QByteArray> bins;
    for (const QByteArray &pedaco : texto.split(';'))
        if (!pedaco.isEmpty()) bins.append(pedaco);
    return bins;
}

QByteArray CarregaBins(const TCartao &c) {
    return TextoDosBins(BinsDoCartao(c));
}

QByteArray BytesDaTabRot(const TTabRot &tabela) {
    const int qtd = qMin<int>(tabela.Qtd, MaxCartoes);
    QByteArray b;
    b.reserve(TamCabecalho + qtd * (TamBlocoEntrada + MaxBins * TamBinNoArquivo));
    Poe16(b, 1);
    Poe16(b, std::uint16_t(qtd));
    for (int i = 0; i < qtd; ++i) {
        const TCartao &c = tabela.Cartoes[i];
        const int bins = qMin<int>(c.QtdBins, MaxBins);
        b.append(c.Nome, TamNome);
        Poe16(b, c.CodRede);
        b.append(char(c.Tipo));
        Poe16(b, std::uint16_t(bins));
        for (int j = 0; j < bins; ++j)
            b.append(c.Bins[j], TamBinNoArquivo);
    }
    return b;
}

bool TabRotDosBytes(const QByteArray &bytes, TTabRot &tabela) {
    const char *p = bytes.constData();
    const qsizetype n = bytes.size();
    if (n < TamCabecalho) return false;
    const std::uint16_t qtd = Le16(p + 2);
    if (qtd > MaxCartoes) return false;

    // Check the whole file before the table changes.
    qsizetype pos = TamCabecalho;
    for (int i = 0; i < qtd; ++i) {
        if (n - pos < TamBlocoEntrada) return false;
        const std::uint16_t bins = Le16(p + pos + 34);
        if (bins > MaxBins) return false;
        pos += TamBlocoEntrada;
        if (n - pos < qsizetype(bins) * TamBinNoArquivo) return false;
        pos += qsizetype(bins) * TamBinNoArquivo;
    }

    tabela.Qtd = qtd;
    pos = TamCabecalho;
    for (int i = 0; i < qtd; ++i) {
        TCartao &c = tabela.Cartoes[i];
        const char *e = p + pos;
        std::memcpy(c.Nome, e, TamNome);
        c.CodRede = Le16(e + 31);
        c.Tipo = std::uint8_t(e[33]);
        const int bins = Le16(e + 34);
        c.QtdBins = std::uint8_t(bins);
        pos += TamBlocoEntrada;
        for (int j = 0; j < bins; ++j) {
            std::memcpy(c.Bins[j], p + pos, TamBinNoArquivo); // the 21st byte stays as it was
            pos += TamBinNoArquivo;
        }
    }
    return true;
}

bool LeTabRot(const QString &caminho, TTabRot &tabela) {
    Caminhos::ExigeCaminhoCurto(caminho);
    const QByteArray nome = ParaCp1252(caminho);
    const QByteArray abre = Corta255(cp1252("Abre e Le o arquivo ") + nome);
    // Read-only: a table the operator may not write must still load. A FIFO or device in its
    // place is no table: it is told as a missing one, and never waited on.
    QByteArray bytes;
    const Leitura leitura = LeInicioArquivo(caminho, TamMaxTabRot, bytes);
    // Each pair of entries goes out in one append; the log reads as if written step by step.
    if (leitura == Leitura::NaoExiste || leitura == Leitura::NaoRegular) {
        GravaTrace(abre, Corta255(cp1252("Não existe o arquivo ") + nome));
        return false;
    }
    GravaTrace(abre, cp1252("Abriu o arquivo"));
    return leitura == Leitura::Ok && TabRotDosBytes(bytes, tabela);
}

bool LeTabRotSemTrace(const QString &caminho, TTabRot &tabela) {
    Caminhos::ExigeCaminhoCurto(caminho);
    QByteArray bytes;
    return LeInicioArquivo(caminho, TamMaxTabRot, bytes) == Leitura::Ok &&
           TabRotDosBytes(bytes, tabela);
}

namespace {
// A new table whose directory is missing and will not be made: the write ends the run.
[[noreturn]] void SemDiretorio(const QString &caminho, const QString &dir) {
    throw ErroES(QStringLiteral("Erro de E/S ao criar o arquivo %1: o diretório %2 não existe")
                     .arg(caminho, dir));
}
} // namespace

bool PreveGravacaoTabRot(const QString &caminho, bool existe, QString *motivo) {
    const QString dir = QFileInfo(caminho).absolutePath();
    const bool haDiretorio = QFileInfo(dir).isDir();
    // The write makes only the last directory level.
    if (!existe && !haDiretorio && !QFileInfo(dir).dir().exists()) SemDiretorio(caminho, dir);
    if (existe && SomenteLeitura(caminho)) {
        if (motivo) *motivo = QStringLiteral("arquivo somente leitura");
        return false;
    }
    const QString ondeEscreve = haDiretorio ? dir : QFileInfo(dir).absolutePath();
    if (::access(QFile::encodeName(ondeEscreve).constData(), W_OK) == 0) return true;
    const QString razao = MotivoDoErro(errno);
    if (!existe)
        throw ErroES(QStringLiteral("Erro de E/S ao criar o arquivo %1: %2").arg(caminho, razao));
    if (motivo) *motivo = razao;
    return false;
}

bool GravaTabRot(const QString &caminho, const TTabRot &tabela, QString *razao) {
    Caminhos::ExigeCaminhoCurto(caminho);
    const GravacaoGuardada guarda(caminho, {.criaDiretorio = true});
    return GravaTabRot(guarda, tabela, razao);
}

bool GravaTabRot(const GravacaoGuardada &guarda, const TTabRot &tabela, QString *razao) {
    const QString &caminho = guarda.arquivo();
    auto falha = [&](const QString &motivo) {
        if (razao) *razao = motivo;
        return false;
    };
    switch (guarda.situacao()) {
    case GravacaoGuardada::Situacao::Pronta:
        break;
    case GravacaoGuardada::Situacao::Recusada:
        return falha(guarda.erro());
    case GravacaoGuardada::Situacao::SemDiretorio:
        SemDiretorio(caminho, guarda.diretorio());
    case GravacaoGuardada::Situacao::SemTrava:
        AvisaErro(guarda.erro());
        return falha(guarda.erro());
    }
    const bool existia = QFileInfo::exists(caminho);
    QString motivo;
    if (!PreveGravacaoTabRot(caminho, existia, &motivo)) return falha(motivo);
    RemoveTemporariosAntigos(guarda.real());
    switch (GravaArquivoAtomico(caminho, BytesDaTabRot(tabela), &motivo)) {
    case Gravacao::Ok:
        return true;
    case Gravacao::FalhaAbertura:
        if (!existia)
            throw ErroES(
                QStringLiteral("Erro de E/S ao criar o arquivo %1: %2").arg(caminho, motivo));
        break;
    case Gravacao::FalhaEscrita:
        break;
    }
    return falha(motivo);
}
