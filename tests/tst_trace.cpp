// Trace log <root>/config/trace.txt.

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/texto.h"
#include "env/trace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class TstTrace : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_config;
    QString m_trace;

    QByteArray Trace() const {
        QFile f(m_trace);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<sem arquivo>");
    }
    void EscreveTrace(const QByteArray &bytes) {
        QFile f(m_trace);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QString ErroDe(const QByteArray &mensagem) {
        try {
            GravaTrace(mensagem);
        } catch (const ErroES &e) {
            return e.texto().isEmpty() ? QStringLiteral("<texto vazio>") : e.texto();
        }
        return QString();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp.path()));
        m_config = m_tmp.path() + QStringLiteral("/Vardo/config");
        m_trace = m_config + QStringLiteral("/trace.txt");
        QCOMPARE(Caminhos::Trace(Raiz()), m_trace);
    }
    void init() {
        QVERIFY(QDir().mkpath(m_config));
        QFile::remove(m_trace);
    }

    void entradas_data() {
        QTest::addColumn<QByteArray>("antes"); // null: no trace.txt yet
        QTest::addColumn<QList<QByteArray>>("mensagens");
        QTest::addColumn<QByteArray>("depois");
        QTest::newRow("primeira chamada cria o arquivo")
            << QByteArray() << QList<QByteArray>{"Abriu o arquivo"}
            << QByteArray("Abriu o arquivo\r\n-------\r\n");
        QTest::newRow("duas chamadas, quatro linhas")
            << QByteArray() << QList<QByteArray>{"A", "B"}
            << QByteArray("A\r\n-------\r\nB\r\n-------\r\n");
        QTest::newRow("mensagem vazia")
            << QByteArray() << QList<QByteArray>{""} << QByteArray("\r\n-------\r\n");
        const QByteArray longa = QByteArray(254, 'x') + 'Z';
        QTest::newRow("255 caracteres inteiros")
            << QByteArray() << QList<QByteArray>{longa} << longa + "\r\n-------\r\n";
        QTest::newRow("conteudo anterior mantido")
            << QByteArray("linha antiga\r\n-------\r\n") << QList<QByteArray>{"C"}
            << QByteArray("linha antiga\r\n-------\r\nC\r\n-------\r\n");
        QTest::newRow("Windows-1252")
            << QByteArray() << QList<QByteArray>{cp1252("Não existe o arquivo ")}
            << QByteArray("N\xe3o existe o arquivo \r\n-------\r\n");
    }
    void entradas() {
        QFETCH(QByteArray, antes);
        QFETCH(QList<QByteArray>, mensagens);
        QFETCH(QByteArray, depois);
        if (!antes.isNull()) EscreveTrace(antes);
        for (const QByteArray &m : mensagens)
            GravaTrace(m);
        QCOMPARE(Trace(), depois);
    }

    void duasEntradasNumaGravacao() {
        EscreveTrace("antes\r\n");
        GravaTrace(QByteArray(255, 'a') + "cortado", cp1252("Não"));
        QCOMPARE(Trace(),
                 "antes\r\n" + QByteArray(255, 'a') + "\r\n-------\r\nN\xe3o\r\n-------\r\n");
        QVERIFY(::chmod(QFile::encodeName(m_trace).constData(), 0444) == 0);
        bool lancou = false;
        try {
            GravaTrace("x", "y");
        } catch (const ErroES &) {
            lancou = true;
        }
        ::chmod(QFile::encodeName(m_trace).constData(), 0644);
        QVERIFY(lancou);
    }

    // Every call looks the root up again and closes the file: another process may move it.
    void arquivoApagadoEntreChamadas() {
        GravaTrace("A");
        QVERIFY(QFile::remove(m_trace));
        GravaTrace("B");
        QCOMPARE(Trace(), QByteArray("B\r\n-------\r\n"));
    }

    void falhas_data() {
        QTest::addColumn<QString>("caso");
        QTest::newRow("diretorio config ausente") << "sem config";
        QTest::newRow("trace.txt somente leitura") << "somente leitura";
        QTest::newRow("trace.txt e um diretorio") << "diretorio";
    }
    void falhas() {
        QFETCH(QString, caso);
        const QByteArray antes = "anterior\r\n";
        if (caso == "sem config") {
            QVERIFY(QDir(m_config).removeRecursively());
        } else if (caso == "somente leitura") {
            EscreveTrace(antes);
            QVERIFY(::chmod(QFile::encodeName(m_trace).constData(), 0444) == 0);
        } else {
            QVERIFY(QDir().mkdir(m_trace));
        }
        QVERIFY(!ErroDe("mensagem").isEmpty());
        if (caso == "sem config") {
            QVERIFY(!QFileInfo::exists(m_config));
        } else if (caso == "somente leitura") {
            QCOMPARE(Trace(), antes);
            ::chmod(QFile::encodeName(m_trace).constData(), 0644);
        } else {
            QVERIFY(QDir().rmdir(m_trace));
        }
    }
};

QTEST_GUILESS_MAIN(TstTrace)
#include "tst_trace.moc"
