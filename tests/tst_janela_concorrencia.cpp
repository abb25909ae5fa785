// The window's save against a table that a command-line import (a real process) changed after
// it was loaded: overwrite, reload or cancel, each checked byte for byte; and the start-up word
// about the modules left out.

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
        QProcess p;
        p.setProcessEnvironment(amb);
        p.start(qEnvironmentVariable("TESTES_BINARIOS") + "/../configurador-roteamento",
                {"--importar", unidade->path() + "/lote/imp.txt"});
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 0);
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
