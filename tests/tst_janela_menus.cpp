// The main window's menu and header: import and export with their questions, file dialogs and
// closing messages, the report of the BINs two cards cover, the routing switch panel, "&Sair" and
// the ignored close request.

#include "janela_principal_base.h"

#include "app/relatorio_bins.h"
#include "env/texto.h"

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace janela;
using lote::Cartao;

class TstJanelaMenus : public QObject, public Base {
    Q_OBJECT

    QString Arquivo(const char *nome) const { return unidade->filePath(QString::fromUtf8(nome)); }

    void Prepara() {
        AbreEm(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111", "400000-400099"}}});
    }

private slots:
    void cleanup() {
        Fecha();
        QVERIFY(NenhumaJanelaAberta());
    }

    void importar() {
        Prepara();
        const QString arq = Arquivo("lote/importa.txt");
        QVERIFY(lote::Escreve(
            arq, "ABCDEFGH;ALFA;411111,422222;20;C;I\r\nTODAS;CRED;411111;20;C;E\r\n"));
        caixas->respostas = {Resposta::Sim};
        caixas->arquivos = {arq};
        Acao("Importar1")->trigger();
        QCOMPARE(caixas->Textos(),
                 (QStringList{"Deseja realizar a importação ?", "Importação encerrada"}));
        QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configurador Roteamento"));
        QCOMPARE(caixas->caixas[0].icone, Icone::Pergunta);
        QCOMPARE(caixas->caixas[0].botoes, Botoes::SimNao);
        QCOMPARE(caixas->caixas[1].titulo, QStringLiteral("Configuração de Roteamento"));
        QCOMPARE(caixas->caixas[1].icone, Icone::Exclamacao);
        QCOMPARE(caixas->dialogos.size(), 1);
        QVERIFY(!caixas->dialogos[0].salvar);
        QCOMPARE(lote::Le(inst.empresa("ABCDEFGH")),
                 lote::Arquivo({{"ALFA", 20, 1, {"411111", "422222"}}}));
        QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({}));
        QVERIFY(QFile::exists(Arquivo("lote/StatusArqImportado.txt")));
        QVERIFY(lote::Le(inst.config() + "/trace.txt").contains("Entrou na rotina de importar"));
        // The selector is rebuilt with nothing chosen; the grids keep what they showed.
        QCOMPARE(Empresa()->currentText(), QString());
        QCOMPARE(Empresa()->count(), 3);
        QCOMPARE(Empresa()->itemText(2), QStringLiteral("TODAS"));
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)),
                 (QStringList{"CRED|A|411111;400000-400099;", "||"}));
    }

    // The report of the table on screen in a list; "Copiar" takes the selected lines, or all.
    void verificarBins() {
        AbreEm(QStringLiteral("TODAS"),
               {{"CRED", 20, 1, {"400000-499999", "411111"}}, {"OUTRO", 10, 1, {"411111"}}});
        Acao("VerificarBins1")->trigger();
        TFrmRelatorioBins *r = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<TFrmRelatorioBins *>(w); d && d->isVisible()) r = d;
        QVERIFY(r);
        auto *lista = r->findChild<QListWidget *>("LB_Achados");
        QStringList vistas;
        for (int i = 0; i < lista->count(); ++i)
            vistas.append(lista->item(i)->text());
        QCOMPARE(vistas,
                 (QStringList{"TODAS, Crédito: conflito: cartão CRED (A), bin 400000-499999, e "
                              "cartão OUTRO (B), bin 411111, em comum 411111",
                              "TODAS, Crédito: conflito: cartão CRED (A), bin 411111, e cartão "
                              "OUTRO (B), bin 411111, em comum 411111",
                              "TODAS, Crédito: redundância: cartão CRED (A), bins 400000-499999 "
                              "e 411111, em comum 411111"}));
        QCOMPARE(r->findChild<QLabel *>("LB_Titulo")->text(),
                 QStringLiteral("Tabela TODAS: 3 achados."));
        QTest::mouseClick(r->findChild<QPushButton *>("bt_copiar"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), vistas.join('\n') + '\n');
        lista->item(2)->setSelected(true);
        QTest::keySequence(lista, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), vistas[2] + '\n');
        QTest::mouseClick(r->findChild<QPushButton *>("bt_fechar"), Qt::LeftButton);
        QVERIFY(!r->isVisible());
        QCOMPARE(caixas->Textos(), QStringList());
    }

    // While a page is open no import rebuilds the selector under its edits, whose save then goes
    // on as usual.
    void importarComPaginaAberta() {
        Prepara();
        ClicaArvore(0);
        IncluiCartao(TipoGrade::Credito, "NOVO", "B", {"422222"});
        QVERIFY(!Acao("Importar1")->isEnabled());
        caixas->respostas = {Resposta::Sim, Resposta::Sim};
        caixas->arquivos = {Arquivo("importa.txt")};
        Acao("Importar1")->trigger();
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), QStringList{"Deseja gravar a configuração ? "});
        QCOMPARE(lote::Le(inst.todas()),
                 lote::Arquivo(
                     {{"CRED", 20, 1, {"411111", "400000-400099"}}, {"NOVO", 10, 1, {"422222"}}}));
        QVERIFY(Acao("Importar1")->isEnabled());
    }

    // Nothing to examine until a table is loaded, nor once the selector names none.
    void verificarSoComTabela() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        QAction *verificar = Acao("VerificarBins1");
        QVERIFY(!verificar->isEnabled());
        EscolheEmpresa(QStringLiteral("TODAS"));
        QVERIFY(verificar->isEnabled());
        QTest::keyClicks(Empresa(), "X");
        QVERIFY(!verificar->isEnabled());
    }

    void importarSemSeguir_data() {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<QStringList>("textos");
        QTest::newRow("não") << int(Resposta::Nao) << QString()
                             << QStringList{"Deseja realizar a importação ?"};
        QTest::newRow("diálogo cancelado")
            << int(Resposta::Sim) << QString()
            << QStringList{"Deseja realizar a importação ?", "Importação encerrada"};
        QTest::newRow("arquivo inexistente")
            << int(Resposta::Sim) << QStringLiteral("nao/existe.txt")
            << QStringList{"Deseja realizar a importação ?", "<erro>"};
    }
    void importarSemSeguir() {
        QFETCH(int, resposta);
        QFETCH(QString, arquivo);
        QFETCH(QStringList, textos);
        Prepara();
        const QByteArray antes = lote::Le(inst.todas());
        caixas->respostas = {Resposta(resposta)};
        caixas->arquivos = {arquivo.isEmpty() ? QString() : Arquivo(arquivo.toUtf8().constData())};
        Acao("Importar1")->trigger();
        QStringList obtidos = caixas->Textos();
        if (textos.last() == QStringLiteral("<erro>")) {
            QCOMPARE(obtidos.size(), 2);
            QCOMPARE(caixas->caixas[1].icone, Icone::Erro);
            // The run ended early: the selector keeps its company.
            QCOMPARE(Empresa()->currentText(), QStringLiteral("TODAS"));
        } else {
            QCOMPARE(obtidos, textos);
            QCOMPARE(caixas->dialogos.size(), resposta == int(Resposta::Sim) ? 1 : 0);
            QCOMPARE(Empresa()->currentText(),
                     resposta == int(Resposta::Sim) ? QString() : QStringLiteral("TODAS"));
        }
        QCOMPARE(lote::Le(inst.todas()), antes);
    }

    void exportar() {
        Prepara();
        QVERIFY(EscreveTabela(inst.empresa("12345678"),
                              {{"", 10, 255, {}}, {"DEB", 10, 2, {"500000"}}}));
        const QString arq = Arquivo("saida/exporta.txt");
        QDir().mkpath(Arquivo("saida"));
        caixas->respostas = {Resposta::Sim};
        caixas->arquivos = {arq};
        Acao("Exportar1")->trigger();
        QCOMPARE(caixas->Textos(),
                 (QStringList{"Deseja realizar a exportação ?", "Arquivo exportado com sucesso"}));
        QCOMPARE(caixas->caixas[1].titulo, QStringLiteral("Configuração de Roteamento"));
        QCOMPARE(caixas->caixas[1].icone, Icone::Exclamacao);
        QCOMPARE(caixas->dialogos.size(), 1);
        QVERIFY(caixas->dialogos[0].salvar);
        QCOMPARE(
            lote::Le(arq),
            QByteArray("12345678;DEB;500000;10;D;\r\nTODAS;CRED;411111,400000-400099;20;C;\r\n"));
        auto *memo = janela->findChild<QWidget *>("MemoDadosArq_Incluir");
        QVERIFY(memo && !memo->isVisible());
    }

    void exportarNaoGrava_data() {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<int>("dialogos");
        QTest::newRow("não") << int(Resposta::Nao) << 0;
        QTest::newRow("diálogo cancelado") << int(Resposta::Sim) << 1;
    }
    void exportarNaoGrava() {
        QFETCH(int, resposta);
        QFETCH(int, dialogos);
        Prepara();
        caixas->respostas = {Resposta(resposta)};
        Acao("Exportar1")->trigger();
        QCOMPARE(caixas->Textos(),
                 (QStringList{"Deseja realizar a exportação ?", "Arquivo não exportado"}));
        QCOMPARE(caixas->caixas[1].icone, Icone::Exclamacao);
        QCOMPARE(caixas->dialogos.size(), dialogos);
    }

    void chaveRoteamento() {
        Prepara();
        auto *painel = Filho<PainelBotao>("pnAtivaRoteamento");
        QCOMPARE(painel->caption(), QStringLiteral("Inativa"));
        Clica("pnAtivaRoteamento");
        QCOMPARE(painel->caption(), QStringLiteral("Ativa"));
        QCOMPARE(painel->palette().color(QPalette::Window), QColor(84, 179, 74));
        QVERIFY(lote::Le(inst.config() + "/VARDOCFG.INI").contains("HabilitaBinsPorEmpresa=1"));
        Clica("pnAtivaRoteamento");
        QCOMPARE(painel->caption(), QStringLiteral("Inativa"));
        QCOMPARE(painel->palette().color(QPalette::Window), QColor(221, 52, 53));
        QVERIFY(!Alterada());
        QCOMPARE(Grade(TipoGrade::Credito)->model()->rowCount(), 2);
        // A file that cannot be written: the text of the error, the panel as it was.
        const QString ini = inst.config() + "/VARDOCFG.INI";
        QFile::setPermissions(ini, QFileDevice::ReadOwner);
        Clica("pnAtivaRoteamento");
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Unable to write to ") + ini});
        QCOMPARE(painel->caption(), QStringLiteral("Inativa"));
    }

    // Ctrl+S saves what "Retornar" › Sim saves and leaves the page open, with nothing to ask.
    void gravarSemFechar() {
        Prepara();
        QVERIFY(!Acao("Gravar1")->isEnabled());
        ClicaArvore(0);
        caixas->respostas = {Resposta::Sim};
        Grade(TipoGrade::Credito)->selectRow(0);
        Pagina(TipoGrade::Credito)->Excluir(false);
        QVERIFY(Alterada());
        caixas->caixas.clear();
        QTest::keyClick(Grade(TipoGrade::Credito), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(caixas->caixas.size(), 0);
        QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({}));
        QVERIFY(!Alterada());
        QVERIFY(Paginas()->isVisible());
        // The file is what the page shows: the next save asks nothing about another program.
        IncluiCartao(TipoGrade::Credito, "NOVO", "A", {"422222"});
        Acao("Gravar1")->trigger();
        QCOMPARE(caixas->caixas.size(), 0);
        QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({{"NOVO", 20, 1, {"422222"}}}));
        Clica("bt_sair_cred");
        QCOMPARE(caixas->caixas.size(), 0);
        QVERIFY(!Acao("Gravar1")->isEnabled());
    }

    // The window manager's close button, which a Linux window manager shows anyway: over unsaved
    // edits it asks what "Retornar" asks, and Cancelar keeps the window.
    void fecharPelaJanela_data() {
        QTest::addColumn<bool>("editada");
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("fecha");
        QTest::addColumn<bool>("gravada");
        QTest::newRow("sem alteração") << false << int(Resposta::Ok) << true << false;
        QTest::newRow("Sim") << true << int(Resposta::Sim) << true << true;
        QTest::newRow("Não") << true << int(Resposta::Nao) << true << false;
        QTest::newRow("Cancelar") << true << int(Resposta::Cancelar) << false << false;
    }
    void fecharPelaJanela() {
        QFETCH(bool, editada);
        QFETCH(int, resposta);
        QFETCH(bool, fecha);
        QFETCH(bool, gravada);
        Prepara();
        const QByteArray antes = lote::Le(inst.todas());
        ClicaArvore(0);
        if (editada) {
            caixas->respostas = {Resposta::Sim};
            Grade(TipoGrade::Credito)->selectRow(0);
            Pagina(TipoGrade::Credito)->Excluir(false);
            QVERIFY(Alterada());
        }
        caixas->caixas.clear();
        caixas->respostas = {Resposta(resposta)};
        QCOMPARE(janela->close(), fecha);
        QCOMPARE(janela->isVisible(), !fecha);
        QCOMPARE(caixas->Textos(), editada ? QStringList{QStringLiteral("Deseja gravar a "
                                                                        "configuração ? ")}
                                           : QStringList{});
        QCOMPARE(lote::Le(inst.todas()) != antes, gravada);
    }

    void sair() {
        Prepara();
        QVERIFY(!(janela->windowFlags() & Qt::WindowCloseButtonHint));
        ClicaArvore(0);
        QVERIFY(!Acao("Sair1")->isEnabled());
        Clica("bt_sair_cred");
        // Leaving the program asks nothing, even with a change pending.
        janela->Cartoes().DefineAlterada(true);
        Acao("Sair1")->trigger();
        QVERIFY(!janela->isVisible());
        QCOMPARE(caixas->caixas.size(), 0);
    }
};

QTEST_MAIN(TstJanelaMenus)
#include "tst_janela_menus.moc"
