// The main window under the keyboard and the wheel: Enter acts only on a panel the operator moved
// to, lists change only when focused, Tab leaves the grid, and the grid never runs sideways off
// its text.

#include "janela_principal_base.h"

#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

using namespace janela;

class TstJanelaTeclado : public QObject, public Base {
    Q_OBJECT

    // Keys go where the keyboard focus is, as the operator's would.
    void Tecla(int tecla, Qt::KeyboardModifiers mod = {}) const {
        QWidget *foco = QApplication::focusWidget();
        QTest::keyClick(foco ? foco : janela.get(), Qt::Key(tecla), mod);
    }
    QTableView *AbreCredito(const QList<lote::Cartao> &cartoes) {
        AbreEm(QStringLiteral("TODAS"), cartoes);
        ClicaArvore(0);
        return Grade(TipoGrade::Credito);
    }

private slots:
    void cleanup() {
        QToolTip::hideText();
        Fecha();
        QTRY_VERIFY(NenhumaJanelaAberta());
    }

    // Routing is on at the site; Enter turns it off only on the switch the operator moved to,
    // which the focus frame shows.
    void enterSoNoPainelEscolhido_data() {
        QTest::addColumn<QString>("como");
        QTest::newRow("janela nova") << "";
        QTest::newRow("foco dado pela ativação") << "ativacao";
        QTest::newRow("depois de Retornar") << "retornar";
        QTest::newRow("Shift+Tab") << "backtab";
    }
    void enterSoNoPainelEscolhido() {
        QFETCH(QString, como);
        QVERIFY(MontaInstalacao());
        const QString ini = inst.config() + "/VARDOCFG.INI";
        QVERIFY(lote::Escreve(ini, "[Geral]\r\nHabilitaBinsPorEmpresa=1\r\n"));
        AbreJanela();
        auto *chave = Filho<PainelBotao>("pnAtivaRoteamento");
        if (como == u"ativacao") chave->setFocus(Qt::ActiveWindowFocusReason);
        if (como == u"retornar") {
            EscolheEmpresa(QStringLiteral("TODAS"));
            ClicaArvore(0);
            Clica("bt_sair_cred");
        }
        if (como == u"backtab") {
            Empresa()->setFocus(Qt::TabFocusReason);
            Tecla(Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), chave);
        }
        const bool escolhida = como == u"backtab";
        QCOMPARE(chave->frameShape(), escolhida ? QFrame::Panel : QFrame::NoFrame);
        Tecla(Qt::Key_Return);
        QCOMPARE(chave->caption(), QString::fromLatin1(escolhida ? "Inativa" : "Ativa"));
        QCOMPARE(lote::Le(ini), QByteArray("[Geral]\r\nHabilitaBinsPorEmpresa=") +
                                    (escolhida ? "0" : "1") + "\r\n");
        if (como.isEmpty()) {
            Tecla(Qt::Key_Tab);
            QVERIFY(Empresa()->hasFocus());
        }
    }

    // A notch over a list the operator is not in changes nothing; focused, it still does.
    void rodaSoNaListaFocada_data() {
        QTest::addColumn<int>("lista");
        QTest::newRow("empresa") << 0;
        QTest::newRow("rede padrão") << 1;
        QTest::newRow("rede do cartão") << 2;
    }
    void rodaSoNaListaFocada() {
        QFETCH(int, lista);
        AbreEm(QStringLiteral("TODAS"), {{"", 20, 255, {}}, {"CRED", 20, 1, {"411111"}}});
        QComboBox *combo = Empresa();
        if (lista > 0) {
            ClicaArvore(0);
            combo = Pagina(TipoGrade::Credito)->ComboPadrao();
        }
        TFrmIncluiCartao *d = Pagina(TipoGrade::Credito)->Dialogo();
        if (lista > 1) {
            Clica("bt_incluir_cred");
            QTRY_COMPARE(QApplication::activeWindow(), d);
            combo = d->ComboRede();
            combo->setCurrentIndex(1);
        }
        const int indice = combo->currentIndex();
        auto roda = [combo] {
            const QPointF p = QPointF(combo->rect().center());
            QWheelEvent e(p, combo->mapToGlobal(p), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &e);
        };
        roda();
        QCOMPARE(combo->currentIndex(), indice);
        QVERIFY(!Alterada());
        QCOMPARE(janela->CaminhoTabRot(), inst.todas());
        combo->setFocus(Qt::TabFocusReason);
        roda();
        QCOMPARE(combo->currentIndex(), indice - 1);
        if (lista > 1) d->bt_encerra_incluirClick();
    }

    void tabSaiDaGrade() {
        AbreCredito({{"CRED", 20, 1, {"411111"}}})->setFocus(Qt::TabFocusReason);
        Tecla(Qt::Key_Tab);
        QVERIFY(Pagina(TipoGrade::Credito)->CheckPadrao()->hasFocus());
    }

    // The current cell's row comes into view; the columns stay put, the names on the left.
    void gradeNaoCorreDeLado_data() {
        QTest::addColumn<QString>("como");
        QTest::newRow("clique num bin") << "clique";
        QTest::newRow("Direita Direita") << "direita";
        QTest::newRow("Ctrl+End") << "fim";
    }
    void gradeNaoCorreDeLado() {
        QFETCH(QString, como);
        QList<lote::Cartao> cartoes;
        for (int i = 0; i < 40; ++i)
            cartoes.append({"C" + QByteArray::number(i), 20, 1, {QByteArray::number(400000 + i)}});
        QTableView *g = AbreCredito(cartoes);
        ClicaCelula(g, 1, 0);
        if (como == u"clique") {
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                              QPoint(g->columnViewportPosition(2) + 20, g->rowViewportPosition(1)));
            // A clicked cell is brought into view once no double click can follow.
            QTest::qWait(QApplication::doubleClickInterval() + 200);
        }
        for (int i = 0; como == u"direita" && i < 2; ++i)
            Tecla(Qt::Key_Right);
        if (como == u"fim") Tecla(Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(g->currentIndex().column(), 2);
        QCOMPARE(g->columnViewportPosition(0), 0);
        QVERIFY(g->viewport()->rect().contains(g->visualRect(g->currentIndex()).topLeft()));
    }

    // Twenty ranges run past the 1,500-pixel column: the cell's tip holds them all.
    void binsLongosNaDica() {
        QList<QByteArray> bins;
        for (int i = 0; i < 20; ++i)
            bins.append(QByteArray::number(411111000 + i) + "-" + QByteArray::number(411111999));
        QTableView *g = AbreCredito({{"CRED", 20, 1, bins}});
        const QPoint p(g->columnViewportPosition(2) + 20, g->rowViewportPosition(0) + 5);
        QHelpEvent dica(QEvent::ToolTip, p, g->viewport()->mapToGlobal(p));
        QApplication::sendEvent(g->viewport(), &dica);
        QCOMPARE(QToolTip::text(), QString::fromLatin1(bins.join(';') + ';'));
    }
};

QTEST_MAIN(TstJanelaTeclado)
#include "tst_janela_teclado.moc"
