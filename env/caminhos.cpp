#include "env/caminhos.h"

#include "env/erro.h"
#include "env/perfil.h"
#include "env/texto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString TrocaCaractere(const QString &texto, QChar de, QChar para) {
    QString r = texto;
    r.replace(de, para);
    return r;
}

QString AjustaBarras(const QString &texto) {
    return TrocaCaractere(texto, QLatin1Char('\\'), QDir::separator());
}

QString Unidade() {
    QString u = qEnvironmentVariable("VARDO_UNIDADE");
    while (u.endsWith(QLatin1Char('/')))
        u.chop(1);
    return u;
}

QString NaUnidade(const QString &caminho) {
    QString c = caminho;
    if (c.size() >= 2 && c.at(1) == QLatin1Char(':') && c.at(0).isLetter() &&
        c.at(0).unicode() < 128)
        c.remove(0, 2);
    if (c.isEmpty() || c.startsWith(QLatin1Char('/'))) return Unidade() + c;
    return c;
}

QString CaminhoPrograma() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ArquivoCfVardo(const QString &programPath) {
    const int barra = programPath.lastIndexOf(QLatin1Char('/'));
    const QString dir = barra >= 0 ? programPath.left(barra + 1) : QString();
    const QString junto = AjustaBarras(dir + QStringLiteral("CfVardo.ini"));
    return QFileInfo::exists(junto) ? junto : CfVardoDoSistema;
}

QString ObtemRaiz(const QString &programPath) {
    const QByteArray valor =
        LePerfilTexto(ArquivoCfVardo(programPath), "config", "raiz", "\\Vardo");
    return NaUnidade(AjustaBarras(DeCp1252(valor)));
}

QString Raiz() {
    return ObtemRaiz(CaminhoPrograma());
}

namespace Caminhos {
QString Config(const QString &raiz) {
    return raiz + QStringLiteral("/config");
}
static QString EmConfig(const QString &raiz, const QString &nome) {
    return raiz + QStringLiteral("/config/") + nome;
}
QString Comunic(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("COMUNIC.cnf"));
}
QString VardoCfg(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("VARDOCFG.INI"));
}
QString TabTraducao(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("TabTraducao.ini"));
}
QString Trace(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("trace.txt"));
}
QString MascaraEmpresas(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("*.cnf"));
}
QString DiretorioEmpresas(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("Empresas"));
}
QString TabRotTodas(const QString &raiz) {
    return EmConfig(raiz, QStringLiteral("TabRot.bin"));
}
QString TabRotEmpresa(const QString &raiz, const QString &empresa) {
    return EmConfig(raiz, QStringLiteral("Empresas/") + empresa + QStringLiteral("/TabRot.bin"));
}
QString TabRot(const QString &raiz, const QString &empresa) {
    return empresa == QLatin1String("TODAS") ? TabRotTodas(raiz) : TabRotEmpresa(raiz, empresa);
}
void ExigeCaminhoCurto(const QString &caminho) {
    if (caminho.size() > TamMaxTexto)
        throw ErroES(QStringLiteral("Caminho com mais de %1 caracteres, recusado: %2")
                         .arg(TamMaxTexto)
                         .arg(caminho));
}
QString DiretorioModulos() {
    return Unidade() + QStringLiteral("/vardo/aplic.win/bib/");
}
} // namespace Caminhos
