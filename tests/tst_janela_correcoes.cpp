// The main window where it keeps the operator's work: a failed save keeps the page, codes of
// networks without a module survive, the inclusion limit counts the live table, a damaged
// TabRot.bin is reported, the selected row is the visible one, and what the table cannot hold is
// refused before anything is written.

#include "janela_principal_base.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDevice>

using namespace janela;
using lote::Cartao;

class TstJanelaCorrecoes : public QObject, public Base {
    Q_OBJECT

    void Abre(const QString &empresa, const QList<Cartao> &cartoes, int no = 0) {
        AbreEm(empresa, cartoes);
        ClicaArvore(no);
    }

    static QList<Cartao> Muitos(int n, std::uint8_t tipo = 1) {
        QList<Cartao> l;
        for (int i = 0; i < n; ++i)
            l.append({QByteArray("C") + QByteArray::number(i),
                      10,
                      tipo,
                      {QByteArray::number(400000 + i)}});
        return l;
    }

private slots:
    void cleanup() {
        Fecha();
        QVERIFY(NenhumaJanelaAberta());
    }

    // A conflict the file did not have: No keeps the page and its edits, Yes saves. One the
    // file already had is not asked about again.
    void conflitoNovoNaGravacao() {
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"400000-499999"}}});
        const QByteArray antes = lote::Le(inst.todas());
        IncluiCartao(TipoGrade::Credito, "NOVO", "B", {"411111"});
        caixas->respostas = {Resposta::Sim, Resposta::Nao};
        Clica("bt_sair_cred");
        const QString pergunta =
            "A tabela TODAS passa a ter um conflito que a tabela gravada não tinha:\n\nTODAS, "
            "Crédito: conflito: cartão CRED (A), bin 400000-499999, e cartão NOVO (B), bin "
            "411111, em comum 411111\n\nDeseja gravar assim mesmo ?";
        QCOMPARE(caixas->Textos(), (QStringList{"Deseja gravar a configuração ? ", pergunta}));
        QCOMPARE(caixas->caixas[1].botoes, Botoes::SimNao);
        QCOMPARE(caixas->caixas[1].icone, Icone::Pergunta);
        QVERIFY(Paginas()->isVisible());
        QVERIFY(Alterada());
        QCOMPARE(lote::Le(inst.todas()), antes);
        caixas->Limpa();
        caixas->respostas = {Resposta::Sim, Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), (QStringList{"Deseja gravar a configuração ? ", pergunta}));
        QVERIFY(!Paginas()->isVisible());
        QCOMPARE(lote::Le(inst.todas()),
                 lote::Arquivo({{"CRED", 20, 1, {"400000-499999"}}, {"NOVO", 10, 1, {"411111"}}}));
        ClicaArvore(0);
        IncluiCartao(TipoGrade::Credito, "OUTRO", "A", {"600000"});
        caixas->Limpa();
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), QStringList{"Deseja gravar a configuração ? "});
        QVERIFY(!Paginas()->isVisible());
    }

    void gravacaoFalhaMantemPagina() {
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111"}}});
        const QByteArray antes = lote::Le(inst.todas());
        QFile::setPermissions(inst.todas(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        IncluiCartao(TipoGrade::Credito, "NOVO", "B", {"422222"});
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), (QStringList{"Deseja gravar a configuração ? ",
                                                "Erro na gravação do arquivo\n" + inst.todas() +
                                                    ": arquivo somente leitura"}));
        QCOMPARE(caixas->caixas[1].titulo, QStringLiteral("Configurador Roteamento"));
        QVERIFY(janela->isVisible());
        QVERIFY(Paginas()->isVisible());
        QVERIFY(Alterada());
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)),
                 (QStringList{"CRED|A|411111;", "NOVO|B|422222;", "||"}));
        QCOMPARE(lote::Le(inst.todas()), antes);
        // Mended, the next "Retornar" saves.
        QFile::setPermissions(inst.todas(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        caixas->Limpa();
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), QStringList{"Deseja gravar a configuração ? "});
        QVERIFY(!Paginas()->isVisible());
        QCOMPARE(lote::Le(inst.todas()),
                 lote::Arquivo({{"CRED", 20, 1, {"411111"}}, {"NOVO", 10, 1, {"422222"}}}));
    }

    // A tree click while the page has unsaved edits asks the question of "Retornar".
    void trocaDeNoPergunta_data() {
        QTest::addColumn<Resposta>("resposta");
        QTest::addColumn<bool>("gravado");
        QTest::addColumn<int>("aba");
        QTest::newRow("Sim") << Resposta::Sim << true << 1;
        QTest::newRow("Não") << Resposta::Nao << false << 1;
        QTest::newRow("Cancelar") << Resposta::Cancelar << false << 0;
    }
    void trocaDeNoPergunta() {
        QFETCH(Resposta, resposta);
        QFETCH(bool, gravado);
        QFETCH(int, aba);
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111"}}});
        const QByteArray antes = lote::Le(inst.todas());
        ClicaCelula(Grade(TipoGrade::Credito), 0, 0);
        caixas->respostas = {Resposta::Sim, resposta};
        Clica("bt_exclui_cred");
        ClicaArvore(1);
        QCOMPARE(caixas->Textos(),
                 (QStringList{"Confirma a exclusão - CRED", "Deseja gravar a configuração ? "}));
        QCOMPARE(caixas->caixas[1].botoes, Botoes::SimNaoCancelar);
        QCOMPARE(lote::Le(inst.todas()), gravado ? lote::Arquivo({}) : antes);
        QVERIFY(Paginas()->isVisible());
        QCOMPARE(Paginas()->currentIndex(), aba);
        QCOMPARE(Arvore()->indexOfTopLevelItem(Arvore()->currentItem()), aba);
        // Cancelar keeps the edit, Sim saved it; Não reloaded the file's card.
        const QStringList linhas = gravado || resposta == Resposta::Cancelar
                                       ? QStringList{"||"}
                                       : QStringList{"CRED|A|411111;", "||"};
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)), linhas);
    }

    // After an import or a name that is no company, the tree opens no page, and nothing can
    // write the empty grids over the table read before.
    void semEmpresaNaoHaPagina_data() {
        QTest::addColumn<bool>("importa");
        QTest::newRow("importação") << true;
        QTest::newRow("nome digitado") << false;
    }
    void semEmpresaNaoHaPagina() {
        QFETCH(bool, importa);
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111"}}});
        const QByteArray antes = lote::Le(inst.todas());
        ClicaCelula(Grade(TipoGrade::Credito), 0, 0);
        caixas->respostas = {Resposta::Sim, Resposta::Nao};
        Clica("bt_exclui_cred");
        Clica("bt_sair_cred");
        QVERIFY(Alterada());
        if (importa) {
            caixas->respostas = {Resposta::Sim};
            Acao("Importar1")->trigger();
        } else {
            QTest::keyClicks(Empresa(), "X");
        }
        QCOMPARE(Empresa()->currentText(), QString());
        caixas->Limpa();
        ClicaArvore(0);
        QCOMPARE(caixas->Textos(), QStringList{"Empresa não encontrada"});
        QVERIFY(!Paginas()->isVisible());
        QVERIFY(Empresa()->isEnabled());
        QVERIFY(Acao("Sair1")->isEnabled());
        caixas->Limpa();
        QVERIFY(!janela->SalvaConfig());
        QCOMPARE(lote::Le(inst.todas()), antes);
    }

    void arquivoQueNaoPodeSerCriado() {
        QVERIFY(MontaInstalacao());
        // The company's directory cannot be made: a file is in its place.
        QVERIFY(lote::Escreve(inst.config() + "/Empresas/ABCDEFGH", "x"));
        AbreJanela();
        EscolheEmpresa(QStringLiteral("ABCDEFGH"));
        QCOMPARE(caixas->caixas.size(), 0);
        ClicaArvore(1);
        IncluiCartao(TipoGrade::Debito, "DEB", "B", {"500000"});
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_deb");
        QCOMPARE(caixas->caixas.size(), 2);
        QVERIFY(caixas->caixas[1].texto.contains(inst.empresa("ABCDEFGH")));
        QCOMPARE(caixas->caixas[1].icone, Icone::Erro);
        QVERIFY(Paginas()->isVisible());
        QVERIFY(Alterada());
        QCOMPARE(Linhas(Grade(TipoGrade::Debito)), (QStringList{"DEB|B|500000;", "||"}));
    }

    // The card just included is selected and in view, however long the grid.
    void inclusaoSelecionada() {
        Abre(QStringLiteral("TODAS"), Muitos(60));
        QTableView *g = Grade(TipoGrade::Credito);
        g->selectRow(0);
        IncluiCartao(TipoGrade::Credito, "NOVO", "A", {"422222"});
        QCOMPARE(Celula(g, 60, 0), QStringLiteral("NOVO"));
        QCOMPARE(g->selectionModel()->selectedRows().value(0).row(), 60);
        QVERIFY(g->viewport()->rect().intersects(g->visualRect(g->model()->index(60, 0))));
        // "Alterar" now works on it.
        AlteraCartao(TipoGrade::Credito, 60, "A", {"433333"});
        QCOMPARE(Celula(g, 60, 2), QStringLiteral("433333;"));
    }

    // A card with no network shows an empty cell, not a network 0 without a module.
    void cartaoSemRede() {
        Abre(QStringLiteral("TODAS"), {{"SEM REDE", 0, 1, {"411111"}}});
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)), (QStringList{"SEM REDE||411111;", "||"}));
    }

    void redeSemModulo() {
        Abre(QStringLiteral("TODAS"), {{"", 77, 254, {}},
                                       {"CRED", 123, 1, {"411111"}},
                                       {"OUTRO", 123, 1, {"422222"}},
                                       {"DEB", 10, 2, {"500000"}}});
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)),
                 (QStringList{"CRED|Rede 123 (sem módulo)|411111;",
                              "OUTRO|Rede 123 (sem módulo)|422222;", "||"}));
        QCOMPARE(Pagina(TipoGrade::Debito)->ComboPadrao()->currentText(),
                 QStringLiteral("Rede 77 (sem módulo)"));
        QVERIFY(Pagina(TipoGrade::Debito)->CheckPadrao()->isChecked());
        // The operator picks another network for one card only, and alters the other without
        // touching its network.
        AlteraCartao(TipoGrade::Credito, 1, "A", {"422222"});
        AlteraCartao(TipoGrade::Credito, 0, "Rede 123 (sem módulo)", {"411111"});
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({{"", 77, 254, {}},
                                                        {"CRED", 123, 1, {"411111"}},
                                                        {"OUTRO", 20, 1, {"422222"}},
                                                        {"DEB", 10, 2, {"500000"}}}));
    }

    void limiteInclusao_data() {
        QTest::addColumn<int>("noArquivo");
        QTest::addColumn<int>("naGrade");
        QTest::addColumn<int>("excluidos");
        QTest::addColumn<bool>("recusa");
        // Each table also holds a credit default, which counts.
        QTest::newRow("199 entradas") << 198 << 0 << 0 << false;
        QTest::newRow("200 entradas") << 199 << 0 << 0 << true;
        QTest::newRow("200 menos um excluído") << 199 << 0 << 1 << false;
        QTest::newRow("incluídos desde a leitura") << 10 << 189 << 0 << true;
    }
    void limiteInclusao() {
        QFETCH(int, noArquivo);
        QFETCH(int, naGrade);
        QFETCH(int, excluidos);
        QFETCH(bool, recusa);
        QList<Cartao> cartoes = Muitos(noArquivo);
        cartoes.prepend({"", 10, 255, {}}); // a credit default counts too
        Abre(QStringLiteral("TODAS"), cartoes);
        QTableView *g = Grade(TipoGrade::Credito);
        // The dialog's result, as it reaches the page.
        for (int i = 0; i < naGrade; ++i)
            QVERIFY(
                Pagina(TipoGrade::Credito)->IncluiDadosNaGrade("N" + QString::number(i), "B", {}));
        for (int i = 0; i < excluidos; ++i) {
            g->selectRow(1);
            caixas->respostas = {Resposta::Sim};
            Clica("bt_exclui_cred");
        }
        caixas->Limpa();
        Clica("bt_incluir_cred");
        QVERIFY(janela->isVisible());
        if (recusa) {
            QCOMPARE(caixas->Textos(),
                     QStringList{QStringLiteral("Não é permitido cadastrar mais de 200 bancos.")});
            QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configuração de Roteamento"));
            QVERIFY(!Pagina(TipoGrade::Credito)->Dialogo()->isVisible());
        } else {
            QCOMPARE(caixas->caixas.size(), 0);
            QVERIFY(Pagina(TipoGrade::Credito)->Dialogo()->isVisible());
            QCOMPARE(OperacaoDe(TipoGrade::Credito), Operacao::Inclusao);
            Pagina(TipoGrade::Credito)->Dialogo()->bt_encerra_incluirClick();
        }
    }

    void arquivoIlegivel_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<bool>("diretorio");
        QTest::addColumn<bool>("avisa");
        QTest::newRow("curto") << QByteArray("\x01\x00\x05", 3) << false << true;
        QTest::newRow("menor que as contagens")
            << QByteArray("\x01\x00\x02\x00", 4) << false << true;
        QTest::newRow("não é arquivo") << QByteArray() << true << true;
        QTest::newRow("ausente") << QByteArray() << false << false;
    }
    void arquivoIlegivel() {
        QFETCH(QByteArray, conteudo);
        QFETCH(bool, diretorio);
        QFETCH(bool, avisa);
        QVERIFY(MontaInstalacao());
        const QString alvo = inst.empresa("12345678");
        if (diretorio)
            QVERIFY(QDir().mkpath(alvo));
        else if (!conteudo.isEmpty())
            QVERIFY(lote::Escreve(alvo, conteudo));
        AbreJanela();
        EscolheEmpresa(QStringLiteral("12345678"));
        if (avisa) {
            QCOMPARE(caixas->caixas.size(), 1);
            QCOMPARE(caixas->caixas[0].texto,
                     QStringLiteral("Não foi possível ler o arquivo ") + alvo);
            QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configurador Roteamento"));
            QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
        } else {
            QCOMPARE(caixas->caixas.size(), 0);
        }
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)), QStringList{"||"});
        QCOMPARE(janela->Cartoes().Entradas(), 0);
    }

    void linhaSelecionadaEhAVisivel() {
        Abre(QStringLiteral("TODAS"), Muitos(3, 2), 1);
        QTableView *g = Grade(TipoGrade::Debito);
        PaginaCartoes *p = Pagina(TipoGrade::Debito);
        ClicaCelula(g, 2, 0);
        QCOMPARE(p->Selecionado(), 2);
        // Deleting the last card leaves the blank row, which is no card to select.
        caixas->respostas = {Resposta::Sim};
        Clica("bt_excluir_deb");
        QCOMPARE(p->Selecionado(), std::nullopt);
        QVERIFY(g->selectionModel()->selectedRows().isEmpty());
        // Nor is it when clicked.
        ClicaCelula(g, 2, 0);
        QCOMPARE(p->Selecionado(), std::nullopt);
        ClicaCelula(g, 1, 0);
        QCOMPARE(p->Selecionado(), 1);
        // Reloading (another tree click, the edits dropped) leaves nothing selected.
        caixas->respostas = {Resposta::Nao};
        ClicaArvore(1);
        QCOMPARE(p->Selecionado(), std::nullopt);
        QVERIFY(g->selectionModel()->selectedRows().isEmpty());
        caixas->Limpa();
        Clica("bt_alterar_deb");
        QCOMPARE(caixas->Textos(), QStringList{"Clique no bin desejado"});
        QCOMPARE(OperacaoDe(TipoGrade::Debito), std::nullopt);
    }

    void recusaOQueATabelaNaoComporta_data() {
        QTest::addColumn<QStringList>("bins");
        QTest::addColumn<int>("cartoes");
        QTest::addColumn<QString>("mensagem");
        QStringList vinteUm;
        for (int i = 0; i < 21; ++i)
            vinteUm << QString::number(500000 + i);
        QTest::newRow("21 bins")
            << vinteUm << 1 << "O cartão NOVO tem mais de 20 bins. A configuração não foi gravada.";
        QTest::newRow("bin de 21")
            << QStringList{"411111", "123456789012345678901"} << 1
            << "O bin 123456789012345678901 do cartão NOVO tem mais de 20 caracteres. "
               "A configuração não foi gravada.";
        QTest::newRow("351 entradas")
            << QStringList{"433333"} << 350
            << "A configuração tem mais de 350 entradas e não pode ser gravada.";
    }
    // Refused when the card is entered: the grid and the file stay as they were.
    void recusaOQueATabelaNaoComporta() {
        QFETCH(QStringList, bins);
        QFETCH(int, cartoes);
        QFETCH(QString, mensagem);
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111"}}});
        const QByteArray antes = lote::Le(inst.todas());
        PaginaCartoes *p = Pagina(TipoGrade::Credito);
        for (int i = 1; i < cartoes; ++i)
            QVERIFY(p->IncluiDadosNaGrade("N" + QString::number(i), "B", {}));
        const QStringList linhas = Linhas(p->Grade());
        QVERIFY(!p->IncluiDadosNaGrade("NOVO", "B", bins));
        QCOMPARE(caixas->Textos(), QStringList{mensagem});
        QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
        QCOMPARE(Linhas(p->Grade()), linhas);
        QCOMPARE(lote::Le(inst.todas()), antes);
    }

    // A card the table cannot take is refused before the dialog lets it go: the dialog stays open
    // with the operator's input to mend, and the grid stays as it was.
    void recusaMantemDialogo_data() {
        QTest::addColumn<bool>("inclusao");
        QTest::addColumn<QString>("mensagem");
        QTest::newRow("inclusão na tabela cheia")
            << true << "A configuração tem mais de 350 entradas e não pode ser gravada.";
        QTest::newRow("alteração com 21 bins")
            << false << "O cartão C0 tem mais de 20 bins. A configuração não foi gravada.";
    }
    void recusaMantemDialogo() {
        QFETCH(bool, inclusao);
        QFETCH(QString, mensagem);
        Abre(QStringLiteral("TODAS"), Muitos(199));
        PaginaCartoes *p = Pagina(TipoGrade::Credito);
        TFrmIncluiCartao *d = p->Dialogo();
        auto *lista = d->findChild<QListWidget *>(QString::fromUtf8(d->Dados().listaBins));
        auto *nome = d->findChild<QLineEdit *>(QString::fromUtf8(d->Dados().edNome));
        if (inclusao) {
            Clica("bt_incluir_cred");
            QTest::keyClicks(nome, "NOVO");
            d->ComboRede()->setCurrentIndex(d->ComboRede()->findText("B"));
            lista->addItem("433333");
            // The table fills up while the dialog is open.
            for (int i = 199; i < 350; ++i)
                QVERIFY(p->IncluiDadosNaGrade("N" + QString::number(i), "B", {}));
        } else {
            Grade(TipoGrade::Credito)->selectRow(0);
            p->Alterar(QString());
            // More than the BIN rules let in, as a damaged card could bring.
            for (int i = 1; i <= 20; ++i)
                lista->addItem(QString::number(500000 + i));
        }
        QVERIFY(d->isVisible());
        const QStringList linhas = Linhas(p->Grade());
        const QStringList digitado{nome->text(), d->ComboRede()->currentText(),
                                   d->Bins().join(';')};
        caixas->Limpa();
        QWidget *confirma = d->findChild<QWidget *>(QString::fromUtf8(d->Dados().painelConfirma));
        QTest::mouseClick(confirma, Qt::LeftButton, {}, confirma->rect().center());
        QCOMPARE(caixas->Textos(), QStringList{mensagem});
        QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
        QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configurador Roteamento"));
        QVERIFY(d->isVisible());
        QVERIFY(!janela->isEnabled());
        QCOMPARE((QStringList{nome->text(), d->ComboRede()->currentText(), d->Bins().join(';')}),
                 digitado);
        QCOMPARE(Linhas(p->Grade()), linhas);
        d->bt_encerra_incluirClick();
        QVERIFY(janela->isEnabled());
    }

    // A ticked "Rede Padrão" with no network chosen is refused at the save, which keeps the page
    // and the file; with the network chosen the save writes it.
    void padraoMarcadoSemRede_data() {
        QTest::addColumn<int>("no");
        QTest::addColumn<QByteArray>("gravado");
        const Cartao deb{"DEB", 10, 2, {"500000"}};
        QTest::newRow("Crédito desmarcada e marcada")
            << 0 << lote::Arquivo({{"", 10, 255, {}}, deb});
        QTest::newRow("Débito marcada")
            << 1 << lote::Arquivo({{"", 20, 255, {}}, {"", 10, 254, {}}, deb});
    }
    void padraoMarcadoSemRede() {
        QFETCH(int, no);
        QFETCH(QByteArray, gravado);
        Abre(QStringLiteral("TODAS"), {{"", 20, 255, {}}, {"DEB", 10, 2, {"500000"}}}, no);
        const QByteArray antes = lote::Le(inst.todas());
        PaginaCartoes *p = Pagina(TipoGrade(no));
        for (int i = p->CheckPadrao()->isChecked() ? 2 : 1; i > 0; --i)
            QTest::mouseClick(p->CheckPadrao(), Qt::LeftButton, {}, QPoint(5, 8));
        caixas->respostas = {Resposta::Sim};
        Clica(no == 0 ? "bt_sair_cred" : "bt_sair_deb");
        QCOMPARE(caixas->Textos().value(1),
                 "A rede padrão do " + p->Titulo() +
                     " está marcada sem rede escolhida. Escolha a rede ou desmarque \"Rede "
                     "Padrão\". A configuração não foi gravada.");
        QCOMPARE(caixas->caixas[1].icone, Icone::Erro);
        QVERIFY(Paginas()->isVisible() && p->CheckPadrao()->isChecked());
        QCOMPARE(lote::Le(inst.todas()), antes);
        p->ComboPadrao()->setCurrentIndex(p->ComboPadrao()->findText("B"));
        emit p->ComboPadrao()->activated(p->ComboPadrao()->currentIndex());
        caixas->respostas = {Resposta::Sim};
        Clica(no == 0 ? "bt_sair_cred" : "bt_sair_deb");
        QCOMPARE(caixas->caixas.size(), 3);
        QCOMPARE(lote::Le(inst.todas()), gravado);
    }

    // A default set on a full table is refused at the save, which keeps the page.
    void padraoAlemDoLimite() {
        Abre(QStringLiteral("TODAS"), Muitos(350));
        const QByteArray antes = lote::Le(inst.todas());
        QComboBox *combo = Pagina(TipoGrade::Credito)->ComboPadrao();
        QTest::mouseClick(Pagina(TipoGrade::Credito)->CheckPadrao(), Qt::LeftButton, {},
                          QPoint(5, 8));
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(),
                 (QStringList{"Deseja gravar a configuração ? ",
                              "A configuração tem mais de 350 entradas e não pode ser gravada."}));
        QVERIFY(Paginas()->isVisible());
        QCOMPARE(lote::Le(inst.todas()), antes);
    }
};

QTEST_MAIN(TstJanelaCorrecoes)
#include "tst_janela_correcoes.moc"
