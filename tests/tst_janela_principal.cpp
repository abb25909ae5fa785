// The main window through its widgets: start-up, company selection, the option tree, loading a
// table into the grids and defaults, delete, sort, default networks, "Retornar" and the saved
// file byte by byte.

#include "janela_principal_base.h"

#include "env/texto.h"

#include <QWindow>

using namespace janela;
using lote::Cartao;

class TstJanelaPrincipal : public QObject, public Base {
    Q_OBJECT

    // A table with a credit default (A), two debit cards, one blocked fuel card and one credit
    // card, the types interleaved.
    QList<Cartao> TabelaExemplo() const {
        return {{"", 20, 255, {}},
                {"DEB UM", 10, 2, {"500000", "510000-510099"}},
                {"CRED", 20, 1, {"411111"}},
                {"DEB DOIS", 10, 2, {"520000"}},
                {"COMB", 65535, 3, {"600000", "600001", "600002"}}};
    }

    void Prepara() { AbreEm(QStringLiteral("TODAS"), TabelaExemplo()); }
    QComboBox *ComboPadrao(TipoGrade t) const { return Pagina(t)->ComboPadrao(); }
    QCheckBox *CheckPadrao(TipoGrade t) const { return Pagina(t)->CheckPadrao(); }
    QGroupBox *GrupoPadrao(TipoGrade t) const { return Pagina(t)->GrupoPadrao(); }

private slots:
    void cleanup() {
        Fecha();
        QVERIFY(NenhumaJanelaAberta());
    }

    void inicio() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        // The caption shown: the modified marker is off.
        QCOMPARE(janela->windowHandle()->title(), QStringLiteral("Configurador Roteamento - 1.11"));
        QVERIFY(!Arvore()->isEnabled());
        QVERIFY(!Paginas()->isVisible());
        QVERIFY(Acao("Sair1")->isEnabled());
        QVERIFY(Empresa()->isEnabled());
        QCOMPARE(Empresa()->currentText(), QString());
        QStringList itens;
        for (int i = 0; i < Empresa()->count(); ++i)
            itens << Empresa()->itemText(i);
        QCOMPARE(itens, (QStringList{"12345678", "ABCDEFGH", "TODAS"}));
        QCOMPARE(caixas->caixas.size(), 0);
        auto *painel = Filho<PainelBotao>("pnAtivaRoteamento");
        QCOMPARE(painel->caption(), QStringLiteral("Inativa"));
        QCOMPARE(Arvore()->topLevelItemCount(), 3);
        QCOMPARE(Arvore()->topLevelItem(1)->text(0), QStringLiteral("Débito"));
        for (const char *nome : {"Grade_cred", "grade_deb", "Grade_comb"}) {
            auto *g = Filho<QTableView>(nome);
            QVERIFY2(g, nome);
            QCOMPARE(Linhas(g), QStringList{"||"});
            QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(),
                     QStringLiteral("Cartão "));
            QCOMPARE(g->columnWidth(2), 1500);
            QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(),
                     QStringLiteral("Rede Destino"));
            QCOMPARE(g->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Bins"));
        }
    }

    void inicioSemComunic() {
        QVERIFY(MontaInstalacao(false));
        AbreJanela();
        QCOMPARE(caixas->caixas.size(), 1);
        QCOMPARE(caixas->caixas[0].texto,
                 QStringLiteral("Problemas ao acessar arquivo de configuração"));
        QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configurador Roteamento"));
        QCOMPARE(caixas->caixas[0].botoes, Botoes::Ok);
        QVERIFY(janela->isVisible());
        EscolheEmpresa(QStringLiteral("TODAS"));
        QCOMPARE(ComboPadrao(TipoGrade::Credito)->count(), 1);
    }

    void escolheEmpresa_data() {
        QTest::addColumn<QString>("empresa");
        QTest::newRow("TODAS") << QStringLiteral("TODAS");
        QTest::newRow("empresa") << QStringLiteral("ABCDEFGH");
    }
    void escolheEmpresa() {
        QFETCH(QString, empresa);
        QVERIFY(MontaInstalacao());
        const QString alvo =
            empresa == QStringLiteral("TODAS") ? inst.todas() : inst.empresa(empresa);
        const QString outro =
            empresa == QStringLiteral("TODAS") ? inst.empresa("ABCDEFGH") : inst.todas();
        QVERIFY(EscreveTabela(alvo, TabelaExemplo()));
        QVERIFY(EscreveTabela(outro, {{"OUTRO", 10, 1, {"999999"}}}));
        AbreJanela();
        EscolheEmpresa(empresa);
        QCOMPARE(janela->CaminhoTabRot(), alvo);
        QVERIFY(Arvore()->isEnabled());
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)), (QStringList{"CRED|A|411111;", "||"}));
        QCOMPARE(Linhas(Grade(TipoGrade::Debito)),
                 (QStringList{"DEB UM|B|500000;510000-510099;", "DEB DOIS|B|520000;", "||"}));
        QCOMPARE(Linhas(Grade(TipoGrade::Combustivel)),
                 (QStringList{"COMB|Bloqueada|600000;600001;600002;", "||"}));
        QVERIFY(CheckPadrao(TipoGrade::Credito)->isChecked());
        QCOMPARE(ComboPadrao(TipoGrade::Credito)->currentText(), QStringLiteral("A"));
        QVERIFY(ComboPadrao(TipoGrade::Credito)->isEnabled());
        for (TipoGrade t : {TipoGrade::Debito, TipoGrade::Combustivel}) {
            QVERIFY(!CheckPadrao(t)->isChecked());
            QCOMPARE(ComboPadrao(t)->currentText(), QString());
            QVERIFY(!GrupoPadrao(t)->isEnabled());
        }
        // The network lists per card type, in COMUNIC.cnf order.
        auto itens = [](QComboBox *c) {
            QStringList l;
            for (int i = 0; i < c->count(); ++i)
                l << c->itemText(i);
            return l;
        };
        QCOMPARE(itens(ComboPadrao(TipoGrade::Credito)), (QStringList{"Bloqueada", "B", "A"}));
        QCOMPARE(itens(ComboPadrao(TipoGrade::Debito)), (QStringList{"Bloqueada", "B"}));
        QCOMPARE(itens(ComboPadrao(TipoGrade::Combustivel)), (QStringList{"Bloqueada", "C"}));
        QCOMPARE(caixas->caixas.size(), 0);
        QVERIFY(!Alterada());
    }

    void digitaEmpresaInexistente() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        QTest::keyClicks(Empresa(), QStringLiteral("t"));
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Empresa não encontrada")});
        QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configuração de Roteamento"));
        QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
        QCOMPARE(Empresa()->currentText(), QString());
        QVERIFY(Arvore()->isEnabled());
        QCOMPARE(janela->CaminhoTabRot(), QString());
    }

    void arvoreMostraUmaAba_data() {
        QTest::addColumn<int>("no");
        QTest::newRow("Crédito") << 0;
        QTest::newRow("Débito") << 1;
        QTest::newRow("Combustível") << 2;
    }
    void arvoreMostraUmaAba() {
        QFETCH(int, no);
        Prepara();
        ClicaArvore(no);
        QVERIFY(Paginas()->isVisible());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(Paginas()->isTabVisible(i), i == no);
        QCOMPARE(Paginas()->currentIndex(), no);
        QVERIFY(!Empresa()->isEnabled());
        QVERIFY(!Acao("Sair1")->isEnabled());
        QVERIFY(Arvore()->isEnabled());
    }

    void arvoreRecarregaDescartandoEdicoes() {
        Prepara();
        ClicaArvore(1);
        IncluiCartao(TipoGrade::Debito, "NOVO", "B", {"530000"});
        QCOMPARE(Grade(TipoGrade::Debito)->model()->rowCount(), 4);
        // The edits are dropped only when the operator says so.
        caixas->respostas = {Resposta::Nao};
        ClicaArvore(0);
        QCOMPARE(caixas->Textos(), QStringList{"Deseja gravar a configuração ? "});
        QCOMPARE(Grade(TipoGrade::Debito)->model()->rowCount(), 3);
    }

    void excluir_data() {
        QTest::addColumn<int>("linha");
        QTest::addColumn<int>("resposta"); // Resposta
        QTest::addColumn<bool>("tecla");
        QTest::addColumn<QStringList>("esperado");
        QTest::addColumn<bool>("alterada");
        QTest::newRow("segundo de três")
            << 1 << int(Resposta::Sim) << false
            << QStringList{"DEB UM|B|500000;510000-510099;", "DEB TRES|B|540000;", "||"} << true;
        QTest::newRow("não") << 2 << int(Resposta::Nao) << false
                             << QStringList{"DEB UM|B|500000;510000-510099;", "DEB DOIS|B|520000;",
                                            "DEB TRES|B|540000;", "||"}
                             << false;
        QTest::newRow("tecla Delete")
            << 2 << int(Resposta::Sim) << true
            << QStringList{"DEB UM|B|500000;510000-510099;", "DEB DOIS|B|520000;", "||"} << true;
    }
    void excluir() {
        QFETCH(int, linha);
        QFETCH(int, resposta);
        QFETCH(bool, tecla);
        QFETCH(QStringList, esperado);
        QFETCH(bool, alterada);
        Prepara();
        ClicaArvore(1);
        IncluiCartao(TipoGrade::Debito, "DEB TRES", "B", {"540000"});
        // Including is a change; the deletion's answer decides what is left of it here.
        janela->Cartoes().DefineAlterada(false);
        QTableView *g = Grade(TipoGrade::Debito);
        ClicaCelula(g, linha, 0);
        QCOMPARE(Pagina(TipoGrade::Debito)->Selecionado(), linha);
        const QString nome = Celula(g, linha, 0);
        caixas->respostas = {Resposta(resposta)};
        if (tecla)
            QTest::keyClick(g, Qt::Key_Delete);
        else
            Clica("bt_excluir_deb");
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Confirma a exclusão - ") + nome});
        QCOMPARE(caixas->caixas[0].icone, Icone::Pergunta);
        QCOMPARE(caixas->caixas[0].botoes, Botoes::SimNao);
        QCOMPARE(Linhas(g), esperado);
        QCOMPARE(Alterada(), alterada);
        if (resposta == int(Resposta::Sim) && linha < g->model()->rowCount() - 1) {
            // The same row stays selected: the card that followed.
            QCOMPARE(Pagina(TipoGrade::Debito)->Selecionado(), linha);
            QCOMPARE(g->selectionModel()->selectedRows().first().row(), linha);
        }
    }

    void excluirUnicoCartao() {
        Prepara();
        ClicaArvore(0);
        QTableView *g = Grade(TipoGrade::Credito);
        ClicaCelula(g, 0, 1);
        caixas->respostas = {Resposta::Sim};
        Clica("bt_exclui_cred");
        QCOMPARE(Linhas(g), QStringList{"||"});
        QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(),
                 QStringLiteral("Rede Destino"));
        QVERIFY(Alterada());
        // Nothing is left to select: a second delete asks for a row.
        QCOMPARE(Pagina(TipoGrade::Credito)->Selecionado(), std::nullopt);
        caixas->Limpa();
        Clica("bt_exclui_cred");
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Clique no bin desejado")});
    }

    void semLinhaSelecionada_data() {
        QTest::addColumn<QString>("painel");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("alterar") << "bt_alterar_cred"
                                 << "Clique no bin desejado";
        QTest::newRow("excluir") << "bt_exclui_cred"
                                 << "Clique no bin desejado";
        QTest::newRow("duplo clique") << ""
                                      << "Clique para alterar no bin desejado";
        // Delete on a selected card asks, on the credit grid too; unanswered, it keeps the card.
        QTest::newRow("tecla no crédito") << "tecla"
                                          << "Confirma a exclusão - CRED";
    }
    void semLinhaSelecionada() {
        QFETCH(QString, painel);
        QFETCH(QString, mensagem);
        Prepara();
        ClicaArvore(0);
        QTableView *g = Grade(TipoGrade::Credito);
        if (painel.isEmpty()) {
            // Double-click on the title row: nothing gets selected there.
            ClicaTitulo(g, 0, true);
        } else if (painel == QStringLiteral("tecla")) {
            ClicaCelula(g, 0, 0);
            QTest::keyClick(g, Qt::Key_Delete);
        } else {
            Clica(painel.toUtf8().constData());
        }
        QCOMPARE(caixas->Textos(), mensagem.isEmpty() ? QStringList{} : QStringList{mensagem});
        if (!mensagem.isEmpty())
            QCOMPARE(caixas->caixas[0].icone, painel == u"tecla" ? Icone::Pergunta : Icone::Erro);
        QCOMPARE(Linhas(g), (QStringList{"CRED|A|411111;", "||"}));
        QCOMPARE(OperacaoDe(TipoGrade::Credito), std::nullopt);
    }

    void alterarEIncluirPoemOperacao() {
        Prepara();
        ClicaArvore(1);
        ClicaCelula(Grade(TipoGrade::Debito), 1, 0);
        Clica("bt_alterar_deb");
        TFrmIncluiCartao *d = Pagina(TipoGrade::Debito)->Dialogo();
        QVERIFY(d->isVisible());
        QCOMPARE(OperacaoDe(TipoGrade::Debito), Operacao::Alteracao);
        QCOMPARE(d->windowTitle(), QStringLiteral("Alteração de Cartão de Débito"));
        QCOMPARE(d->Bins(), QStringList{"520000"});
        d->bt_encerra_incluirClick();
        Clica("bt_incluir_deb");
        QCOMPARE(OperacaoDe(TipoGrade::Debito), Operacao::Inclusao);
        QCOMPARE(d->windowTitle(), QStringLiteral("Inclusão de Cartão de Débito"));
        d->bt_encerra_incluirClick();
        QCOMPARE(caixas->caixas.size(), 0);
    }

    void enterNoPainelExecutaClique() {
        Prepara();
        ClicaArvore(0);
        auto *excluir = Filho<PainelBotao>("bt_exclui_cred");
        QCOMPARE(excluir->focusPolicy(), Qt::StrongFocus);
        excluir->setFocus();
        QTest::keyClick(excluir, Qt::Key_Return);
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Clique no bin desejado")});
        // Layout panels are no buttons.
        QCOMPARE(Filho<QWidget>("Panel4")->focusPolicy(), Qt::NoFocus);
    }

    void rotinasDaGrade() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        EscolheEmpresa(QStringLiteral("TODAS"));
        PaginaCartoes *p = Pagina(TipoGrade::Debito);
        const QString longo(300, QLatin1Char('n'));
        QStringList bins;
        for (int i = 0; i < 20; ++i)
            bins << QString(20, QLatin1Char('1'));
        // The name keeps what its field in the file holds.
        QVERIFY(p->IncluiDadosNaGrade(longo, "B", bins));
        QCOMPARE(Linhas(p->Grade()),
                 (QStringList{longo.left(30) + "|B|" + bins.join(';') + ";", "||"}));
        QVERIFY(p->IncluiDadosAlteradosNaGrade(0, "DEB", "B", {"500000"}));
        QVERIFY(!p->IncluiDadosAlteradosNaGrade(1, "DEB", "B", {"500000"}));
        QCOMPARE(Linhas(p->Grade()), (QStringList{"DEB|B|500000;", "||"}));
        QVERIFY(!Alterada());
        QCOMPARE(caixas->caixas.size(), 0);
    }

    void paineisComoBotoes() {
        Prepara();
        ClicaArvore(0);
        auto *incluir = Filho<PainelBotao>("bt_incluir_cred");
        QCOMPARE(incluir->palette().color(QPalette::Window), QColor(255, 102, 0));
        QCOMPARE(Filho<PainelBotao>("bt_alterar_cred")->palette().color(QPalette::Window),
                 QColor(102, 102, 102));
        QCOMPARE(incluir->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(incluir->font().bold());
        QVERIFY(!incluir->font().italic());
        QEvent entra(QEvent::Enter);
        QApplication::sendEvent(incluir, &entra);
        QCOMPARE(incluir->frameShape(), QFrame::Panel);
        QEvent sai(QEvent::Leave);
        QApplication::sendEvent(incluir, &sai);
        QCOMPARE(incluir->frameShape(), QFrame::NoFrame);
        incluir->setFocus();
        QCOMPARE(incluir->frameShape(), QFrame::Panel);
        QTest::keyClick(incluir, Qt::Key_Return);
        TFrmIncluiCartao *d = Pagina(TipoGrade::Credito)->Dialogo();
        QVERIFY(d->isVisible());
        QCOMPARE(OperacaoDe(TipoGrade::Credito), Operacao::Inclusao);
        d->bt_encerra_incluirClick();
        // Enter in the company selector is only a key.
        QTest::keyClick(Empresa(), Qt::Key_Return);
        QVERIFY(!d->isVisible());
    }

    void ordena_data() {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<int>("linhaClicada");
        QTest::addColumn<QStringList>("nomes");
        QTest::newRow("Cartão") << 0 << 0 << QStringList{"Alfa", "Zeta", "banco", ""};
        QTest::newRow("Rede Destino") << 1 << 0 << QStringList{"Zeta", "Alfa", "banco", ""};
        QTest::newRow("Bins") << 2 << 0 << QStringList{"Zeta", "banco", "Alfa", ""};
        // Only the titles sort: a click on the first card selects it.
        QTest::newRow("primeira linha de cartão")
            << 0 << 1 << QStringList{"banco", "Zeta", "Alfa", ""};
        QTest::newRow("botão direito no título")
            << 2 << -1 << QStringList{"Zeta", "banco", "Alfa", ""};
    }
    void ordena() {
        QFETCH(int, coluna);
        QFETCH(int, linhaClicada);
        QFETCH(QStringList, nomes);
        AbreEm(QStringLiteral("TODAS"), {{"banco", 65535, 1, {"300000"}},
                                         {"Zeta", 20, 1, {"200000"}},
                                         {" Alfa", 10, 1, {"350000"}}});
        ClicaArvore(0);
        QTableView *g = Grade(TipoGrade::Credito);
        ClicaCelula(g, 2, 0);
        if (linhaClicada == 1)
            ClicaCelula(g, 0, coluna);
        else
            ClicaTitulo(g, coluna, false, linhaClicada < 0 ? Qt::RightButton : Qt::LeftButton);
        QStringList obtidos;
        for (int r = 0; r < g->model()->rowCount(); ++r)
            obtidos << Celula(g, r, 0).trimmed();
        QCOMPARE(obtidos, nomes);
        // The stored row is the one the grid shows selected.
        const int visivel = g->selectionModel()->selectedRows().value(0).row();
        QCOMPARE(Pagina(TipoGrade::Credito)->Selecionado(), visivel);
        QVERIFY(!Alterada());
    }

    void ordenaDireto() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        EscolheEmpresa(QStringLiteral("TODAS"));
        PaginaCartoes *p = Pagina(TipoGrade::Combustivel);
        const QStringList nomes{"b", "B", "á", "a", "Z", "a", "A"};
        for (const QString &nome : nomes)
            QVERIFY(p->IncluiDadosNaGrade(nome, "", {}));
        p->Modelo()->Ordena(0);
        QStringList obtidos;
        for (const TCartao &c : janela->Cartoes().Cartoes(TipoGrade::Combustivel))
            obtidos << DeCp1252(CopiaCampoParaTexto(c.Nome, TamNome));
        // Windows-1252 bytes: upper case, lower case, then accented letters.
        QCOMPARE(obtidos, (QStringList{"A", "B", "Z", "a", "a", "b", "á"}));
        QCOMPARE(Linhas(p->Grade()).last(), QStringLiteral("||"));
    }

    void padroes() {
        Prepara();
        ClicaArvore(0);
        QCheckBox *cb = CheckPadrao(TipoGrade::Credito);
        QTest::mouseClick(cb, Qt::LeftButton, {}, QPoint(5, cb->height() / 2));
        QVERIFY(!cb->isChecked());
        QCOMPARE(ComboPadrao(TipoGrade::Credito)->currentText(), QString());
        QVERIFY(!ComboPadrao(TipoGrade::Credito)->isEnabled());
        QVERIFY(!GrupoPadrao(TipoGrade::Credito)->isEnabled());
        QVERIFY(Alterada());
        QTest::mouseClick(cb, Qt::LeftButton, {}, QPoint(5, cb->height() / 2));
        QVERIFY(ComboPadrao(TipoGrade::Credito)->isEnabled());
        QCOMPARE(ComboPadrao(TipoGrade::Credito)->currentText(), QString());
        QTest::mouseClick(cb, Qt::LeftButton, {}, QPoint(5, cb->height() / 2));
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        // No credit default any more; the cards as they were.
        QCOMPARE(lote::Le(inst.todas()),
                 lote::Arquivo({{"CRED", 20, 1, {"411111"}},
                                {"DEB UM", 10, 2, {"500000", "510000-510099"}},
                                {"DEB DOIS", 10, 2, {"520000"}},
                                {"COMB", 65535, 3, {"600000", "600001", "600002"}}}));
    }

    void arquivoGravadoByteAByte() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        EscolheEmpresa(QStringLiteral("ABCDEFGH"));
        ClicaArvore(2);
        // Defaults chosen by the operator, fuel before debit.
        QComboBox *comb = ComboPadrao(TipoGrade::Combustivel);
        CheckPadrao(TipoGrade::Combustivel)->setChecked(true);
        comb->setCurrentIndex(comb->findText("C"));
        emit comb->activated(comb->currentIndex());
        QComboBox *deb = ComboPadrao(TipoGrade::Debito);
        CheckPadrao(TipoGrade::Debito)->setChecked(true);
        deb->setCurrentIndex(0);
        emit deb->activated(0);
        IncluiCartao(TipoGrade::Combustivel, "POSTO", "C", {"700000"});
        IncluiCartao(TipoGrade::Debito, "DEBITO", "B", {"800000", "810000-810999"});
        IncluiCartao(TipoGrade::Credito, "VISA", "A", {"411111", "422222"});
        IncluiCartao(TipoGrade::Credito, "ELO", "Bloqueada");
        QVERIFY(Alterada());
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_comb");
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Deseja gravar a configuração ? ")});
        QCOMPARE(caixas->caixas[0].botoes, Botoes::SimNaoCancelar);
        QCOMPARE(lote::Le(inst.empresa("ABCDEFGH")),
                 lote::Arquivo({{"", 65535, 254, {}},
                                {"", 40, 253, {}},
                                {"VISA", 20, 1, {"411111", "422222"}},
                                {"ELO", 65535, 1, {}},
                                {"DEBITO", 10, 2, {"800000", "810000-810999"}},
                                {"POSTO", 40, 3, {"700000"}}}));
        QVERIFY(!Alterada());
        QVERIFY(!Paginas()->isVisible());
        QVERIFY(Empresa()->isEnabled());
        QVERIFY(Acao("Sair1")->isEnabled());
        // Reloaded from the file just written.
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)),
                 (QStringList{"VISA|A|411111;422222;", "ELO|Bloqueada|", "||"}));
    }

    void gravaVazio() {
        QVERIFY(MontaInstalacao());
        AbreJanela();
        EscolheEmpresa(QStringLiteral("TODAS"));
        ClicaArvore(0);
        // A BIN typed and removed again is a change, and leaves nothing.
        PaginaCartoes *p = Pagina(TipoGrade::Credito);
        Clica("bt_incluir_cred");
        PreencheDialogo(p->Dialogo(), QString(), QString(), {"411111"});
        QCOMPARE(caixas->Textos(), QStringList{"Digite o Nome do Cartão"});
        p->Dialogo()->bt_encerra_incluirClick();
        QVERIFY(Alterada());
        caixas->Limpa();
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(lote::Le(inst.todas()), QByteArray("\x01\x00\x00\x00", 4));
    }

    void retornar_data() {
        QTest::addColumn<int>("resposta");
        QTest::newRow("sim") << int(Resposta::Sim);
        QTest::newRow("não") << int(Resposta::Nao);
        QTest::newRow("cancelar") << int(Resposta::Cancelar);
    }
    void retornar() {
        QFETCH(int, resposta);
        Prepara();
        const QByteArray antes = lote::Le(inst.todas());
        ClicaArvore(1);
        // No change: no question.
        Clica("bt_sair_deb");
        QCOMPARE(caixas->caixas.size(), 0);
        QVERIFY(!Paginas()->isVisible());
        ClicaArvore(1);
        // The second card: a left click on the first row sorts the grid first.
        ClicaCelula(Grade(TipoGrade::Debito), 1, 0);
        caixas->respostas = {Resposta::Sim, Resposta(resposta)};
        Clica("bt_excluir_deb");
        Clica("bt_sair_deb");
        QCOMPARE(caixas->Textos().last(), QStringLiteral("Deseja gravar a configuração ? "));
        const Resposta r = Resposta(resposta);
        QCOMPARE(Paginas()->isVisible(), r == Resposta::Cancelar);
        QCOMPARE(Alterada(), r != Resposta::Sim);
        QCOMPARE(lote::Le(inst.todas()) == antes, r != Resposta::Sim);
        const QStringList debito = Linhas(Grade(TipoGrade::Debito));
        if (r == Resposta::Nao) {
            // Reloaded: the deletion is gone; the next visit asks again.
            QCOMPARE(debito.size(), 3);
            ClicaArvore(1);
            caixas->respostas = {Resposta::Nao};
            Clica("bt_sair_deb");
            QCOMPARE(caixas->Textos().size(), 3);
        } else {
            QCOMPARE(debito, (QStringList{"DEB UM|B|500000;510000-510099;", "||"}));
        }
    }
};

QTEST_MAIN(TstJanelaPrincipal)
#include "tst_janela_principal.moc"
