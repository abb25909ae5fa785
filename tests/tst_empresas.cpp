// The companies of an installation: which <root>/config/*.cnf files count, in which order, and
// that a file that cannot be read hides no company after it.

#include "env/empresas.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kEmpresa("\x10\x01", 2);

// name -> first bytes; a name ending in "/" is made a directory.
using Arquivos = QList<QPair<QString, QByteArray>>;

} // namespace

class TstEmpresas : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_raiz;

    QString Config() const { return m_raiz + QStringLiteral("/config/"); }

    void Cria(const Arquivos &arquivos) {
        for (const auto &[nome, bytes] : arquivos) {
            if (nome.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir().mkpath(Config() + nome));
                continue;
            }
            QFile f(Config() + nome);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(bytes), bytes.size());
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp.path()));
    }

    void init() {
        m_raiz = m_tmp.path() + QStringLiteral("/Vardo");
        QDir(m_raiz).removeRecursively();
        QVERIFY(QDir().mkpath(Config()));
    }

    void lista_data() {
        QTest::addColumn<Arquivos>("arquivos");
        QTest::addColumn<QStringList>("esperado");
        const QByteArray zero("\0\0", 2);
        QTest::newRow("exemplo") << Arquivos{{"12345678.cnf", kEmpresa},
                                             {"abcdefgh.cnf", kEmpresa},
                                             {"1234567.cnf", kEmpresa},
                                             {"1234-678.cnf", kEmpresa},
                                             {"AB12CD34.cnf", zero},
                                             {"12345678.cnfx", kEmpresa},
                                             {"87654321.cnfx", kEmpresa}}
                                 << QStringList{"12345678", "ABCDEFGH"};
        QTest::newRow("ordem de nome sem caixa")
            << Arquivos{{"zzzzzzzz.cnf", kEmpresa},
                        {"AAAAAAAB.CNF", kEmpresa},
                        {"aaaaaaaa.Cnf", kEmpresa},
                        {"0000000a.cnf", kEmpresa},
                        {"_0000000.cnf", kEmpresa}}
            << QStringList{"0000000A", "AAAAAAAA", "AAAAAAAB", "ZZZZZZZZ"};
        QTest::newRow("primeiros bytes") << Arquivos{{"vazio000.cnf", {}},
                                                     {"um000000.cnf", "\x10"},
                                                     {"trocado0.cnf", "\x01\x10"},
                                                     {"resto000.cnf", kEmpresa + "qualquer coisa"}}
                                         << QStringList{"RESTO000"};
        QTest::newRow("letras fora do ASCII e nomes de 9")
            << Arquivos{{QString::fromUtf8("açai1234.cnf"), kEmpresa},
                        {QString::fromUtf8("ABCDEFG\u00c9.cnf"), kEmpresa},
                        {"123456789.cnf", kEmpresa},
                        {"1234 678.cnf", kEmpresa},
                        {"1234.678.cnf", kEmpresa},
                        {"ok000000.cnf", kEmpresa}}
            << QStringList{"OK000000"};
        QTest::newRow("mesmo codigo em caixas diferentes")
            << Arquivos{{"abcdefgh.cnf", kEmpresa}, {"ABCDEFGH.cnf", kEmpresa}}
            << QStringList{"ABCDEFGH"};
        QTest::newRow("diretorio com nome de empresa")
            << Arquivos{{"11111111.cnf/", {}}, {"22222222.cnf", kEmpresa}}
            << QStringList{"22222222"};
        QTest::newRow("nenhuma") << Arquivos{{"TabRot.bin", kEmpresa}} << QStringList{};
    }

    void lista() {
        QFETCH(Arquivos, arquivos);
        QFETCH(QStringList, esperado);
        Cria(arquivos);
        QStringList lista{"restos", "de antes"};
        QCOMPARE(ListaEmpresas(m_raiz, lista), esperado.size());
        QCOMPARE(lista, esperado);
    }

    void semDiretorioConfig() {
        QVERIFY(QDir(Config()).removeRecursively());
        QStringList lista{"restos"};
        QCOMPARE(ListaEmpresas(m_raiz, lista), 0);
        QVERIFY(lista.isEmpty());
    }

    void raizComBarrasDoWindows() {
        Cria({{"12345678.cnf", kEmpresa}});
        QString raiz = m_raiz;
        raiz.replace(QLatin1Char('/'), QLatin1Char('\\'));
        QStringList lista;
        QCOMPARE(ListaEmpresas(raiz, lista), 1);
        QCOMPARE(lista, QStringList{"12345678"});
    }

    // Files that cannot be read, in the middle of the list. chmod 000 stops no one when the tests
    // run as root, so the ones that fail for everybody are a symbolic link to nothing and a FIFO
    // (which, opened as a file, would wait for a writer); chmod 000 is added for other users.
    void ilegivelNoMeioNaoEncerra() {
        Cria({{"AAAAAAAA.cnf", kEmpresa}, {"ZZZZZZZZ.cnf", kEmpresa}});
        QVERIFY(QFile::link(Config() + QStringLiteral("nada"),
                            Config() + QStringLiteral("BBBBBBBB.cnf")));
        const QByteArray fifo = QFile::encodeName(Config() + QStringLiteral("CCCCCCCC.cnf"));
        QCOMPARE(::mkfifo(fifo.constData(), 0666), 0);
        QStringList esperado{"AAAAAAAA"};
        if (::geteuid() != 0) {
            Cria({{"DDDDDDDD.cnf", kEmpresa}});
            QVERIFY(QFile::setPermissions(Config() + QStringLiteral("DDDDDDDD.cnf"), {}));
        }
        esperado << "ZZZZZZZZ";

        QStringList lista;
        auto busca = std::async(std::launch::async, [&] { return ListaEmpresas(m_raiz, lista); });
        if (busca.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            // Set the scan free before failing: a writer ends the wait and two bytes end the read.
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                [[maybe_unused]] const ssize_t n = ::write(fd, "\x10\x01", 2);
                ::close(fd);
            }
            busca.wait();
            QFAIL("the company scan waits on a FIFO");
        }
        QCOMPARE(busca.get(), 2);
        QCOMPARE(lista, esperado);
    }

    void ehCodigoEmpresa_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("codigo") << "AB12cd34" << true;
        QTest::newRow("todas") << "todas" << true;
        QTest::newRow("TODAS") << "TODAS" << true;
        QTest::newRow("sete") << "1234567" << false;
        QTest::newRow("hifen") << "1234-678" << false;
        QTest::newRow("acento") << QString::fromUtf8("ABCDEFGÉ") << false;
        QTest::newRow("vazio") << "" << false;
    }

    void ehCodigoEmpresa() {
        QFETCH(QString, texto);
        QFETCH(bool, esperado);
        QCOMPARE(EhCodigoEmpresa(texto), esperado);
    }
};

QTEST_GUILESS_MAIN(TstEmpresas)
#include "tst_empresas.moc"
