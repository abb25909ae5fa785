#include "batch/simulacao.h"

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/gravacao_guardada.h"
#include "env/plataforma.h"
#include "env/texto.h"
#include "routing/sobreposicao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

QByteArray Plural(qsizetype n, const char *um, const char *varios) {
    return QByteArray::number(n) + ' ' + cp1252(n == 1 ? um : varios);
}

// The cards of a table as the summary names them, one text each, sorted; default-network
// entries are no cards.
QList<QByteArray> Cartoes(const QByteArray &bytes) {
    QList<QByteArray> cartoes;
    if (bytes.isNull()) return cartoes;
    const auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    if (!TabRotDosBytes(bytes, *t)) return cartoes;
    for (int i = 0; i < qMin<int>(t->Qtd, MaxCartoes); ++i) {
        TCartao &c = t->Cartoes[i];
        if (c.Tipo != TipoCredito && c.Tipo != TipoDebito && c.Tipo != TipoCombustivel) continue;
        cartoes.append(NomeTipoCartao(c.Tipo) + ": " + CopiaCampoParaTexto(c.Nome, TamNome) + ", " +
                       RedeNumerada(c.CodRede) + ", bins " + CarregaBins(c));
    }
    std::sort(cartoes.begin(), cartoes.end());
    return cartoes;
}

// What is in `a` and not in `b`, each copy counted.
QList<QByteArray> Menos(const QList<QByteArray> &a, const QList<QByteArray> &b) {
    QList<QByteArray> r;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(r));
    return r;
}

QByteArray NomeDaTabela(const QString &alvo) {
    if (alvo == Caminhos::TabRotTodas(Raiz())) return "TODAS";
    return ParaCp1252(QFileInfo(alvo).dir().dirName());
}

} // namespace

QString SimulacaoImportacao::Status(const QString &arquivoImportacao) const {
    return CaminhoStatus(arquivoImportacao, QStringLiteral("StatusArqImportado.simulacao.txt"));
}

bool SimulacaoImportacao::Reserva(const QString &alvo, bool) {
    QString real;
    if (!DentroDaInstalacao(alvo, Raiz(), nullptr, &real)) return false;
    // A lock the real run could not take: something other than a file under its name.
    const QFileInfo trava((real.isEmpty() ? CaminhoReal(alvo) : real) + QStringLiteral(".lck"));
    return !(trava.exists() || trava.isSymLink()) || (trava.isFile() && !trava.isSymLink());
}

SimulacaoImportacao::Copia &SimulacaoImportacao::Tabela(const QString &alvo) {
    auto it = m_copias.find(alvo);
    if (it != m_copias.end()) return *it;
    Copia c;
    c.existia = c.existe = QFileInfo::exists(alvo);
    if (c.existia) {
        const auto t = std::make_unique<TTabRot>();
        LimpaTabRot(*t);
        c.legivel = LeTabRotSemTrace(alvo, *t);
        // A table the reader refuses keeps its place, unread: the summary counts it as it was.
        if (c.legivel) c.original = c.atual = BytesDaTabRot(*t);
    }
    return *m_copias.insert(alvo, c);
}

bool SimulacaoImportacao::Existe(const QString &alvo) const {
    const auto it = m_copias.find(alvo);
    return it != m_copias.end() ? it->existe : QFileInfo::exists(alvo);
}

bool SimulacaoImportacao::Le(const QString &alvo, TTabRot &tabela) {
    const Copia &c = Tabela(alvo);
    return c.existe && c.legivel && TabRotDosBytes(c.atual, tabela);
}

bool SimulacaoImportacao::Grava(const QString &alvo, const TTabRot &tabela) {
    Copia &c = Tabela(alvo);
    if (!PreveGravacaoTabRot(alvo, c.existe)) return false;
    c.existe = c.legivel = true;
    c.atual = BytesDaTabRot(tabela);
    if (!m_gravadas.contains(alvo)) m_gravadas.append(alvo);
    return true;
}

QList<QByteArray> SimulacaoImportacao::LinhasResumo() const {
    QList<QByteArray> linhas{cp1252("Simulação: nenhum arquivo da instalação foi gravado")};
    QList<QByteArray> tabelas;
    int mudariam = 0;
    for (const QString &alvo : m_gravadas) {
        const Copia &c = m_copias[alvo];
        if (c.existia && c.atual == c.original) continue;
        ++mudariam;
        const QList<QByteArray> antes = Cartoes(c.original), depois = Cartoes(c.atual);
        const QList<QByteArray> incluidos = Menos(depois, antes), excluidos = Menos(antes, depois);
        tabelas.append(NomeDaTabela(alvo) + ": " +
                       (c.existia ? QByteArray() : cp1252("tabela nova, ")) +
                       Plural(incluidos.size(), "cartão incluído", "cartões incluídos") + ", " +
                       Plural(excluidos.size(), "excluído", "excluídos"));
        for (const QByteArray &cartao : incluidos)
            tabelas.append("  + " + cartao);
        for (const QByteArray &cartao : excluidos)
            tabelas.append("  - " + cartao);
    }
    linhas.append("Tabelas que mudariam: " + QByteArray::number(mudariam));
    return linhas + tabelas;
}

ResumoSimulacao SimulaImportacao(const QString &arquivo, TTabRot &tabela) {
    SimulacaoImportacao simulacao;
    ResumoSimulacao r;
    const QString status = simulacao.Status(arquivo);
    try {
        r.registros = ExecutaImportacao(arquivo, tabela, simulacao);
    } catch (const ErroES &e) {
        // Nothing was read when the status file is not there yet: the real run ends as early.
        if (!QFileInfo::exists(status)) throw;
        r.linhas = {cp1252("A importação terminaria aqui: ") + ParaCp1252(e.texto())};
        r.linhas += simulacao.LinhasResumo();
        for (const QByteArray &l : r.linhas)
            CriarArquivoStatus(status, l);
        throw;
    }
    r.linhas = simulacao.LinhasResumo();
    for (const QByteArray &l : r.linhas)
        CriarArquivoStatus(status, l);
    return r;
}
