#pragma once
// A progress dialog for a run that cannot be cancelled: it comes up only when the run looks
// like taking more than about half a second, and then stays until the run ends (no cancel
// button, Escape and the window manager's close do nothing), keeping the other windows out of
// reach meanwhile.

#include <QProgressDialog>

class ProgressoSemCancelar : public QProgressDialog {
    Q_OBJECT
public:
    ProgressoSemCancelar(const QString &texto, const QString &titulo, QWidget *pai);
    // Records done of total; the first call starts the clock.
    void Avanca(int feitos, int total);

    void reject() override {}

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    QString m_texto;
};
