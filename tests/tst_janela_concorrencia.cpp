// The window's save against a table that a command-line import or a second window (real
// processes) changed after it was loaded: overwrite, reload or cancel, each checked byte for
// byte; and the start-up word about the modules left out.

#include "janela_principal_base.h"

#include <QProcess>

#include <sys/stat.h>

using namespace janela;
using lote::Cartao;

class TstJanelaConcorrencia : public QObject, public Base {
    Q_OBJECT

    QList<Cartao> Tabela() const {
        return {{"", 20, 255, {}},
                {"DEB UM", 10, 2, {"500000"}},
                {"CRED", 20, 1, {"411111"}},
                {"DEB DOIS", 10, 2, {"520000"}}};
    }

    void ImportaEmOutroProcesso(const QByteArray &registros) {
        QVERIFY(lote::Escreve(unidade->path() + "/lote/imp.txt", registros));
        QProcessEnvironment amb;
        amb.insert("VARDO_UNIDADE", inst.unidade);
        amb.insert("LANG", "C.UTF-8");
        for (const char *v : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(v)) amb.insert(v, qEnvironmentVariable(v));
        Roda(qEnvironmentVariable("TESTES_BINARIOS") + "/../configurador-roteamento",
             {"--importar", unidade->path() + "/lote/imp.txt"}, amb);
    }

    // This test program again, as the second window: outraJanela on this drive.
    void OutraJanelaEmOutroProcesso() {
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert("OUTRA_JANELA_UNIDADE", inst.unidade);
        Roda(QCoreApplication::applicationFilePath(), {"outraJanela"}, amb);
    }

    static void Roda(const QString &programa, const QStringList &argumentos,
                     const QProcessEnvironment &amb) {
        QProcess p;
        p.setProcessEnvironment(amb);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(programa, argumentos);
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 p.readAll().right(4000).constData());
    }

private slots:
    void cleanup() {
        Fecha();
        QVERIFY(NenhumaJanelaAberta());
    }

    void arquivoAlteradoDepoisDeCarregado_data() {
        QTest::addColumn<int>("resposta");
        QTest::newRow("gravar por cima") << int(Resposta::Sim);
        QTest::newRow("ler de novo") << int(Resposta::Nao);
        QTest::newRow("cancelar") << int(Resposta::Cancelar);
    }
    void arquivoAlteradoDepoisDeCarregado() {
        QFETCH(int, resposta);
        AbreEm(QStringLiteral("TODAS"), Tabela());
        ClicaArvore(1);
        QTableView *g = Grade(TipoGrade::Debito);
        ClicaCelula(g, 1, 0);
        caixas->respostas = {Resposta::Sim};
        Clica("bt_excluir_deb");
        QCOMPARE(caixas->Textos(), QStringList{QStringLiteral("Confirma a exclusão - DEB DOIS")});
        QCOMPARE(Linhas(g), (QStringList{"DEB UM|B|500000;", "||"}));
        ImportaEmOutroProcesso("TODAS;NOVO;455555;10;D;I\r\n");
        const QByteArray doOutro = lote::Le(inst.todas());
        caixas->caixas.clear();
        caixas->respostas = {Resposta::Sim, Resposta(resposta)};
        Clica("bt_sair_deb");
        const QStringList textos = caixas->Textos();
        QVERIFY2(textos.size() >= 2, qPrintable(textos.join('\n')));
        QCOMPARE(textos.at(1),
                 QStringLiteral("O arquivo %1 foi alterado por outro programa depois de "
                                "carregado.\n\nSim: gravar por cima da outra alteração\nNão: "
                                "descartar as alterações desta página e ler o arquivo de novo\n"
                                "Cancelar: voltar à página, mantendo as alterações")
                     .arg(inst.todas()));
        QCOMPARE(caixas->caixas.at(1).botoes, Botoes::SimNaoCancelar);
        switch (Resposta(resposta)) {
        case Resposta::Sim:
            QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({{"", 20, 255, {}},
                                                            {"CRED", 20, 1, {"411111"}},
                                                            {"DEB UM", 10, 2, {"500000"}}}));
            break;
        case Resposta::Nao:
            QCOMPARE(textos.value(2), QStringLiteral("As alterações desta página serão "
                                                     "descartadas e a tabela será lida de novo "
                                                     "do arquivo."));
            QCOMPARE(lote::Le(inst.todas()), doOutro);
            QCOMPARE(Linhas(g), (QStringList{"DEB UM|B|500000;", "DEB DOIS|B|520000;",
                                             "NOVO|B|455555;", "||"}));
            QVERIFY(!janela->Cartoes().Alterada());
            break;
        default:
            QCOMPARE(lote::Le(inst.todas()), doOutro);
            QCOMPARE(Linhas(g), (QStringList{"DEB UM|B|500000;", "||"}));
            QVERIFY(janela->Cartoes().Alterada());
            break;
        }
        QCOMPARE(textos.size(), Resposta(resposta) == Resposta::Nao ? 3 : 2);
    }

    // Two windows on one table: the other deletes "DEB DOIS" and saves while this one still shows
    // it; this one's save must not bring it back unasked.
    void duasJanelas_data() { arquivoAlteradoDepoisDeCarregado_data(); }
    void duasJanelas() {
        QFETCH(int, resposta);
        AbreEm(QStringLiteral("TODAS"), Tabela());
        ClicaArvore(1);
        QTableView *g = Grade(TipoGrade::Debito);
        OutraJanelaEmOutroProcesso();
        const QByteArray doOutro = lote::Le(inst.todas());
        QCOMPARE(doOutro, lote::Arquivo({{"", 20, 255, {}},
                                         {"CRED", 20, 1, {"411111"}},
                                         {"DEB UM", 10, 2, {"500000"}}}));
        ClicaCelula(g, 0, 0);
        caixas->respostas = {Resposta::Sim, Resposta::Sim, Resposta(resposta)};
        Clica("bt_excluir_deb");
        Clica("bt_sair_deb");
        const QStringList textos = caixas->Textos();
        QCOMPARE(textos.mid(0, 2),
                 (QStringList{QStringLiteral("Confirma a exclusão - DEB UM"),
                              QStringLiteral("Deseja gravar a configuração ? ")}));
        QVERIFY2(textos.value(2).startsWith(QStringLiteral("O arquivo %1 foi alterado por outro "
                                                           "programa")
                                                .arg(inst.todas())),
                 qPrintable(textos.join('\n')));
        switch (Resposta(resposta)) {
        case Resposta::Sim: // the operator's own choice
            QCOMPARE(lote::Le(inst.todas()), lote::Arquivo({{"", 20, 255, {}},
                                                            {"CRED", 20, 1, {"411111"}},
                                                            {"DEB DOIS", 10, 2, {"520000"}}}));
            break;
        case Resposta::Nao:
            QCOMPARE(lote::Le(inst.todas()), doOutro);
            QCOMPARE(Linhas(g), (QStringList{"DEB UM|B|500000;", "||"}));
            QVERIFY(!janela->Cartoes().Alterada());
            break;
        default:
            QCOMPARE(lote::Le(inst.todas()), doOutro);
            QCOMPARE(Linhas(g), (QStringList{"DEB DOIS|B|520000;", "||"}));
            QVERIFY(janela->Cartoes().Alterada());
            break;
        }
    }

    // A company directory that is a link out of the installation: the save is refused and says
    // why, and nothing is made there, not even the lock file.
    void gravacaoPorLinkParaFora() {
        QVERIFY(MontaInstalacao());
        QTemporaryDir fora;
        QVERIFY(EscreveTabela(fora.path() + "/TabRot.bin", Tabela()));
        const QByteArray antes = lote::Le(fora.path() + "/TabRot.bin");
        const QString tabela = inst.empresa(QStringLiteral("ABCDEFGH"));
        QVERIFY(QFile::link(fora.path(), QFileInfo(tabela).path()));
        AbreJanela();
        EscolheEmpresa(QStringLiteral("ABCDEFGH"));
        ClicaArvore(1);
        ClicaCelula(Grade(TipoGrade::Debito), 1, 0);
        caixas->respostas = {Resposta::Sim, Resposta::Sim};
        Clica("bt_excluir_deb");
        Clica("bt_sair_deb");
        QCOMPARE(caixas->Textos().value(2),
                 QStringLiteral("Erro na gravação do arquivo\n%1: %1 leva para fora da instalação "
                                "(%2/TabRot.bin)")
                     .arg(tabela, QFileInfo(fora.path()).canonicalFilePath()));
        QCOMPARE(QDir(fora.path()).entryList(QDir::Files), QStringList{"TabRot.bin"});
        QCOMPARE(lote::Le(fora.path() + "/TabRot.bin"), antes);
    }

    // The second window of duasJanelas, only as its process: deletes "DEB DOIS" from TODAS and
    // saves with "Retornar".
    void outraJanela() {
        const QString drive = qEnvironmentVariable("OUTRA_JANELA_UNIDADE");
        if (drive.isEmpty()) QSKIP("só como o segundo processo de duasJanelas");
        qputenv("VARDO_UNIDADE", drive.toLocal8Bit());
        caixas = std::make_unique<CaixasRoteiro>();
        AbreJanela();
        EscolheEmpresa(QStringLiteral("TODAS"));
        ClicaArvore(1);
        QTableView *g = Grade(TipoGrade::Debito);
        QCOMPARE(Linhas(g), (QStringList{"DEB UM|B|500000;", "DEB DOIS|B|520000;", "||"}));
        ClicaCelula(g, 1, 0);
        caixas->respostas = {Resposta::Sim, Resposta::Sim};
        Clica("bt_excluir_deb");
        Clica("bt_sair_deb");
        QCOMPARE(caixas->Textos(),
                 (QStringList{QStringLiteral("Confirma a exclusão - DEB DOIS"),
                              QStringLiteral("Deseja gravar a configuração ? ")}));
    }

    // A module anyone could change is not run, and the operator is told once.
    void modulosIgnoradosAvisados() {
        QVERIFY(MontaInstalacao());
        const QString modulo = unidade->filePath(QStringLiteral("vardo/aplic.win/bib/seC.bpl"));
        QCOMPARE(::chmod(QFile::encodeName(modulo).constData(), 0666), 0);
        AbreJanela();
        QCOMPARE(caixas->Textos(),
                 QStringList{QStringLiteral("Módulos de rede ignorados:\n%1: o arquivo pode ser "
                                            "alterado pelo grupo ou por todos")
                                 .arg(modulo)});
        QCOMPARE(caixas->caixas.at(0).icone, Icone::Exclamacao);
    }
};

QTEST_MAIN(TstJanelaConcorrencia)
#include "tst_janela_concorrencia.moc"
