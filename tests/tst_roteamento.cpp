// The routing switch in VARDOCFG.INI: how its value reads, what a toggle writes, and that the
// payment server's file keeps every other byte.

#include "arquivos_teste.h"
#include "env/erro.h"
#include "env/roteamento.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using teste::Escreve;
using teste::Le;

class TstRoteamento : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_config, m_ini;

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp.path()));
        // No CfVardo.ini: the root is the default "\Vardo" on the drive.
        m_config = m_tmp.path() + QStringLiteral("/Vardo/config");
        m_ini = m_config + QStringLiteral("/VARDOCFG.INI");
    }

    void init() {
        QDir(m_config).removeRecursively();
        QVERIFY(QDir().mkpath(m_config));
    }

    void valor_data() {
        QTest::addColumn<QByteArray>("valor");
        QTest::addColumn<bool>("ligada");
        QTest::addColumn<QByteArray>("gravado");
        QTest::newRow("5") << QByteArray("5") << true << QByteArray("0");
        QTest::newRow("0") << QByteArray("0") << false << QByteArray("1");
        QTest::newRow("1") << QByteArray("1") << true << QByteArray("0");
        QTest::newRow("0x10") << QByteArray("0x10") << true << QByteArray("0");
        QTest::newRow("0X0") << QByteArray("0X0") << false << QByteArray("1");
        QTest::newRow("-1") << QByteArray("-1") << true << QByteArray("0");
        QTest::newRow("abc") << QByteArray("abc") << false << QByteArray("1");
        QTest::newRow("vazio") << QByteArray("") << false << QByteArray("1");
        QTest::newRow("entre aspas") << QByteArray("\"7\"") << true << QByteArray("0");
    }

    // A value read, then one toggle: the file holds exactly the new digit in its place.
    void valor() {
        QFETCH(QByteArray, valor);
        QFETCH(bool, ligada);
        QFETCH(QByteArray, gravado);
        const QByteArray antes = "[Geral]\r\nHabilitaBinsPorEmpresa=" + valor + "\r\nOutra=2\r\n";
        Escreve(m_ini, antes);
        QCOMPARE(ChaveRoteamento(false), ligada);
        QCOMPARE(Le(m_ini), antes);
        QCOMPARE(ChaveRoteamento(true), !ligada);
        QCOMPARE(Le(m_ini), "[Geral]\r\nHabilitaBinsPorEmpresa=" + gravado + "\r\nOutra=2\r\n");
        QCOMPARE(ChaveRoteamento(false), !ligada);
    }

    void semChave() {
        const QByteArray antes = "[Geral]\r\nOutra=2\r\n[Rede]\r\nX=1\r\n";
        Escreve(m_ini, antes);
        QCOMPARE(ChaveRoteamento(false), false);
        QCOMPARE(ChaveRoteamento(true), true);
        QCOMPARE(Le(m_ini),
                 QByteArray("[Geral]\r\nOutra=2\r\nHabilitaBinsPorEmpresa=1\r\n[Rede]\r\nX=1\r\n"));
    }

    void arquivoAusente() {
        QCOMPARE(ChaveRoteamento(false), false);
        QVERIFY(!QFile::exists(m_ini));
        QCOMPARE(ChaveRoteamento(true), true);
        QCOMPARE(Le(m_ini), QByteArray("[Geral]\r\nHabilitaBinsPorEmpresa=1\r\n"));
        QCOMPARE(ChaveRoteamento(false), true);
        QCOMPARE(ChaveRoteamento(true), false);
        QCOMPARE(Le(m_ini), QByteArray("[Geral]\r\nHabilitaBinsPorEmpresa=0\r\n"));
    }

    // The server's own file, with what such files hold: only the digits of the one value change.
    void dezAlternanciasGuardamOResto() {
        const QByteArray inicio = "; Configuracao do servidor\r\n"
                                  "Solta=1\r\n"
                                  "\r\n"
                                  "[Rede]\n"
                                  "HabilitaBinsPorEmpresa=0\n"
                                  "Porta = 3000\r\n"
                                  ";[Geral]\r\n"
                                  "  [ geral ]  \r\n"
                                  "; HabilitaBinsPorEmpresa=9\r\n"
                                  "\tTimeout\t=  30 \r\n"
                                  "\r\n"
                                  "  habilitabinsPORempresa \t=  ";
        const QByteArray fim = " \t\r\n"
                               "Nome=Caf\xe9\r\n"
                               "[Geral]\r\n"
                               "HabilitaBinsPorEmpresa=0\r\n"
                               "[Fim]\r\n"
                               "X=1";
        Escreve(m_ini, inicio + "5" + fim);
        QCOMPARE(ChaveRoteamento(false), true);
        for (int i = 1; i <= 10; ++i) {
            const bool ligada = i % 2 == 0;
            QCOMPARE(ChaveRoteamento(true), ligada);
            QCOMPARE(Le(m_ini), inicio + (ligada ? "1" : "0") + fim);
        }
    }

    void somenteLeitura() {
        const QByteArray antes = "[Geral]\r\nHabilitaBinsPorEmpresa=1\r\n";
        Escreve(m_ini, antes);
        QVERIFY(
            QFile::setPermissions(m_ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        try {
            ChaveRoteamento(true);
            QFAIL("a read-only VARDOCFG.INI was written");
        } catch (const ErroES &e) {
            QCOMPARE(e.texto(), QStringLiteral("Unable to write to ") + m_ini);
        }
        QCOMPARE(Le(m_ini), antes);
        QCOMPARE(ChaveRoteamento(false), true);
        QVERIFY(QFile::setPermissions(m_ini, QFile::ReadOwner | QFile::WriteOwner));
    }

    // No directory to create the file in: the first toggle fails and leaves nothing behind.
    void semDiretorio() {
        QVERIFY(QDir(m_config).removeRecursively());
        try {
            ChaveRoteamento(true);
            QFAIL("the toggle reported no failure");
        } catch (const ErroES &e) {
            QCOMPARE(e.texto(), QStringLiteral("Unable to write to ") + m_ini);
        }
        QVERIFY(!QFileInfo::exists(m_config));
        QCOMPARE(ChaveRoteamento(false), false);
    }

    // A directory where the file should be cannot take it.
    void diretorioNoLugarDoArquivo() {
        QVERIFY(QDir().mkpath(m_ini));
        QVERIFY_THROWS_EXCEPTION(ErroES, ChaveRoteamento(true));
        QVERIFY(QFileInfo(m_ini).isDir());
        QVERIFY(QDir(m_ini).removeRecursively());
    }
};

QTEST_GUILESS_MAIN(TstRoteamento)
#include "tst_roteamento.moc"
