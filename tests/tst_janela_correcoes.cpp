// The main window where it keeps the operator's work: a failed save keeps the page, codes of
// networks without a module survive, the inclusion limit counts the live table, a damaged
// TabRot.bin is reported, the selected row is the visible one, and what the table cannot hold is
// refused before anything is written.

#include "janela_principal_base.h"

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

    void gravacaoFalhaMantemPagina() {
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111"}}});
        const QByteArray antes = lote::Le(inst.todas());
        QFile::setPermissions(inst.todas(), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        janela->IncluiDadosNaGrade(Grade(TipoGrade::Credito), 2, "NOVO", "B", "422222;");
        janela->Estado().configuracaoAlterada = true;
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), (QStringList{"Deseja gravar a configuração ? ",
                                                "Erro na gravação do arquivo\n" + inst.todas() +
                                                    ": arquivo somente leitura"}));
        QCOMPARE(caixas->caixas[1].titulo, QStringLiteral("Configurador Roteamento"));
        QVERIFY(janela->isVisible());
        QVERIFY(Paginas()->isVisible());
        QVERIFY(janela->Estado().configuracaoAlterada);
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

    void arquivoQueNaoPodeSerCriado() {
        QVERIFY(MontaInstalacao());
        // The company's directory cannot be made: a file is in its place.
        QVERIFY(lote::Escreve(inst.config() + "/Empresas/ABCDEFGH", "x"));
        AbreJanela();
        EscolheEmpresa(QStringLiteral("ABCDEFGH"));
        QCOMPARE(caixas->caixas.size(), 0);
        ClicaArvore(1);
        janela->IncluiDadosNaGrade(Grade(TipoGrade::Debito), 1, "DEB", "B", "500000;");
        janela->Estado().configuracaoAlterada = true;
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_deb");
        QCOMPARE(caixas->caixas.size(), 2);
        QVERIFY(caixas->caixas[1].texto.contains(inst.empresa("ABCDEFGH")));
        QCOMPARE(caixas->caixas[1].icone, Icone::Erro);
        QVERIFY(Paginas()->isVisible());
        QVERIFY(janela->Estado().configuracaoAlterada);
        QCOMPARE(Linhas(Grade(TipoGrade::Debito)), (QStringList{"DEB|B|500000;", "||"}));
    }

    void redeSemModulo() {
        Abre(QStringLiteral("TODAS"), {{"", 77, 254, {}},
                                       {"CRED", 123, 1, {"411111"}},
                                       {"OUTRO", 123, 1, {"422222"}},
                                       {"DEB", 10, 2, {"500000"}}});
        QCOMPARE(Linhas(Grade(TipoGrade::Credito)),
                 (QStringList{"CRED|Rede 123 (sem módulo)|411111;",
                              "OUTRO|Rede 123 (sem módulo)|422222;", "||"}));
        QCOMPARE(janela->ComboPadrao(TipoGrade::Debito)->currentText(),
                 QStringLiteral("Rede 77 (sem módulo)"));
        QVERIFY(janela->CheckPadrao(TipoGrade::Debito)->isChecked());
        // The operator picks another network for one card only.
        janela->IncluiDadosAlteradosNaGrade(Grade(TipoGrade::Credito), 2, "OUTRO", "A", "422222;");
        janela->Estado().configuracaoAlterada = true;
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
        QTableWidget *g = Grade(TipoGrade::Credito);
        for (int i = 0; i < naGrade; ++i)
            janela->IncluiDadosNaGrade(g, g->rowCount() - 1, "N" + QString::number(i), "B", "");
        for (int i = 0; i < excluidos; ++i) {
            g->selectRow(2);
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
            QCOMPARE(janela->Estado().operacao, QString());
        } else {
            QCOMPARE(caixas->caixas.size(), 0);
            QCOMPARE(janela->Estado().operacao, QStringLiteral("I"));
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
        QCOMPARE(Grade(TipoGrade::Credito)->rowCount(), 2);
        QCOMPARE(janela->Estado().tabela.Qtd, 0);
    }

    void linhaSelecionadaEhAVisivel() {
        Abre(QStringLiteral("TODAS"), Muitos(3, 2), 1);
        QTableWidget *g = Grade(TipoGrade::Debito);
        ClicaCelula(g, 3, 0);
        QCOMPARE(janela->Estado().linhaSelecionada[1], 3);
        // Deleting the last card leaves the blank row, which is no card to select.
        caixas->respostas = {Resposta::Sim};
        Clica("bt_excluir_deb");
        QCOMPARE(janela->Estado().linhaSelecionada[1], 0);
        QVERIFY(g->selectionModel()->selectedRows().isEmpty());
        ClicaCelula(g, 2, 0);
        // Reloading (another tree click) leaves nothing selected.
        ClicaArvore(1);
        QCOMPARE(janela->Estado().linhaSelecionada[1], 0);
        QVERIFY(g->selectionModel()->selectedRows().isEmpty());
        caixas->Limpa();
        Clica("bt_alterar_deb");
        QCOMPARE(caixas->Textos(), QStringList{"Clique no bin desejado"});
        QCOMPARE(janela->Estado().operacao, QString());
    }

    void recusaOQueATabelaNaoComporta_data() {
        QTest::addColumn<QString>("bins");
        QTest::addColumn<int>("linhas");
        QTest::addColumn<QString>("mensagem");
        QString vinteUm;
        for (int i = 0; i < 21; ++i)
            vinteUm += QString::number(500000 + i) + ";";
        QTest::newRow("21 bins")
            << vinteUm << 1 << "O cartão NOVO tem mais de 20 bins. A configuração não foi gravada.";
        QTest::newRow("bin de 21")
            << "411111;123456789012345678901;" << 1
            << "O bin 123456789012345678901 do cartão NOVO tem mais de 20 caracteres. "
               "A configuração não foi gravada.";
        QTest::newRow("351 entradas")
            << "433333;" << 351
            << "A configuração tem mais de 350 entradas e não pode ser gravada.";
    }
    void recusaOQueATabelaNaoComporta() {
        QFETCH(QString, bins);
        QFETCH(int, linhas);
        QFETCH(QString, mensagem);
        Abre(QStringLiteral("TODAS"), {{"CRED", 20, 1, {"411111"}}});
        const QByteArray antes = lote::Le(inst.todas());
        QTableWidget *g = Grade(TipoGrade::Credito);
        for (int i = 0; i < linhas; ++i)
            janela->IncluiDadosNaGrade(g, g->rowCount() - 1, "NOVO", "B", bins);
        janela->Estado().configuracaoAlterada = true;
        caixas->respostas = {Resposta::Sim};
        Clica("bt_sair_cred");
        QCOMPARE(caixas->Textos(), (QStringList{"Deseja gravar a configuração ? ", mensagem}));
        QCOMPARE(caixas->caixas[1].icone, Icone::Erro);
        QVERIFY(Paginas()->isVisible());
        QVERIFY(janela->Estado().configuracaoAlterada);
        QCOMPARE(g->rowCount(), linhas + 3);
        QCOMPARE(lote::Le(inst.todas()), antes);
    }
};

QTEST_MAIN(TstJanelaCorrecoes)
#include "tst_janela_correcoes.moc"
