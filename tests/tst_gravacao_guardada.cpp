// The one guard every writer of the installation holds: what it refuses, what it makes and what
// it locks, each case on a scratch installation.

#include "env/gravacao_guardada.h"
#include "instalacao_lote.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using Situacao = GravacaoGuardada::Situacao;

class TstGravacaoGuardada : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    lote::Instalacao m_inst;

private slots:
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_inst.unidade = m_tmp->path() + "/u";
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_inst.unidade));
        QVERIFY(m_inst.cria({"12345678"}));
        QVERIFY(QDir().mkpath(m_tmp->path() + "/fora"));
    }
    void cleanup() { TravaArquivo::DefinePrazo(5000); }

    void situacoes_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<bool>("criaDiretorio");
        QTest::addColumn<bool>("trava");
        QTest::addColumn<int>("situacao");
        QTest::addColumn<QString>("erro");
        QTest::addColumn<bool>("fazTrava"); // <file>.lck beside the file afterwards
        QTest::addColumn<bool>("fazDiretorio");

        QTest::newRow("tabela") << "empresa" << true << true << int(Situacao::Pronta) << "" << true
                                << true;
        QTest::newRow("só o último nível")
            << "sem Empresas" << true << true << int(Situacao::SemDiretorio)
            << "/Empresas/12345678 não existe" << false << false;
        QTest::newRow("diretório que não se faz")
            << "empresa" << false << true << int(Situacao::SemDiretorio)
            << "/Empresas/12345678 não existe" << false << false;
        QTest::newRow("ligação para fora") << "ligada" << true << true << int(Situacao::Recusada)
                                           << "leva para fora da instalação" << false << true;
        QTest::newRow("trava de outro processo")
            << "ocupada" << true << true << int(Situacao::SemTrava)
            << "está em uso por outro processo" << true << true;
        QTest::newRow("trace, sem trava")
            << "trace" << false << false << int(Situacao::Pronta) << "" << false << true;
        QTest::newRow("fora da raiz: escolha do operador")
            << "operador" << false << true << int(Situacao::Pronta) << "" << true << true;
    }
    void situacoes() {
        QFETCH(QString, caso);
        QFETCH(bool, criaDiretorio);
        QFETCH(bool, trava);
        QFETCH(int, situacao);
        QFETCH(QString, erro);
        QFETCH(bool, fazTrava);
        QFETCH(bool, fazDiretorio);

        QString arquivo = m_inst.empresa("12345678");
        const QString dir = QFileInfo(arquivo).absolutePath();
        QProcess dono;
        if (caso == "sem Empresas")
            QVERIFY(QDir(m_inst.config() + "/Empresas").removeRecursively());
        if (caso == "ligada") QVERIFY(QFile::link(m_tmp->path() + "/fora", dir));
        if (caso == "trace") arquivo = m_inst.config() + "/trace.txt";
        if (caso == "operador") arquivo = m_tmp->path() + "/fora/StatusArqImportado.txt";
        if (caso == "ocupada") {
            QVERIFY(QDir().mkpath(dir));
            dono.start("flock", {arquivo + ".lck", "sleep", "30"});
            QVERIFY(dono.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(arquivo + ".lck"), 30000);
            TravaArquivo::DefinePrazo(200);
        }
        {
            const GravacaoGuardada guarda(arquivo,
                                          {.criaDiretorio = criaDiretorio, .trava = trava});
            QCOMPARE(int(guarda.situacao()), situacao);
            QCOMPARE(guarda.pronta(), situacao == int(Situacao::Pronta));
            if (erro.isEmpty())
                QVERIFY(guarda.erro().isEmpty());
            else
                QVERIFY2(guarda.erro().contains(erro), qPrintable(guarda.erro()));
        }
        if (dono.state() != QProcess::NotRunning) {
            dono.kill();
            dono.waitForFinished();
        }
        QCOMPARE(QFileInfo::exists(arquivo + ".lck"), fazTrava);
        QCOMPARE(QFileInfo(QFileInfo(arquivo).absolutePath()).isDir(), fazDiretorio);
        // Nothing is made where a link leads out of the installation; the refusal is traced.
        QCOMPARE(QDir(m_tmp->path() + "/fora").entryList(QDir::Files),
                 caso == "operador" ? QStringList{"StatusArqImportado.txt.lck"} : QStringList{});
        QCOMPARE(lote::Le(m_inst.config() + "/trace.txt").contains("recusada"), caso == "ligada");
    }

    // A lock is one per writer: the guard is released with its object, and the next one gets
    // it at once however short the wait.
    void liberadaAoFim() {
        TravaArquivo::DefinePrazo(0);
        for (int i = 0; i < 3; ++i) {
            const GravacaoGuardada guarda(m_inst.todas());
            QVERIFY2(guarda.pronta(), qPrintable(guarda.erro()));
        }
    }
};

QTEST_GUILESS_MAIN(TstGravacaoGuardada)
#include "tst_gravacao_guardada.moc"
