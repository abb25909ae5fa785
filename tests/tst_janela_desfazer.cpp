// Undo and redo of the page's edits with Ctrl+Z and Ctrl+Shift+Z: back to the table loaded, the
// changed flag off there, and the save after an undo writing the file as it was.

#include "janela_principal_base.h"

using namespace janela;

class TstJanelaDesfazer : public QObject, public Base {
    Q_OBJECT

    // The bytes a save would write and what the pages show: grids, defaults, and whether the
    // selected card is the row shown selected.
    QStringList Estado() const {
        auto tabela = std::make_unique<TTabRot>();
        QString recusa;
        QStringList l{janela->Cartoes().ParaTabRot(*tabela, recusa)
                          ? QString::fromLatin1(BytesDaTabRot(*tabela).toHex())
                          : recusa};
        for (const TipoDeCartao &t : TiposDeCartao) {
            PaginaCartoes *p = Pagina(t.grade);
            const QModelIndexList sel = p->Grade()->selectionModel()->selectedRows();
            const auto linha =
                sel.isEmpty() ? std::nullopt : p->Modelo()->CartaoDaLinha(sel[0].row());
            l << Linhas(p->Grade())
              << (p->CheckPadrao()->isChecked() ? "x" : "-") + p->ComboPadrao()->currentText() +
                     (p->Selecionado() == linha ? "" : " seleção errada");
        }
        return l;
    }
    void Teclas(qsizetype vezes, bool refazer = false) {
        for (qsizetype i = 0; i < vezes; ++i)
            QTest::keyClick(janela.get(), Qt::Key_Z,
                            refazer ? Qt::ControlModifier | Qt::ShiftModifier
                                    : Qt::ControlModifier);
    }

private slots:
    void cleanup() { Fecha(); }

    void desfazRefaz_data() {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<QString>("edicoes");
        QTest::newRow("inclusão") << 1 << "inclui";
        QTest::newRow("alteração") << 1 << "altera";
        QTest::newRow("exclusão") << 1 << "exclui";
        QTest::newRow("ordenação") << 1 << "ordena";
        QTest::newRow("rede padrão desmarcada") << 0 << "desmarca";
        QTest::newRow("rede padrão escolhida") << 2 << "escolhe";
        QTest::newRow("exclusão e inclusão") << 1 << "exclui inclui";
    }
    void desfazRefaz() {
        QFETCH(int, pagina);
        QFETCH(QString, edicoes);
        AbreEm(QStringLiteral("TODAS"), {{"", 20, 255, {}},
                                         {"DEB UM", 10, 2, {"500000"}},
                                         {"DEB DOIS", 10, 2, {"520000"}},
                                         {"DEB TRES", 10, 2, {"540000"}}});
        const QByteArray arquivo = lote::Le(inst.todas());
        ClicaArvore(pagina);
        const QStringList carregada = Estado();
        const auto tipo = TipoGrade(pagina);
        PaginaCartoes *p = Pagina(tipo);
        const QStringList passos = edicoes.split(' ');
        for (const QString &passo : passos) {
            if (passo == u"inclui") IncluiCartao(tipo, "NOVO", "B", {"530000"});
            if (passo == u"altera") AlteraCartao(tipo, 1, "B", {"521111"});
            if (passo == u"ordena") p->OrdenaPeloTitulo(0);
            if (passo == u"desmarca") p->CheckPadrao()->setChecked(false);
            if (passo == u"escolhe") {
                p->CheckPadrao()->setChecked(true);
                p->ComboPadrao()->setCurrentIndex(p->ComboPadrao()->findText("C"));
                emit p->ComboPadrao()->activated(p->ComboPadrao()->currentIndex());
            }
            if (passo == u"exclui") {
                ClicaCelula(p->Grade(), 1, 0);
                caixas->respostas = {Resposta::Sim};
                p->Excluir(false);
            }
        }
        const QStringList editada = Estado();
        QVERIFY(editada[0] != carregada[0]);
        if (passos.size() > 1) {
            // Short of the table loaded, the changes are still unsaved.
            Teclas(passos.size() - 1);
            QVERIFY(Alterada());
        }
        Teclas(1);
        QCOMPARE(Estado(), carregada);
        QVERIFY(!Alterada() && !janela->isWindowModified());
        QVERIFY(!Acao("Desfazer1")->isEnabled());
        Teclas(passos.size(), true);
        QCOMPARE(Estado(), editada);
        QVERIFY(Alterada() && janela->isWindowModified());
        Teclas(passos.size());
        QVERIFY(janela->SalvaConfig());
        QCOMPARE(lote::Le(inst.todas()), arquivo);
        // The save starts the history again: nothing to redo.
        Teclas(1, true);
        QCOMPARE(Estado(), carregada);
    }

    // One step per action, named in the menu: an inclusion with its BINs, or a tick with the
    // network chosen after it, goes back in one Ctrl+Z. A focus is no change and no step.
    void umPassoPorAcao_data() {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QString>("passo");
        QTest::newRow("inclusão") << "inclui"
                                  << "inclusão de A&&B";
        QTest::newRow("alteração") << "altera"
                                   << "alteração de DEB DOIS";
        QTest::newRow("exclusão") << "exclui"
                                  << "exclusão de DEB DOIS";
        QTest::newRow("ordenação") << "ordena"
                                   << "ordenação";
        QTest::newRow("rede padrão marcada e escolhida") << "escolhe"
                                                         << "rede padrão";
        QTest::newRow("foco na rede padrão") << "foco"
                                             << "";
    }
    void umPassoPorAcao() {
        QFETCH(QString, acao);
        QFETCH(QString, passo);
        AbreEm(QStringLiteral("TODAS"),
               {{"DEB UM", 10, 2, {"500000"}}, {"DEB DOIS", 10, 2, {"520000"}}});
        ClicaArvore(1);
        PaginaCartoes *p = Pagina(TipoGrade::Debito);
        if (acao == u"inclui") IncluiCartao(TipoGrade::Debito, "A&B", "B", {"530000", "540000"});
        if (acao == u"altera") AlteraCartao(TipoGrade::Debito, 1, "Bloqueada", {"521111"});
        if (acao == u"ordena") ClicaTitulo(p->Grade(), 0);
        if (acao == u"escolhe") {
            p->CheckPadrao()->setChecked(true);
            p->ComboPadrao()->setCurrentIndex(p->ComboPadrao()->findText("B"));
            emit p->ComboPadrao()->activated(p->ComboPadrao()->currentIndex());
        }
        if (acao == u"exclui") {
            p->Grade()->selectRow(1);
            caixas->respostas = {Resposta::Sim};
            p->Excluir(false);
        }
        if (acao == u"foco") {
            p->CheckPadrao()->setFocus();
            QTRY_VERIFY(p->CheckPadrao()->hasFocus());
        }
        QAction *desfazer = Acao("Desfazer1");
        QAction *refazer = Acao("Refazer1");
        QCOMPARE(desfazer->text(), passo.isEmpty() ? "&Desfazer" : "&Desfazer " + passo);
        // A sort alone is no change to save.
        QCOMPARE(Alterada(), !passo.isEmpty() && acao != u"ordena");
        QCOMPARE(desfazer->isEnabled(), !passo.isEmpty());
        if (passo.isEmpty()) return;
        Teclas(1);
        QVERIFY(!desfazer->isEnabled());
        QCOMPARE(refazer->text(), "&Refazer " + passo);
        QVERIFY(!Alterada() && !janela->isWindowModified());
        Teclas(1, true);
        QCOMPARE(desfazer->text(), "&Desfazer " + passo);
        QVERIFY(Alterada() && janela->isWindowModified());
    }

    // After an undo back to the table loaded, unticking the default is a change again.
    void desfazEDesmarca_data() {
        QTest::addColumn<bool>("desmarca");
        QTest::newRow("rede padrão desmarcada") << true;
        QTest::newRow("outra rede escolhida") << false;
    }
    void desfazEDesmarca() {
        QFETCH(bool, desmarca);
        AbreEm(QStringLiteral("TODAS"), {{"", 20, 255, {}}, {"CRED", 20, 1, {"411111"}}});
        ClicaArvore(0);
        PaginaCartoes *p = Pagina(TipoGrade::Credito);
        if (desmarca)
            QTest::mouseClick(p->CheckPadrao(), Qt::LeftButton, {}, QPoint(5, 8));
        else
            emit p->ComboPadrao()->activated(p->ComboPadrao()->findText("B"));
        QVERIFY(Alterada());
        Teclas(1);
        QVERIFY(!Alterada() && p->CheckPadrao()->isChecked());
        QTest::mouseClick(p->CheckPadrao(), Qt::LeftButton, {}, QPoint(5, 8));
        QVERIFY(Alterada() && janela->isWindowModified());
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({{"CRED", 20, 1, {"411111"}}}));
    }

    // Steps of the table dropped would land on the one read again.
    void recargaRecomeca() {
        AbreEm(QStringLiteral("TODAS"), {{"DEB UM", 10, 2, {"500000"}}});
        ClicaArvore(1);
        IncluiCartao(TipoGrade::Debito, "NOVO", "B", {"530000"});
        caixas->respostas = {Resposta::Nao};
        ClicaArvore(0);
        QVERIFY(!Acao("Desfazer1")->isEnabled());
        Teclas(1);
        QCOMPARE(Linhas(Grade(TipoGrade::Debito)), (QStringList{"DEB UM|B|500000;", "||"}));
    }
};

QTEST_MAIN(TstJanelaDesfazer)
#include "tst_janela_desfazer.moc"
