#include "widgets/progresso.h"

#include <QCloseEvent>

ProgressoSemCancelar::ProgressoSemCancelar(const QString &texto, const QString &titulo,
                                           QWidget *pai)
    : QProgressDialog(pai), m_texto(texto) {
    setWindowTitle(titulo);
    setLabelText(texto);
    setCancelButton(nullptr);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setMinimumDuration(500);
    setAutoClose(false);
    setAutoReset(false);
    // Without this the dialog would come up on its own timer, from the event loop, after the
    // run.
    setValue(0);
}

void ProgressoSemCancelar::Avanca(int feitos, int total) {
    if (maximum() != total) setMaximum(total);
    setLabelText(m_texto + QStringLiteral("\n%1 de %2 registros").arg(feitos).arg(total));
    setValue(feitos);
}

void ProgressoSemCancelar::closeEvent(QCloseEvent *evento) {
    evento->ignore();
}
