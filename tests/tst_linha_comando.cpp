// The command line of the real executable, in a process without a display: --importar,
// --simular, --exportar, --verificar, --unidade, --help, --version, and their exit codes and
// texts.

#include "instalacao_lote.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using lote::Cartao;
using lote::W;

namespace {
struct Resultado {
    int codigo = -1;
    QByteArray saida, erro;
};
} // namespace

class TstLinhaComando : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    lote::Instalacao m_inst;
    QString m_programa;

    Resultado Executa(const QStringList &argumentos, const QString &lang = "C.UTF-8",
                      const QStringList &extra = {}) {
        QProcessEnvironment amb;
        amb.insert("VARDO_UNIDADE", m_inst.unidade);
        amb.insert("LANG", lang);
        for (const QString &v : extra)
            amb.insert(v.section('=', 0, 0), v.section('=', 1));
        for (const char *v : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(v)) amb.insert(v, qEnvironmentVariable(v));
        QProcess p;
        p.setProcessEnvironment(amb);
        p.setWorkingDirectory(m_tmp.path());
        p.start(m_programa, argumentos);
        Resultado r;
        if (!p.waitForFinished(120000)) return r;
        r.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.saida = p.readAllStandardOutput();
        r.erro = p.readAllStandardError();
        return r;
    }
    QString Caminho(const char *nome) const { return m_tmp.path() + "/" + nome; }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        m_programa = qEnvironmentVariable("TESTES_BINARIOS") + "/../configurador-roteamento";
        QVERIFY2(QFileInfo(m_programa).isExecutable(), qPrintable(m_programa));
        QVERIFY(!QFile::exists(QFileInfo(m_programa).absolutePath() + "/CfVardo.ini"));
        m_inst.unidade = m_tmp.path() + "/unidade";
        QVERIFY(m_inst.cria({"12345678"}));
    }

    // Qt's own headings in Portuguese whatever the locale says.
    void ajuda_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("C") << "C.UTF-8";
        QTest::newRow("inglês") << "en_US.UTF-8";
    }
    void ajuda() {
        QFETCH(QString, lang);
        const Resultado r = Executa({"--help"}, lang);
        QCOMPARE(r.codigo, 0);
        QVERIFY2(r.saida.startsWith("Uso: "), r.saida);
        QVERIFY2(r.saida.contains("\nOpções:\n"), r.saida);
        QVERIFY2(!r.saida.contains("Usage") && !r.saida.contains("help-all"), r.saida);
        for (const char *opcao : {"--importar <ARQUIVO>", "--simular", "--exportar <ARQUIVO>",
                                  "--verificar", "--unidade <DIR>", "--quiet", "--version"})
            QVERIFY2(r.saida.contains(opcao), opcao);
    }

    void versao() {
        const Resultado r = Executa({"--version"});
        QCOMPARE(r.codigo, 0);
        QCOMPARE(r.saida, QByteArray("configurador-roteamento " VERSAO_PROGRAMA "\n"));
    }

    // Exit code 0 only when every record was applied; the summary after the closing text.
    void importa_data() {
        QTest::addColumn<QByteArray>("linhas");
        QTest::addColumn<QStringList>("opcoes");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QByteArray>("resumo");
        const QByteArray alfa = W("12345678;ALFÁ;411111;5;C;I\r\n");
        QTest::newRow("tudo aplicado")
            << alfa + "12345678;BETA;1;6;D;E\r\n"
            << QStringList() << 0 << QByteArray("lidos: 2; aplicados: 2; recusados: 0");
        QTest::newRow("inválido") << alfa + "1234;X;1;5;C;I\r\n"
                                  << QStringList() << 2
                                  << QByteArray("lidos: 2; aplicados: 1; recusados: 1");
        QTest::newRow("já existe") << alfa + alfa << QStringList() << 2
                                   << QByteArray("lidos: 2; aplicados: 1; recusados: 1");
        QTest::newRow("não encontrado") << QByteArray("TODAS;Z;1;5;C;E\n") << QStringList() << 2
                                        << QByteArray("lidos: 1; aplicados: 0; recusados: 1");
        QTest::newRow("vazio") << QByteArray() << QStringList() << 0
                               << QByteArray("lidos: 0; aplicados: 0; recusados: 0");
        QTest::newRow("quiet") << alfa + alfa << QStringList{"--quiet"} << 2 << QByteArray();
    }
    void importa() {
        QFETCH(QByteArray, linhas);
        QFETCH(QStringList, opcoes);
        QFETCH(int, codigo);
        QFETCH(QByteArray, resumo);
        QVERIFY(
            lote::Escreve(m_inst.empresa("12345678"), lote::Arquivo({{"BETA", 6, 2, {"422222"}}})));
        QVERIFY(lote::Escreve(Caminho("imp.txt"), linhas));
        const Resultado r = Executa(QStringList{"--importar", "imp.txt"} + opcoes);
        QCOMPARE(r.erro, QByteArray());
        QCOMPARE(r.saida, resumo.isEmpty() ? QByteArray()
                                           : "Importação encerrada\nRegistros " + resumo + "\n");
        QCOMPARE(r.codigo, codigo);
    }

    void importa_status_e_tabela() {
        QVERIFY(
            lote::Escreve(m_inst.empresa("12345678"), lote::Arquivo({{"BETA", 6, 2, {"422222"}}})));
        QVERIFY(lote::Escreve(Caminho("imp.txt"),
                              W("12345678;ALFÁ;411111;5;C;I\r\n1234;X;1;5;C;I\r\n")));
        QCOMPARE(Executa({"--importar", "imp.txt"}).codigo, 2);
        QCOMPARE(
            lote::Le(Caminho("StatusArqImportado.txt")),
            W("12345678;ALFÁ;411111;5;C;I\r\n  - Registro OK\r\n  - Registro inserido com "
              "sucesso\r\n"
              "1234;X;1;5;C;I\r\n  - Erro <Empresa Inválida>  - Registro com Dados Inválido\r\n"));
        QCOMPARE(lote::Le(m_inst.empresa("12345678")),
                 lote::Arquivo({{"BETA", 6, 2, {"422222"}}, {W("ALFÁ"), 5, 1, {"411111"}}}));
    }

    // The same exit code as the real run, the summary on the terminal, no table touched.
    void importa_simulando() {
        const QByteArray beta = lote::Arquivo({{"BETA", 6, 2, {"422222"}}});
        QVERIFY(lote::Escreve(m_inst.empresa("12345678"), beta));
        QVERIFY(lote::Escreve(Caminho("imp.txt"),
                              W("12345678;ALFÁ;411111;5;C;I\r\n1234;X;1;5;C;I\r\n")));
        QFile::remove(Caminho("StatusArqImportado.txt"));
        const Resultado r = Executa({"--importar", "imp.txt", "--simular"});
        QCOMPARE(r.erro, QByteArray());
        QCOMPARE(QString::fromUtf8(r.saida),
                 QString::fromUtf8("Simulação da importação encerrada\n"
                                   "Registros lidos: 2; aplicados: 1; recusados: 1\n"
                                   "Simulação: nenhum arquivo da instalação foi gravado\n"
                                   "Tabelas que mudariam: 1\n"
                                   "12345678: 1 cartão incluído, 0 excluídos\n"
                                   "  + Crédito: ALFÁ, rede 5, bins 411111;\n"));
        QCOMPARE(r.codigo, 2);
        QCOMPARE(lote::Le(m_inst.empresa("12345678")), beta);
        QVERIFY(!QFile::exists(Caminho("StatusArqImportado.txt")));
        QVERIFY(lote::Le(Caminho("StatusArqImportado.simulacao.txt"))
                    .startsWith(W("12345678;ALFÁ;411111;5;C;I\r\n  - Registro OK\r\n")));
    }

    void importacao_encerrada_antes_data() {
        QTest::addColumn<QByteArray>("conteudo"); // null: no import file
        QTest::newRow("arquivo ausente") << QByteArray();
        QTest::newRow("tabela que não se cria")
            << QByteArray("TODAS;A;1;5;C;I\n9999AAAA;B;1;5;C;I\n");
    }
    void importacao_encerrada_antes() {
        QFETCH(QByteArray, conteudo);
        lote::Instalacao sem{m_tmp.path() + "/sem_empresas"};
        QVERIFY(QDir().mkpath(sem.config()));
        QFile::remove(Caminho("falha.txt"));
        if (!conteudo.isNull()) QVERIFY(lote::Escreve(Caminho("falha.txt"), conteudo));
        std::swap(sem, m_inst);
        const Resultado r = Executa({"--importar", Caminho("falha.txt")});
        std::swap(sem, m_inst);
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.saida, QByteArray());
        QVERIFY(r.erro.contains("falha.txt") || r.erro.contains("TabRot.bin"));
        QVERIFY(r.erro.endsWith('\n'));
    }

    void exporta() {
        QVERIFY(lote::Escreve(m_inst.empresa("12345678"),
                              lote::Arquivo({{W("CRÉDITO"), 5, 1, {"411111"}}})));
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({{"T", 65535, 3, {"4", "5"}}})));
        const Resultado r = Executa({"--exportar", Caminho("exp.txt")});
        QCOMPARE(r.erro, QByteArray());
        QCOMPARE(r.saida, QByteArray("Arquivo exportado com sucesso\n"));
        QCOMPARE(r.codigo, 0);
        QCOMPARE(lote::Le(Caminho("exp.txt")),
                 W("12345678;CRÉDITO;411111;5;C;\r\nTODAS;T;4,5;65535;F;\r\n"));
    }

    // The switch on the command line: shown, set, and not written when it is already so.
    void roteamento_data() {
        QTest::addColumn<QByteArray>("antes"); // VARDOCFG.INI, null for none
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QByteArray>("saida");
        QTest::addColumn<QByteArray>("depois"); // null: the same file, not rewritten
        const QByteArray ligada = "[Geral]\r\nHabilitaBinsPorEmpresa=1\r\n";
        const QByteArray desligada = "[Geral]\r\nHabilitaBinsPorEmpresa=0\r\n";
        QTest::newRow("mostra") << ligada << QStringList{"--roteamento"} << 0
                                << QByteArray("Ativa\n") << QByteArray();
        QTest::newRow("mostra, sem arquivo") << QByteArray() << QStringList{"--roteamento"} << 0
                                             << QByteArray("Inativa\n") << QByteArray();
        QTest::newRow("liga") << desligada << QStringList{"--roteamento", "ativa"} << 0
                              << QByteArray("Ativa\n") << ligada;
        QTest::newRow("desliga") << ligada << QStringList{"--roteamento", "INATIVA"} << 0
                                 << QByteArray("Inativa\n") << desligada;
        QTest::newRow("já ligada") << ligada << QStringList{"--roteamento", "ativa"} << 0
                                   << QByteArray("Ativa\n") << QByteArray();
        QTest::newRow("liga sem arquivo")
            << QByteArray() << QStringList{"--roteamento", "ativa"} << 0 << QByteArray("Ativa\n")
            << QByteArray("[Geral]\r\nHabilitaBinsPorEmpresa=1\r\n");
        QTest::newRow("palavra errada")
            << ligada << QStringList{"--roteamento", "talvez"} << 1 << QByteArray() << QByteArray();
    }
    void roteamento() {
        QFETCH(QByteArray, antes);
        QFETCH(QStringList, argumentos);
        QFETCH(int, codigo);
        QFETCH(QByteArray, saida);
        QFETCH(QByteArray, depois);
        const QString ini = m_inst.config() + "/VARDOCFG.INI";
        QFile::remove(ini);
        if (!antes.isNull()) QVERIFY(lote::Escreve(ini, antes));
        struct stat st {};
        const bool havia = ::stat(QFile::encodeName(ini).constData(), &st) == 0;
        const Resultado r = Executa(argumentos);
        QCOMPARE(r.codigo, codigo);
        QCOMPARE(r.saida, saida);
        if (codigo != 0) QVERIFY2(r.erro.contains("ativa ou inativa"), r.erro);
        if (depois.isNull()) {
            // Not written at all: the same inode, the same bytes (or still no file).
            struct stat agora {};
            QCOMPARE(::stat(QFile::encodeName(ini).constData(), &agora) == 0, havia);
            if (havia) QCOMPARE(agora.st_ino, st.st_ino);
            if (havia) QCOMPARE(lote::Le(ini), antes);
        } else {
            QCOMPARE(lote::Le(ini), depois);
        }
        QFile::remove(ini);
    }

    // A table that cannot be read is left out of the file, as the window does; a script is told
    // which one, and by the exit code.
    void exportaComTabelaDanificada() {
        QVERIFY(lote::Escreve(m_inst.empresa("12345678"), "danificada"));
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({{"T", 5, 1, {"4"}}})));
        const Resultado r = Executa({"--exportar", Caminho("exp.txt")});
        QCOMPARE(r.saida, QByteArray("Arquivo exportado com sucesso\n"));
        QCOMPARE(r.erro, QStringLiteral("configurador-roteamento: tabela 12345678 não exportada: "
                                        "o arquivo não pôde ser lido\n")
                             .toLocal8Bit());
        QCOMPARE(r.codigo, 2);
        QCOMPARE(lote::Le(Caminho("exp.txt")), QByteArray("TODAS;T;4;5;C;\r\n"));
        QVERIFY(QFile::remove(m_inst.empresa("12345678")));
    }

    // Every table in the company list's order, then TODAS; a damaged one is told and passed.
    void verifica_data() {
        QTest::addColumn<QList<QByteArray>>("tabelas"); // AAAA0001, BBBB0002, CCCC0003, TODAS
        QTest::addColumn<QStringList>("opcoes");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QByteArray>("saida");
        const QByteArray conflito =
            lote::Arquivo({{"A", 5, 1, {"411111"}}, {"B", 7, 1, {"400000-499999"}}});
        const QByteArray redundancia = lote::Arquivo({{"T", 9, 3, {"123456", "123400-123500"}}});
        const QByteArray limpa = lote::Arquivo({{"A", 5, 1, {"411111"}}, {"B", 7, 2, {"411111"}}});
        const QByteArray fim = W("Verificação encerrada\nTabelas examinadas: ");
        const QByteArray linhaConflito =
            W("CCCC0003, Crédito: conflito: cartão A (rede 5), bin 411111, e cartão B (rede 7), "
              "bin 400000-499999, em comum 411111\n");
        const QByteArray linhaRedundancia =
            W("TODAS, Combustível: redundância: cartão T (rede 9), bins 123456 e 123400-123500, em "
              "comum 123456\n");
        QTest::newRow("conflito e tabela danificada")
            << QList<QByteArray>{"abc", {}, conflito, redundancia} << QStringList() << 2
            << W("AAAA0001: tabela danificada ou ilegível, não examinada (") +
                   QFile::encodeName(Caminho("verif")) +
                   "/Vardo/config/Empresas/AAAA0001/TabRot.bin)\n" + linhaConflito +
                   linhaRedundancia + fim +
                   W("2; conflitos: 1; redundâncias: 1; bins não comparáveis: 0; tabelas "
                     "danificadas: 1\n");
        QTest::newRow("só redundância")
            << QList<QByteArray>{{}, limpa, {}, redundancia} << QStringList() << 0
            << linhaRedundancia + fim +
                   W("2; conflitos: 0; redundâncias: 1; bins não comparáveis: 0; tabelas "
                     "danificadas: 0\n");
        QTest::newRow("não comparável")
            << QList<QByteArray>{{}, {}, lote::Arquivo({{"X", 5, 2, {"4A0000-400001"}}}), {}}
            << QStringList() << 2
            << W("CCCC0003, Débito: bin não comparável: cartão X (rede 5), bin 4A0000-400001, "
                 "limites que não são números\n") +
                   fim +
                   W("1; conflitos: 0; redundâncias: 0; bins não comparáveis: 1; tabelas "
                     "danificadas: 0\n");
        QTest::newRow("nenhuma tabela")
            << QList<QByteArray>{{}, {}, {}, {}} << QStringList() << 0
            << fim + W("0; conflitos: 0; redundâncias: 0; bins não comparáveis: 0; tabelas "
                       "danificadas: 0\n");
        QTest::newRow("quiet") << QList<QByteArray>{{}, {}, conflito, {}} << QStringList{"--quiet"}
                               << 2 << QByteArray();
    }
    void verifica() {
        QFETCH(QList<QByteArray>, tabelas);
        QFETCH(QStringList, opcoes);
        QFETCH(int, codigo);
        QFETCH(QByteArray, saida);
        lote::Instalacao verif{Caminho("verif")};
        QDir(verif.unidade).removeRecursively();
        // Listed in name order, not in the order the files were made.
        QVERIFY(verif.cria({"CCCC0003", "AAAA0001", "BBBB0002"}));
        const QStringList nomes{"AAAA0001", "BBBB0002", "CCCC0003"};
        for (int i = 0; i < 4; ++i)
            if (!tabelas[i].isNull())
                QVERIFY(lote::Escreve(i < 3 ? verif.empresa(nomes[i]) : verif.todas(), tabelas[i]));
        const Resultado r =
            Executa(QStringList{"--verificar", "--unidade", verif.unidade} + opcoes);
        QCOMPARE(r.erro, QByteArray());
        QCOMPARE(QString::fromUtf8(r.saida), QStringDecoder("windows-1252").decode(saida));
        QCOMPARE(r.codigo, codigo);
    }

    // No installation where the drive points: a clear error, no file, for both commands.
    void sem_instalacao_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<bool>("pelaOpcao");
        QTest::newRow("exportar, variável") << QStringList{"--exportar", "x.txt"} << false;
        QTest::newRow("exportar, --unidade") << QStringList{"--exportar", "x.txt"} << true;
        QTest::newRow("importar") << QStringList{"--importar", "imp.txt"} << true;
        QTest::newRow("verificar") << QStringList{"--verificar"} << true;
    }
    void sem_instalacao() {
        QFETCH(QStringList, argumentos);
        QFETCH(bool, pelaOpcao);
        QVERIFY(QDir().mkpath(Caminho("vazia")));
        QVERIFY(lote::Escreve(Caminho("imp.txt"), "TODAS;A;1;5;C;I\n"));
        QFile::remove(Caminho("StatusArqImportado.txt"));
        lote::Instalacao vazia{Caminho("vazia")};
        if (pelaOpcao)
            argumentos << "--unidade" << vazia.unidade;
        else
            std::swap(vazia, m_inst);
        const Resultado r = Executa(argumentos);
        if (!pelaOpcao) std::swap(vazia, m_inst);
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.saida, QByteArray());
        QCOMPARE(r.erro, "Instalação não encontrada: o diretório " +
                             QFile::encodeName(Caminho("vazia")) + "/Vardo/config não existe.\n");
        QVERIFY(!QFile::exists(Caminho("x.txt")));
        QVERIFY(!QFile::exists(Caminho("StatusArqImportado.txt")));
        QCOMPARE(QDir(Caminho("vazia")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }

    void unidade_vence_variavel() {
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({{"T", 7, 2, {"4"}}})));
        QVERIFY(QDir().mkpath(Caminho("vazia")));
        const QString instalada = m_inst.unidade;
        m_inst.unidade = Caminho("vazia");
        const Resultado r = Executa({"--unidade", instalada, "--exportar", Caminho("u.txt")});
        m_inst.unidade = instalada;
        QCOMPARE(r.codigo, 0);
        QVERIFY(lote::Le(Caminho("u.txt")).endsWith("TODAS;T;4;7;D;\r\n"));
    }

    void exportacao_nao_gravada() {
        const Resultado r = Executa({"--exportar", Caminho("sem/dir/exp.txt")});
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.saida, QByteArray());
        QVERIFY2(r.erro.contains("exp.txt"), r.erro);
    }

    // Wrong arguments end the run before anything is read, with or without a display.
    void uso_errado_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<bool>("tela");
        QTest::addColumn<QByteArray>("motivo");
        const struct {
            const char *nome;
            QStringList argumentos;
            const char *motivo;
        } casos[] = {
            {"opção desconhecida", {"--apaga"}, "Opção desconhecida 'apaga'."},
            {"help-all", {"--help-all"}, "Opção desconhecida 'help-all'."},
            {"sem arquivo", {"--importar"}, "Faltando valor após '--importar'."},
            {"as duas", {"--importar", "a", "--exportar", "b"}, "Dê um só comando por execução."},
            {"verificar e exportar", {"--verificar", "--exportar", "b"}, "Dê um só comando"},
            {"verificar com arquivo", {"--verificar", "b"}, "Argumento inesperado 'b'"},
            {"duas vezes", {"--exportar", "a", "--exportar", "b"}, "Dê um só comando"},
            {"argumento solto", {"--exportar", "b", "c"}, "Argumento inesperado 'c'"},
            {"só um argumento", {"b"}, "Argumento inesperado 'b'"},
            {"depois de --", {"--", "--exportar"}, "Argumento inesperado '--exportar'"},
            {"um hífen",
             {"-exportar", "b"},
             "Opção desconhecida '-exportar': as opções se "
             "escrevem com dois hífens (--exportar)."},
            {"opção de Qt", {"-platform", "offscreen"}, "Opção desconhecida '-platform'"},
            {"unidade ausente",
             {"--unidade", "/nao/existe/b", "--exportar", "b"},
             "A unidade '/nao/existe/b' não é um diretório."},
            {"quiet sozinho", {"--quiet"}, "--quiet vale só com"},
            {"simular exportação", {"--exportar", "b", "--simular"}, "--simular vale só com"},
            {"simular sozinho", {"--simular"}, "--simular vale só com --importar."},
        };
        for (const auto &c : casos) {
            QTest::addRow("%s", c.nome) << c.argumentos << false << QByteArray(c.motivo);
            QTest::addRow("%s, com tela", c.nome) << c.argumentos << true << QByteArray(c.motivo);
        }
    }
    void uso_errado() {
        QFETCH(QStringList, argumentos);
        QFETCH(bool, tela);
        QFETCH(QByteArray, motivo);
        const Resultado r = Executa(
            argumentos, "C.UTF-8", tela ? QStringList{"QT_QPA_PLATFORM=offscreen"} : QStringList());
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.saida, QByteArray());
        QVERIFY2(r.erro.startsWith(motivo), r.erro);
        QVERIFY2(r.erro.endsWith("Use 'configurador-roteamento --help' para ver as opções.\n"),
                 r.erro);
        QVERIFY(!QFile::exists(Caminho("b")));
    }

    // The window is asked for, but there is nowhere to show it.
    void janela_sem_tela() {
        const Resultado r = Executa({"--unidade", m_inst.unidade});
        QCOMPARE(r.codigo, 1);
        QVERIFY2(r.erro.startsWith("Não há tela para a janela"), r.erro);
    }
};

QTEST_GUILESS_MAIN(TstLinhaComando)
#include "tst_linha_comando.moc"
