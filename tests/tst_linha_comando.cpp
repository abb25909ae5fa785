// The command line of the real executable, in a process without a display: --importar,
// --exportar, --help, and their exit codes and texts.

#include "instalacao_lote.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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

    Resultado Executa(const QStringList &argumentos, const QString &lang = "C.UTF-8") {
        QProcessEnvironment amb;
        amb.insert("VARDO_UNIDADE", m_inst.unidade);
        amb.insert("LANG", lang);
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

    void ajuda() {
        const Resultado r = Executa({"--help"});
        QCOMPARE(r.codigo, 0);
        QVERIFY2(r.saida.contains("--importar <ARQUIVO>"), r.saida);
        QVERIFY2(r.saida.contains("--exportar <ARQUIVO>"), r.saida);
        QVERIFY2(r.saida.contains("importação"), r.saida); // UTF-8 terminal
    }

    void importa() {
        const QByteArray antes = lote::Arquivo({{"BETA", 6, 2, {"422222"}}});
        QVERIFY(lote::Escreve(m_inst.empresa("12345678"), antes));
        QVERIFY(lote::Escreve(Caminho("imp.txt"),
                              W("12345678;ALFÁ;411111;5;C;I\r\n1234;X;1;5;C;I\r\n")));
        const Resultado r = Executa({"--importar", "imp.txt"});
        QCOMPARE(r.erro, QByteArray());
        QCOMPARE(r.saida, QByteArray("Importação encerrada\n"));
        QCOMPARE(r.codigo, 0);
        QCOMPARE(
            lote::Le(Caminho("StatusArqImportado.txt")),
            W("12345678;ALFÁ;411111;5;C;I\r\n  - Registro OK\r\n  - Registro inserido com "
              "sucesso\r\n"
              "1234;X;1;5;C;I\r\n  - Erro <Empresa Inválida>  - Registro com Dados Inválido\r\n"));
        QCOMPARE(lote::Le(m_inst.empresa("12345678")),
                 lote::Arquivo({{"BETA", 6, 2, {"422222"}}, {W("ALFÁ"), 5, 1, {"411111"}}}));
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

    void exportacao_nao_gravada() {
        const Resultado r = Executa({"--exportar", Caminho("sem/dir/exp.txt")});
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.saida, QByteArray());
        QVERIFY2(r.erro.contains("exp.txt"), r.erro);
    }

    void uso_errado_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::newRow("opção desconhecida") << QStringList{"--apaga"};
        QTest::newRow("sem arquivo") << QStringList{"--importar"};
        QTest::newRow("as duas") << QStringList{"--importar", "a", "--exportar", "b"};
        QTest::newRow("argumento solto") << QStringList{"--exportar", "b", "c"};
    }
    void uso_errado() {
        QFETCH(QStringList, argumentos);
        const Resultado r = Executa(argumentos);
        QCOMPARE(r.codigo, 1);
        QCOMPARE(r.saida, QByteArray());
        QVERIFY(!r.erro.isEmpty());
        QVERIFY(!QFile::exists(Caminho("b")));
    }
};

QTEST_GUILESS_MAIN(TstLinhaComando)
#include "tst_linha_comando.moc"
