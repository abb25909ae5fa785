#include "batch/exportacao.h"

#include "env/erro.h"

QByteArray LinhasExportacao(TTabRot &) { return {}; }
void GravaExportacao(const QString &, const QByteArray &) {}
