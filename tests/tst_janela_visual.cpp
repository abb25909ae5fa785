// What assistive technology and the eye see of the windows: the panels used as buttons through
// QAccessible, one font family for the main window and the three dialogs, and text colours that
// stay readable on a light and on a dark palette.

#include "janela_principal_base.h"

#include "dialogs/dialogo_cartao.h"
#include "widgets/ajusta_visual.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

using namespace janela;
using lote::Cartao;

namespace {

QPalette PaletaEscura() {
    QPalette p;
    const QColor fundo(45, 45, 45), base(30, 30, 30), texto(230, 230, 230);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Window, fundo);
        p.setColor(g, QPalette::WindowText, texto);
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::Text, texto);
        p.setColor(g, QPalette::Button, fundo);
        p.setColor(g, QPalette::ButtonText, texto);
    }
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
    return p;
}

// The controls of a form that clip their text when smaller than their size hint, and any control
// that reaches out of its parent.
QStringList NaoCabem(QWidget *form) {
    QStringList falhas;
    for (QWidget *w : form->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(form) || w->isWindow() || w->inherits("QStatusBar") ||
            (w->parentWidget() && w->parentWidget()->inherits("QStatusBar")))
            continue;
        const bool comTexto = qobject_cast<PainelBotao *>(w) || qobject_cast<QLineEdit *>(w) ||
                              qobject_cast<QComboBox *>(w) || qobject_cast<QCheckBox *>(w) ||
                              qobject_cast<QLabel *>(w) || qobject_cast<QGroupBox *>(w) ||
                              qobject_cast<QToolButton *>(w);
        // A combo's own editor is the combo's business.
        if (comTexto && !qobject_cast<QComboBox *>(w->parentWidget()) &&
            (w->width() < w->sizeHint().width() || w->height() < w->sizeHint().height()))
            falhas << QStringLiteral("%1 %2x%3 < %4x%5")
                          .arg(w->objectName())
                          .arg(w->width())
                          .arg(w->height())
                          .arg(w->sizeHint().width())
                          .arg(w->sizeHint().height());
        if (comTexto && w->parentWidget() && !w->parentWidget()->rect().contains(w->geometry()))
            falhas << w->objectName() + QStringLiteral(" fora de ") +
                          w->parentWidget()->objectName();
    }
    return falhas;
}

// Text that differs from its background by at least half the lightness scale.
bool Legivel(const QColor &texto, const QColor &fundo) {
    return std::abs(texto.lightness() - fundo.lightness()) >= 128;
}

} // namespace

class TstJanelaVisual : public QObject, public Base {
    Q_OBJECT

    QList<Cartao> Tabela() const { return {{"", 20, 255, {}}, {"CRED", 20, 1, {"411111"}}}; }

    // Each page has its dialog from the start.
    void AbreComDialogos() { AbreEm(QStringLiteral("TODAS"), Tabela()); }

private slots:
    void cleanup() {
        Fecha();
        QApplication::setPalette(QPalette());
        QVERIFY(NenhumaJanelaAberta());
    }

    void paineisSaoBotoes_data() {
        QTest::addColumn<QString>("painel");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("nomeDepois");
        QTest::addColumn<QString>("caixa");
        QTest::newRow("Alterar") << "bt_alterar_cred"
                                 << "Alterar"
                                 << "Alterar"
                                 << "Clique no bin desejado";
        QTest::newRow("Excluir") << "SpeedButton1"
                                 << "Excluir"
                                 << "Excluir"
                                 << "Clique no bin desejado";
        QTest::newRow("Retornar") << "bt_sair_deb"
                                  << "Retornar"
                                  << "Retornar"
                                  << "";
        QTest::newRow("chave") << "pnAtivaRoteamento"
                               << "Inativa"
                               << "Ativa"
                               << "";
    }
    void paineisSaoBotoes() {
        QFETCH(QString, painel);
        QFETCH(QString, nome);
        QFETCH(QString, nomeDepois);
        QFETCH(QString, caixa);
        AbreEm(QStringLiteral("TODAS"), Tabela());
        ClicaArvore(painel.endsWith(u"_cred") ? 0 : painel.endsWith(u"_deb") ? 1 : 2);
        auto *p = janela->findChild<PainelBotao *>(painel);
        QVERIFY(p);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(p);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Button);
        QCOMPARE(a->text(QAccessible::Name), nome);
        QVERIFY(a->state().focusable);
        QAccessibleActionInterface *acoes = a->actionInterface();
        QVERIFY(acoes);
        QVERIFY(acoes->actionNames().contains(QAccessibleActionInterface::pressAction()));
        caixas->Limpa();
        acoes->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(caixas->Textos(), caixa.isEmpty() ? QStringList() : QStringList{caixa});
        QCOMPARE(a->text(QAccessible::Name), nomeDepois);
    }

    void gradesTemNome() {
        AbreEm(QStringLiteral("TODAS"), Tabela());
        QCOMPARE(QAccessible::queryAccessibleInterface(Grade(TipoGrade::Combustivel))
                     ->text(QAccessible::Name),
                 QStringLiteral("Cartões Combustível"));
    }

    // The title's marker and the status bar follow the table and its changed flag.
    void situacaoNaBarra() {
        AbreEm(QStringLiteral("TODAS"), Tabela());
        auto texto = [this](const char *nome) { return Filho<QLabel>(nome)->text(); };
        QCOMPARE(janela->windowHandle()->title(), QStringLiteral("Configurador Roteamento - 1.11"));
        QCOMPARE(texto("StatusTabela"), QStringLiteral("Tabela: TODAS"));
        QCOMPARE(texto("StatusEntradas"), QStringLiteral("Entradas: 2 de 350"));
        QCOMPARE(texto("StatusAlterada"), QString());
        ClicaArvore(0);
        ClicaCelula(Grade(TipoGrade::Credito), 0, 0);
        caixas->respostas = {Resposta::Sim};
        Clica("bt_exclui_cred");
        QVERIFY(janela->isWindowModified());
        QCOMPARE(janela->windowHandle()->title(),
                 QStringLiteral("Configurador Roteamento - 1.11*"));
        QCOMPARE(texto("StatusEntradas"), QStringLiteral("Entradas: 1 de 350"));
        QCOMPARE(texto("StatusAlterada"), QStringLiteral("Alterações não gravadas"));
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QVERIFY(!janela->isWindowModified());
        QCOMPARE(texto("StatusAlterada"), QString());
    }

    void paineisDosDialogos() {
        AbreComDialogos();
        for (TipoGrade t : {TipoGrade::Credito, TipoGrade::Debito, TipoGrade::Combustivel}) {
            TFrmIncluiCartao *d = Pagina(t)->Dialogo();
            for (const char *nome : {DadosDoTipo(t).painelConfirma, DadosDoTipo(t).painelEncerra}) {
                auto *p = d->findChild<PainelBotao *>(QString::fromUtf8(nome));
                QAccessibleInterface *a = QAccessible::queryAccessibleInterface(p);
                QCOMPARE(a->role(), QAccessible::Button);
                QCOMPARE(a->text(QAccessible::Name), p->caption());
            }
        }
    }

    // Every caption fits its control and every control its parent; ctest runs this again with
    // QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=144, fonts half as large again as the layout's.
    void controlesCabem_data() {
        QTest::addColumn<int>("dialogo");
        QTest::newRow("principal") << -1;
        QTest::newRow("credito") << static_cast<int>(Indice(TipoGrade::Credito));
        QTest::newRow("debito") << static_cast<int>(Indice(TipoGrade::Debito));
        QTest::newRow("combustivel") << static_cast<int>(Indice(TipoGrade::Combustivel));
    }
    void controlesCabem() {
        QFETCH(int, dialogo);
        AbreComDialogos();
        ClicaArvore(dialogo < 0 ? 0 : dialogo);
        QWidget *form = janela.get();
        if (dialogo >= 0) {
            TFrmIncluiCartao *d = Pagina(TiposDeCartao[dialogo].grade)->Dialogo();
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            const bool grande = janela->logicalDpiY() > 96;
            QCOMPARE(d->width() > DadosDoTipo(TiposDeCartao[dialogo].grade).largura, grande);
            form = d;
        }
        const QStringList falhas = NaoCabem(form);
        QVERIFY2(falhas.isEmpty(), qPrintable(falhas.join(QStringLiteral("; "))));
    }

    void umaFamilia() {
        AbreComDialogos();
        const QString familia = FamiliaDasJanelas();
        // A family the system really has, not a name it substitutes.
        QCOMPARE(QFontInfo(FonteDasJanelas(8)).family(), familia);
        QList<QWidget *> controles{janela.get(), Paginas(), Grade(TipoGrade::Debito),
                                   Filho<QWidget>("bt_incluir_comb")};
        for (TipoGrade t : {TipoGrade::Credito, TipoGrade::Debito, TipoGrade::Combustivel}) {
            controles << Pagina(t)->Dialogo()
                      << Pagina(t)->Dialogo()->findChild<QWidget *>(QStringLiteral("Panel1"));
        }
        for (QWidget *w : controles)
            QVERIFY2(w->font().family() == familia, qPrintable(w->objectName()));
        QCOMPARE(janela->font().pointSize(), 8);
        QCOMPARE(Filho<QWidget>("bt_incluir_comb")->font().pointSize(), 9);
        QVERIFY(Filho<QWidget>("bt_incluir_comb")->font().bold());
    }

    void coresDoTexto_data() {
        QTest::addColumn<bool>("escura");
        QTest::newRow("clara") << false;
        QTest::newRow("escura") << true;
    }
    void coresDoTexto() {
        QFETCH(bool, escura);
        if (escura) QApplication::setPalette(PaletaEscura());
        AbreComDialogos();
        ClicaArvore(0);
        QVERIFY(Pagina(TipoGrade::Credito)->CheckPadrao()->isChecked());
        const QList<QWidget *> rotulos{
            Filho<QLabel>("Label1"), Pagina(TipoGrade::Credito)->CheckPadrao(),
            Pagina(TipoGrade::Credito)->GrupoPadrao(), Arvore(),
            Pagina(TipoGrade::Debito)->Dialogo()->findChild<QWidget *>(QStringLiteral("Label5"))};
        for (QWidget *w : rotulos) {
            const QColor texto = w->palette().color(QPalette::WindowText);
            if (!escura) QCOMPARE(texto, QColor(51, 51, 51));
            QVERIFY2(Legivel(texto, w->palette().color(QPalette::Window)),
                     qPrintable(w->objectName()));
        }
        const QPalette arvore = Arvore()->palette();
        QVERIFY(Legivel(arvore.color(QPalette::Text), arvore.color(QPalette::Base)));
        const QPalette grade = Grade(TipoGrade::Credito)->palette();
        if (!escura) QCOMPARE(grade.color(QPalette::Text), QColor(Qt::black));
        QVERIFY(Legivel(grade.color(QPalette::Text), grade.color(QPalette::Base)));
        // The panels keep their given colours on both.
        QCOMPARE(Filho<PainelBotao>("bt_incluir_cred")->palette().color(QPalette::Window),
                 QColor(255, 102, 0));
    }

    // The offscreen screen (800 x 600) is smaller than the window's 1206 x 645.
    void dentroDaTela() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        const QRect livre = janela->screen()->availableGeometry();
        QVERIFY(livre.width() < 1206);
        QVERIFY(livre.contains(janela->frameGeometry()));
        QVERIFY(janela->width() >= livre.width() - 16);
    }

    void temaTrocadoComAJanelaAberta() {
        AbreEm(QStringLiteral("TODAS"), Tabela());
        QApplication::setPalette(PaletaEscura());
        auto *rotulo = Filho<QLabel>("Label1");
        QVERIFY(Legivel(rotulo->palette().color(QPalette::WindowText),
                        rotulo->palette().color(QPalette::Window)));
        QApplication::setPalette(QPalette());
        QCOMPARE(rotulo->palette().color(QPalette::WindowText), QColor(51, 51, 51));
    }
};

QTEST_MAIN(TstJanelaVisual)
#include "tst_janela_visual.moc"
