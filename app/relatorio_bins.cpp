#include "app/relatorio_bins.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFrmRelatorioBins::TFrmRelatorioBins(QWidget *pai, const QString &tabela, const QStringList &linhas)
    : QDialog(pai) {
    setObjectName(QStringLiteral("FrmRelatorioBins"));
    setWindowTitle(QStringLiteral("Configurador Roteamento"));
    auto *layout = new QVBoxLayout(this);

    auto *titulo = new QLabel(
        linhas.isEmpty()
            ? QStringLiteral("Tabela %1: nenhum bin coberto por dois cartões do mesmo tipo.")
                  .arg(tabela)
            : QStringLiteral("Tabela %1: %2 %3.")
                  .arg(tabela)
                  .arg(linhas.size())
                  .arg(linhas.size() == 1 ? QStringLiteral("achado") : QStringLiteral("achados")),
        this);
    titulo->setObjectName(QStringLiteral("LB_Titulo"));
    layout->addWidget(titulo);

    m_lista = new QListWidget(this);
    m_lista->setObjectName(QStringLiteral("LB_Achados"));
    m_lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lista->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_lista->addItems(linhas);
    m_lista->setEnabled(!linhas.isEmpty());
    layout->addWidget(m_lista);

    auto *botoes = new QDialogButtonBox(this);
    auto *copiar = botoes->addButton(QStringLiteral("&Copiar"), QDialogButtonBox::ActionRole);
    copiar->setObjectName(QStringLiteral("bt_copiar"));
    copiar->setEnabled(!linhas.isEmpty());
    auto *fechar = botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    fechar->setObjectName(QStringLiteral("bt_fechar"));
    layout->addWidget(botoes);
    connect(copiar, &QPushButton::clicked, this, &TFrmRelatorioBins::bt_copiarClick);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    resize(900, 360);
}

void TFrmRelatorioBins::bt_copiarClick() {
    QStringList texto;
    for (int i = 0; i < m_lista->count(); ++i)
        if (m_lista->item(i)->isSelected()) texto.append(m_lista->item(i)->text());
    if (texto.isEmpty())
        for (int i = 0; i < m_lista->count(); ++i)
            texto.append(m_lista->item(i)->text());
    if (texto.isEmpty()) return;
    QApplication::clipboard()->setText(texto.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void TFrmRelatorioBins::keyPressEvent(QKeyEvent *evento) {
    if (evento->matches(QKeySequence::Copy)) {
        bt_copiarClick();
        return;
    }
    QDialog::keyPressEvent(evento);
}
