// TabRot.bin as another process sees it: a reader during saves and a save killed half-way only
// ever find the old table or the new one.

#include "env/caminhos.h"
#include "routing/tabrot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

std::unique_ptr<TTabRot> Tabela(int cartoes, int bins, const QByteArray &prefixo) {
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    for (int i = 0; i < cartoes; ++i) {
        TCartao &c = t->Cartoes[t->Qtd++];
        CopiaTextoParaCampo(prefixo + QByteArray::number(i), c.Nome);
        c.CodRede = std::uint16_t(i + 1);
        c.Tipo = std::uint8_t(1 + i % 3);
        c.QtdBins = std::uint8_t(bins);
        for (int j = 0; j < bins; ++j)
            CopiaTextoParaCampo(QByteArray::number(400000 + i * MaxBins + j), c.Bins[j]);
    }
    return t;
}

QByteArray Le(const QString &caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ilegível>");
}

bool Escreve(const QString &caminho, const QByteArray &bytes) {
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

class TstTabRotSeguranca : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_ajudante;
    QString m_destino;
    QString m_arqA, m_arqB;
    QByteArray m_a, m_b; // the two tables as file bytes

    QStringList Argumentos(int vezes) const {
        return {QStringLiteral("alterna"), m_destino, m_arqA, m_arqB, QString::number(vezes)};
    }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp.path()));
        const QString binarios =
            qEnvironmentVariable("TESTES_BINARIOS", QCoreApplication::applicationDirPath());
        m_ajudante = binarios + QStringLiteral("/tabrot_ajudante");
        QVERIFY2(QFileInfo(m_ajudante).isExecutable(), qPrintable(m_ajudante));

        const QString config = Caminhos::Config(Raiz());
        QVERIFY(QDir().mkpath(config));
        m_destino = Caminhos::TabRotTodas(Raiz());
        // A large table and a small one, so a torn or mixed file could not pass for either.
        m_a = BytesDaTabRot(*Tabela(MaxCartoes, MaxBins, "GRANDE "));
        m_b = BytesDaTabRot(*Tabela(3, 2, "PEQUENO "));
        QCOMPARE(m_a.size(), 152604);
        m_arqA = m_tmp.filePath(QStringLiteral("a.bin"));
        m_arqB = m_tmp.filePath(QStringLiteral("b.bin"));
        QVERIFY(Escreve(m_arqA, m_a));
        QVERIFY(Escreve(m_arqB, m_b));
    }
    void init() {
        QVERIFY(Escreve(m_destino, m_b));
        QFile::remove(Caminhos::Trace(Raiz()));
    }

    // While the helper saves the two tables 1,000 times, every read here finds one of them whole.
    void leituraDuranteGravacoes() {
        QProcess gravador;
        gravador.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        gravador.start(m_ajudante, Argumentos(1000));
        QVERIFY(gravador.waitForStarted());
        auto t = std::make_unique<TTabRot>();
        int leituras = 0, vistasA = 0, vistasB = 0;
        QByteArray errada;
        while (gravador.state() != QProcess::NotRunning && errada.isNull()) {
            // Alternately the reader of the tool and the plain bytes of the file.
            QByteArray vista;
            if (leituras % 2 == 0) {
                LimpaTabRot(*t);
                vista = LeTabRot(m_destino, *t) ? BytesDaTabRot(*t) : QByteArray("<falhou>");
            } else {
                vista = Le(m_destino);
            }
            if (vista == m_a)
                ++vistasA;
            else if (vista == m_b)
                ++vistasB;
            else
                errada = vista;
            ++leituras;
            gravador.waitForFinished(0);
        }
        gravador.waitForFinished(60000);
        QVERIFY2(errada.isNull(),
                 qPrintable(QStringLiteral("leitura %1: %2 bytes, %3")
                                .arg(leituras)
                                .arg(errada.size())
                                .arg(QString::fromLatin1(errada.left(40).toHex(' ')))));
        QCOMPARE(gravador.exitStatus(), QProcess::NormalExit);
        QCOMPARE(gravador.exitCode(), 0);
        QVERIFY2(leituras >= 100, qPrintable(QString::number(leituras)));
        QVERIFY(vistasA > 0 && vistasB > 0);
        QCOMPARE(Le(m_destino), m_b); // the 1,000th save wrote B
    }

    // A save killed at a random moment leaves the old table or the new one, never a mix.
    void gravacaoInterrompida() {
        QRandomGenerator gerador(424242);
        auto t = std::make_unique<TTabRot>();
        int comoA = 0, comoB = 0;
        for (int vez = 0; vez < 100; ++vez) {
            QProcess gravador;
            gravador.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            gravador.start(m_ajudante, Argumentos(0));
            QVERIFY(gravador.waitForStarted());
            QVERIFY(gravador.waitForReadyRead(10000));
            QCOMPARE(gravador.readLine().trimmed(), QByteArray("pronto"));
            QThread::usleep(gerador.bounded(6000));
            ::kill(pid_t(gravador.processId()), SIGKILL);
            QVERIFY(gravador.waitForFinished(10000));
            QCOMPARE(gravador.exitStatus(), QProcess::CrashExit);

            const QByteArray bytes = Le(m_destino);
            QVERIFY2(bytes == m_a || bytes == m_b,
                     qPrintable(QStringLiteral("vez %1: %2 bytes").arg(vez).arg(bytes.size())));
            (bytes == m_a ? comoA : comoB)++;
            LimpaTabRot(*t);
            QVERIFY(LeTabRot(m_destino, *t));
            QCOMPARE(BytesDaTabRot(*t), bytes);
        }
        QVERIFY(comoA > 0 && comoB > 0);
    }
};

QTEST_GUILESS_MAIN(TstTabRotSeguranca)
#include "tst_tabrot_seguranca.moc"
