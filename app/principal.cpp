#include "app/principal.h"

#include <QTableWidget>

namespace {
TFrmPrinc *g_principal = nullptr;
}

TFrmPrinc *FrmPrinc() { return g_principal; }

TFrmPrinc::TFrmPrinc(QWidget *pai) : QMainWindow(pai) {
    g_principal = this;
    for (auto &p : m_paginas) p.grade = new QTableWidget(2, 3, this);
}

TFrmPrinc::~TFrmPrinc() {
    if (g_principal == this) g_principal = nullptr;
}

QTableWidget *TFrmPrinc::Grade(TipoGrade tipo) const { return m_paginas[int(tipo)].grade; }

void TFrmPrinc::IncluiDadosNaGrade(QTableWidget *grade, int linha, const QString &nome,
                                   const QString &rede, const QString &bins) {
    grade->setRowCount(grade->rowCount() + 1);
    IncluiDadosAlteradosNaGrade(grade, linha, nome, rede, bins);
}

void TFrmPrinc::IncluiDadosAlteradosNaGrade(QTableWidget *grade, int linha, const QString &nome,
                                            const QString &rede, const QString &bins) {
    grade->setItem(linha, 0, new QTableWidgetItem(nome.left(255)));
    grade->setItem(linha, 1, new QTableWidgetItem(rede.left(255)));
    grade->setItem(linha, 2, new QTableWidgetItem(bins));
}

void TFrmPrinc::RegistraDialogos(TFrmIncluiCartao *cred, TFrmIncluiCartao *deb,
                                 TFrmIncluiCartao *comb) {
    m_dialogos = {cred, deb, comb};
}

void TFrmPrinc::showEvent(QShowEvent *evento) { QMainWindow::showEvent(evento); }
void TFrmPrinc::closeEvent(QCloseEvent *evento) { QMainWindow::closeEvent(evento); }
bool TFrmPrinc::eventFilter(QObject *objeto, QEvent *evento) {
    return QMainWindow::eventFilter(objeto, evento);
}
