#pragma once
// The report of the BINs that two entries of one card type cover, for the table on screen: one
// finding a line, in a list the operator can select and copy.

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;

class TFrmRelatorioBins : public QDialog {
    Q_OBJECT
public:
    // `tabela`: "TODAS" or the company code; `linhas`: the report's lines, as the command line
    // prints them.
    TFrmRelatorioBins(QWidget *pai, const QString &tabela, const QStringList &linhas);

    // The selected lines, or all of them when none is selected, one per line, to the clipboard.
    void bt_copiarClick();

protected:
    void keyPressEvent(QKeyEvent *evento) override;

private:
    QListWidget *m_lista = nullptr;
};
