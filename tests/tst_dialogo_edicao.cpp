// The typical edit, end to end through the widgets: "TODAS", the credit page, "Incluir", the
// dialog, "Confirma", "Retornar" answered Yes, and TabRot.bin byte for byte.

#include "app/inicio.h"
#include "app/pagina_cartoes.h"
#include "app/principal.h"
#include "caixas_roteiro.h"
#include "dialogs/dialogo_cartao.h"
#include "instalacao_lote.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

// One kind-2 record of COMUNIC.cnf naming a network code.
QByteArray RegistroRede(std::uint16_t codigo) {
    QByteArray r(130, '\0');
    qToLittleEndian<std::uint16_t>(0x0102, r.data());
    qToLittleEndian<std::uint16_t>(2, r.data() + 2);
    qToLittleEndian<std::uint16_t>(codigo, r.data() + 4);
    return r;
}

QString ModulosDeTeste() {
    const QString bin = qEnvironmentVariable("TESTES_BINARIOS");
    return (bin.isEmpty() ? QCoreApplication::applicationDirPath() : bin) +
           QStringLiteral("/modules/");
}

// Keys go where the keyboard focus is, as the operator's would.
void Tecla(Qt::Key tecla) {
    QTest::keyClick(QApplication::focusWidget(), tecla);
}
QString Focado() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}
// Tab until the control has the focus; false when it never comes.
bool TabAte(const char *nome) {
    for (int i = 0; i < 30 && Focado() != QLatin1String(nome); ++i)
        Tecla(Qt::Key_Tab);
    return Focado() == QLatin1String(nome);
}

template <class T> T *Achar(QWidget *janela, const char *nome) {
    T *w = janela->findChild<T *>(QString::fromUtf8(nome));
    if (!w) qFatal("missing control %s", nome);
    return w;
}

// A drive with network "A" (code 20, credit cards) and network "B" (code 10, credit and debit),
// their modules, and the installation-wide table of one credit and one debit card.
void PreparaUnidade(const QTemporaryDir &unidade, QString &tabRot) {
    QVERIFY(unidade.isValid());
    qputenv("VARDO_UNIDADE", unidade.path().toLocal8Bit());
    const QString config = unidade.filePath("Vardo/config/");
    const QString bib = unidade.filePath("vardo/aplic.win/bib/");
    QVERIFY(QDir().mkpath(config + "Empresas"));
    QVERIFY(QDir().mkpath(bib));
    QVERIFY(lote::Escreve(config + "COMUNIC.cnf", RegistroRede(20) + RegistroRede(10)));
    QVERIFY(QFile::copy(ModulosDeTeste() + "seA.bpl", bib + "seA.bpl"));
    QVERIFY(QFile::copy(ModulosDeTeste() + "seB.bpl", bib + "seB.bpl"));
    tabRot = config + "TabRot.bin";
    QVERIFY(lote::Escreve(tabRot, lote::Arquivo({{"Antigo", 10, 1, {"111111"}},
                                                 {"Debito X", 0xFFFF, 2, {"222222"}}})));
}
} // namespace

class TstDialogoEdicao : public QObject {
    Q_OBJECT
private slots:
    void edicaoTipica();
    void edicaoSoComTeclas();
};

void TstDialogoEdicao::edicaoTipica() {
    QTemporaryDir unidade;
    QString tabRot;
    PreparaUnidade(unidade, tabRot);
    if (QTest::currentTestFailed()) return;

    CaixasRoteiro caixas;
    std::unique_ptr<TFrmPrinc> principal = CriaJanelas();
    TFrmIncluiCartao *cred = principal->Pagina(TipoGrade::Credito)->Dialogo();
    QVERIFY(cred);
    principal->show();
    QVERIFY(QTest::qWaitForWindowActive(principal.get()));

    // "TODAS" picked from the company selector's list.
    QComboBox *empresa = Achar<QComboBox>(principal.get(), "cb_empresa");
    const int todas = empresa->findText("TODAS");
    QVERIFY(todas >= 0);
    empresa->setFocus();
    if (empresa->currentIndex() > todas) QTest::keyClick(empresa, Qt::Key_Home);
    while (empresa->currentIndex() < todas)
        QTest::keyClick(empresa, Qt::Key_Down);
    QCOMPARE(empresa->currentText(), QStringLiteral("TODAS"));
    QVERIFY(caixas.caixas.isEmpty());
    QTreeWidget *arvore = Achar<QTreeWidget>(principal.get(), "TreeView_Opcoes");
    QVERIFY(arvore->isEnabled());
    QTreeWidgetItem *credito = arvore->topLevelItem(0);
    QCOMPARE(credito->text(0), QStringLiteral("Crédito"));
    QTest::mouseClick(arvore->viewport(), Qt::LeftButton, {},
                      arvore->visualItemRect(credito).center());
    QTableView *grade = Achar<QTableView>(principal.get(), "Grade_cred");
    QVERIFY(grade->isVisible());
    const QAbstractItemModel *modelo = grade->model();
    QCOMPARE(modelo->rowCount(), 2);
    QCOMPARE(modelo->index(0, 0).data().toString(), QStringLiteral("Antigo"));

    QTest::mouseClick(Achar<QWidget>(principal.get(), "bt_incluir_cred"), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(cred));
    QVERIFY(!principal->isEnabled());
    QCOMPARE(cred->windowTitle(), QStringLiteral("Inclusão de Cartão de Crédito"));

    QTest::keyClicks(Achar<QLineEdit>(cred, "ed_nome_cartao_cred"), "Cartao Novo");
    QComboBox *rede = Achar<QComboBox>(cred, "CB_RedeDestino_Cred");
    QCOMPARE(rede->itemText(0), QStringLiteral("Bloqueada"));
    const int indiceA = rede->findText("A");
    QVERIFY(indiceA > 0);
    rede->setFocus();
    for (int i = 0; i <= indiceA; ++i)
        QTest::keyClick(rede, Qt::Key_Down);
    QCOMPARE(rede->currentText(), QStringLiteral("A"));
    QLineEdit *bin = Achar<QLineEdit>(cred, "ed_bin_cred");
    for (const char *texto : {"411111", "400000-400099"}) {
        QTest::keyClicks(bin, texto);
        QTest::mouseClick(Achar<QToolButton>(cred, "bt_inclui_bin"), Qt::LeftButton);
    }
    QTest::mouseClick(Achar<QWidget>(cred, "bt_conf_incluir_cred"), Qt::LeftButton);
    QVERIFY(caixas.caixas.isEmpty());
    QVERIFY(!cred->isVisible());
    QVERIFY(principal->isEnabled());
    QCOMPARE(modelo->rowCount(), 3);
    QCOMPARE(modelo->index(1, 0).data().toString(), QStringLiteral("Cartao Novo"));
    QCOMPARE(modelo->index(1, 1).data().toString(), QStringLiteral("A"));
    QCOMPARE(modelo->index(1, 2).data().toString(), QStringLiteral("411111;400000-400099;"));

    caixas.respostas << Resposta::Sim;
    QTest::mouseClick(Achar<QWidget>(principal.get(), "bt_sair_cred"), Qt::LeftButton);
    QCOMPARE(caixas.Textos(), QStringList{"Deseja gravar a configuração ? "});
    QCOMPARE(caixas.caixas[0].botoes, Botoes::SimNaoCancelar);

    QCOMPARE(lote::Le(tabRot), lote::Arquivo({{"Antigo", 10, 1, {"111111"}},
                                              {"Cartao Novo", 20, 1, {"411111", "400000-400099"}},
                                              {"Debito X", 0xFFFF, 2, {"222222"}}}));
    principal.reset();
}

// The whole edit without a mouse: the company, the debit page, "Incluir", the card with its
// network and BIN, "Confirma", "Retornar" and the save.
void TstDialogoEdicao::edicaoSoComTeclas() {
    QTemporaryDir unidade;
    QString tabRot;
    PreparaUnidade(unidade, tabRot);
    if (QTest::currentTestFailed()) return;

    CaixasRoteiro caixas;
    std::unique_ptr<TFrmPrinc> principal = CriaJanelas();
    TFrmIncluiCartao *deb = principal->Pagina(TipoGrade::Debito)->Dialogo();
    principal->show();
    QVERIFY(QTest::qWaitForWindowActive(principal.get()));

    QVERIFY(TabAte("cb_empresa"));
    auto *empresa = Achar<QComboBox>(principal.get(), "cb_empresa");
    for (int i = 0; i < 10 && empresa->currentText() != u"TODAS"; ++i)
        Tecla(Qt::Key_Down);
    QCOMPARE(empresa->currentText(), QStringLiteral("TODAS"));
    QVERIFY(TabAte("TreeView_Opcoes"));
    // Taking the focus makes Crédito current and opens nothing; an arrow opens Débito.
    QVERIFY(!Achar<QWidget>(principal.get(), "PageControl_opcoes")->isVisible());
    Tecla(Qt::Key_Down);
    auto *grade = Achar<QTableView>(principal.get(), "grade_deb");
    QVERIFY(grade->isVisible());
    Tecla(Qt::Key_Return);
    QCOMPARE(Focado(), QStringLiteral("grade_deb"));

    Tecla(Qt::Key_Insert);
    QVERIFY(QTest::qWaitForWindowActive(deb));
    QCOMPARE(deb->windowTitle(), QStringLiteral("Inclusão de Cartão de Débito"));
    QTRY_COMPARE(QApplication::activeWindow(), deb);
    QCOMPARE(Focado(), QStringLiteral("ed_nome_cartao_deb"));
    QTest::keyClicks(QApplication::focusWidget(), "Cartao Teclas");
    Tecla(Qt::Key_Tab);
    auto *rede = Achar<QComboBox>(deb, "CB_RedeDestino_deb");
    for (int i = 0; i < 10 && rede->currentText() != u"B"; ++i)
        Tecla(Qt::Key_Down);
    QCOMPARE(rede->currentText(), QStringLiteral("B"));
    QVERIFY(TabAte("ed_bin_deb"));
    QTest::keyClicks(QApplication::focusWidget(), "500000");
    QVERIFY(TabAte("bt_inclui_bin"));
    Tecla(Qt::Key_Space);
    QVERIFY(TabAte("bt_conf_incluir_deb"));
    Tecla(Qt::Key_Return);
    QVERIFY(caixas.caixas.isEmpty());
    QVERIFY(!deb->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), principal.get());
    QCOMPARE(Focado(), QStringLiteral("grade_deb"));
    QCOMPARE(grade->model()->index(1, 0).data().toString(), QStringLiteral("Cartao Teclas"));

    caixas.respostas << Resposta::Sim;
    Tecla(Qt::Key_Escape);
    QCOMPARE(caixas.Textos(), QStringList{"Deseja gravar a configuração ? "});
    QVERIFY(!grade->isVisible());
    QCOMPARE(lote::Le(tabRot), lote::Arquivo({{"Antigo", 10, 1, {"111111"}},
                                              {"Debito X", 0xFFFF, 2, {"222222"}},
                                              {"Cartao Teclas", 10, 2, {"500000"}}}));
    principal.reset();
}

QTEST_MAIN(TstDialogoEdicao)
#include "tst_dialogo_edicao.moc"
