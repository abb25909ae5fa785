#include "batch/importacao.h"

#include "env/erro.h"

QList<QByteArray> LinhasImportacao(const QByteArray &) { return {}; }
CamposRegistro CortaCampos(const QByteArray &, char) { return {}; }
QString CaminhoStatus(const QString &) { return {}; }
bool CriarArquivoStatus(const QString &, const QByteArray &) { return false; }
bool ValidaRegistro(const QString &, const CamposRegistro &) { return false; }
void AddRegArqConfBins(const QString &, const CamposRegistro &, TTabRot &) {}
void DelRegArqConfBins(const QString &, const CamposRegistro &, TTabRot &) {}
void ExecutaImportacao(const QString &, TTabRot &) {}
