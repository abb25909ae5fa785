#pragma once
// Where the installation's files are. The root comes from CfVardo.ini beside the executable,
// read anew for every path; every path is the root followed by a fixed tail.
//
// Linux has no drive letters: the current drive is the directory named by VARDO_UNIDADE ("/"
// when unset). A drive letter at the start of a root is dropped, and a root that begins with a
// separator lies under the drive, so the default root "\Vardo" is $VARDO_UNIDADE/Vardo.

#include <QString>

QString TrocaCaractere(const QString &texto, QChar de, QChar para);
// Turns the foreign separator into the native one, so a CfVardo.ini copied from Windows works.
QString AjustaBarras(const QString &texto);

// The current drive without a trailing separator ("" for "/").
QString Unidade();
// A path as the operator wrote it for Windows, placed on this machine's drive.
QString NaUnidade(const QString &caminho);

// Full path of the running executable.
QString CaminhoPrograma();
// The CfVardo.ini that holds the root: the one beside the executable, else (an installed program
// in /usr/bin never has one beside it) the system's.
QString ArquivoCfVardo(const QString &programPath);
inline const QString CfVardoDoSistema = QStringLiteral("/etc/configurador-roteamento/CfVardo.ini");
QString ObtemRaiz(const QString &programPath);
// ObtemRaiz of the running executable.
QString Raiz();

// The fixed layout under the root, whole: a path is never cut into another path.
namespace Caminhos {
QString Config(const QString &raiz); // <root>/config
QString Comunic(const QString &raiz);
QString VardoCfg(const QString &raiz);
QString TabTraducao(const QString &raiz);
QString Trace(const QString &raiz);
QString MascaraEmpresas(const QString &raiz);   // <root>/config/*.cnf
QString DiretorioEmpresas(const QString &raiz); // <root>/config/Empresas
QString TabRotTodas(const QString &raiz);       // <root>/config/TabRot.bin
QString TabRotEmpresa(const QString &raiz, const QString &empresa);
// The table of "TODAS" (the installation-wide one) or of a company.
QString TabRot(const QString &raiz, const QString &empresa);
// A table, company or trace path longer than 255 characters is refused: throws ErroES.
void ExigeCaminhoCurto(const QString &caminho);
// The network modules lie on the drive, whatever the root: $VARDO_UNIDADE/vardo/aplic.win/bib/
QString DiretorioModulos();
} // namespace Caminhos
