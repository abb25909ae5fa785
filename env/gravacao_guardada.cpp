#include "env/gravacao_guardada.h"

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/plataforma.h"
#include "env/trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <sys/stat.h>

namespace {

QString Limpo(const QString &caminho) {
    return QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
}

bool Sob(const QString &caminho, const QString &raiz) {
    return caminho == raiz || raiz == QLatin1String("/") ||
           (caminho.startsWith(raiz) && caminho.at(raiz.size()) == QLatin1Char('/'));
}

// The root is resolved once per process (once it exists). A root made a link elsewhere later
// only gets the paths through it refused, never let through.
QString RaizReal(const QString &raizEscrita) {
    static QMutex mutex;
    static QString escrita, real;
    const QMutexLocker guarda(&mutex);
    if (escrita == raizEscrita) return real;
    const QString agora = CaminhoReal(raizEscrita);
    struct stat st;
    if (::stat(QFile::encodeName(agora).constData(), &st) == 0) { // not yet made: asked again
        escrita = raizEscrita;
        real = agora;
    }
    return agora;
}

} // namespace

bool DentroDaInstalacao(const QString &caminho, const QString &raiz, QString *motivo,
                        QString *realJulgado) {
    const QString raizEscrita = Limpo(raiz);
    if (!Sob(Limpo(caminho), raizEscrita)) return true;
    const QString raizReal = RaizReal(raizEscrita);
    const QString real = CaminhoReal(caminho);
    if (realJulgado) *realJulgado = real;
    if (Sob(real, raizReal)) return true;
    if (motivo) *motivo = QStringLiteral("%1 leva para fora da instalação (%2)").arg(caminho, real);
    return false;
}

GravacaoGuardada::GravacaoGuardada(const QString &arquivo, OpcoesGuarda opcoes)
    : m_arquivo(arquivo), m_diretorio(QFileInfo(arquivo).absolutePath()) {
    QString motivo;
    if (!DentroDaInstalacao(arquivo, Raiz(), &motivo, &m_real)) {
        if (opcoes.recusaNoTrace)
            RecusaGravacao(motivo);
        else
            AvisaErro(QStringLiteral("gravação recusada: ") + motivo);
        m_erro = motivo;
        m_situacao = Situacao::Recusada;
        return;
    }
    if (opcoes.criaDiretorio && !QFileInfo(m_diretorio).isDir()) QDir().mkdir(m_diretorio);
    if (!QFileInfo(m_diretorio).isDir()) {
        m_erro = QStringLiteral("o diretório %1 não existe").arg(m_diretorio);
        m_situacao = Situacao::SemDiretorio;
        return;
    }
    if (!opcoes.trava) return;
    if (opcoes.travaNoNome)
        m_trava.emplace(arquivo, QFileInfo(arquivo).absoluteFilePath());
    else {
        if (m_real.isEmpty()) m_real = CaminhoReal(arquivo);
        m_trava.emplace(arquivo, m_real);
    }
    if (m_trava->obtida()) return;
    m_erro = m_trava->erro();
    m_situacao = Situacao::SemTrava;
}
