// What the window remembers between runs, in a scratch configuration directory: the directories
// last used for import and export, the geometry, and the progress dialog of a long import.

#include "janela_principal_base.h"

#include "app/preferencias.h"

#include <QKeyEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

using namespace janela;

class TstJanelaPreferencias : public QObject, public Base {
    Q_OBJECT
    QTemporaryDir m_config;

    QString Arquivo(const QString &nome) const { return unidade->filePath(nome); }

private slots:
    void initTestCase() {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QCOMPARE(ArquivoPreferencias(),
                 m_config.filePath("configurador-roteamento/configurador-roteamento.conf"));
    }
    void init() { QFile::remove(ArquivoPreferencias()); }
    void cleanup() { Fecha(); }

    void diretorios_data() {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<QString>("outra");
        QTest::newRow("importação") << "Importar1"
                                    << "Exportar1";
        QTest::newRow("exportação") << "Exportar1"
                                    << "Importar1";
    }
    void diretorios() {
        QFETCH(QString, acao);
        QFETCH(QString, outra);
        QVERIFY(MontaInstalacao());
        AbreJanela();
        QVERIFY(QDir().mkpath(Arquivo("lote/abril")));
        const QString arquivo = Arquivo("lote/abril/tabelas.txt");
        QVERIFY(lote::Escreve(arquivo, "TODAS;ALFA;411111;20;C;I\r\n"));
        auto executa = [&](const QString &nome, const QString &escolhido) {
            caixas->respostas = {Resposta::Sim};
            caixas->arquivos = {escolhido};
            Acao(nome.toLatin1().constData())->trigger();
        };
        executa(acao, arquivo);
        executa(acao, QString()); // cancelled: keeps what was remembered
        executa(acao, QString());
        executa(outra, QString());
        QCOMPARE(caixas->dialogos.size(), 4);
        QCOMPARE(caixas->dialogos[0].diretorio, QString());
        QCOMPARE(caixas->dialogos[1].diretorio, Arquivo("lote/abril"));
        QCOMPARE(caixas->dialogos[2].diretorio, Arquivo("lote/abril"));
        QCOMPARE(caixas->dialogos[3].diretorio, QString());

        // A new window reads it; a directory removed since is not offered.
        janela.reset();
        AbreJanela();
        executa(acao, QString());
        QCOMPARE(caixas->dialogos[4].diretorio, Arquivo("lote/abril"));
        QVERIFY(QDir(Arquivo("lote/abril")).removeRecursively());
        executa(acao, QString());
        QCOMPARE(caixas->dialogos[5].diretorio, QString());
    }

    void geometria() {
        QWidget antes;
        antes.setGeometry(110, 120, 700, 500);
        GuardaGeometria(&antes);
        QVERIFY(QFile::exists(ArquivoPreferencias()));
        QWidget depois;
        depois.setGeometry(0, 0, 100, 100);
        RestauraGeometria(&depois);
        QCOMPARE(depois.geometry(), antes.geometry());
        // Without a file nothing moves.
        QVERIFY(QFile::remove(ArquivoPreferencias()));
        QWidget nova;
        nova.setGeometry(5, 6, 300, 200);
        RestauraGeometria(&nova);
        QCOMPARE(nova.geometry(), QRect(5, 6, 300, 200));
    }

    void progresso_data() {
        QTest::addColumn<int>("registros");
        QTest::addColumn<bool>("mostrado");
        QTest::newRow("curta: sem diálogo") << 1 << false;
        QTest::newRow("longa: registros feitos de total") << 2000 << true;
    }
    void progresso() {
        QFETCH(int, registros);
        QFETCH(bool, mostrado);
        QVERIFY(MontaInstalacao());
        AbreJanela();
        // Each card included and then deleted: every record writes the table, which never fills,
        // so the run is long enough for the dialog however fast the disk.
        QByteArray conteudo;
        for (int i = 0; i < registros; ++i)
            conteudo += "TODAS;C" + QByteArray::number(i / 2) + ";411111;20;C;" +
                        (i % 2 ? "E" : "I") + "\r\n";
        const QString arquivo = Arquivo("lote/longa.txt");
        QVERIFY(lote::Escreve(arquivo, conteudo));

        // Runs only once the run lets events through, which the dialog does once it is up.
        QStringList visto;
        bool encerrada = false;
        QTimer olha;
        olha.setSingleShot(true);
        connect(&olha, &QTimer::timeout, this, [&] {
            if (encerrada) return;
            auto *d = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
            if (!d) return;
            visto << d->windowTitle() << QString::number(d->maximum())
                  << d->labelText().section(QLatin1Char('\n'), 1)
                  << QString::number(d->findChildren<QPushButton *>().size());
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(d, &esc);
            d->close();
            visto << (d->isVisible() ? "aberto" : "fechado");
        });
        olha.start(0);
        caixas->aoMostrar = [&](const CaixaMostrada &c) {
            if (c.texto == QStringLiteral("Importação encerrada")) encerrada = true;
        };
        caixas->respostas = {Resposta::Sim};
        caixas->arquivos = {arquivo};
        Acao("Importar1")->trigger();
        QVERIFY(encerrada);
        if (!mostrado) {
            QCOMPARE(visto, QStringList());
            return;
        }
        QCOMPARE(visto.size(), 5);
        QCOMPARE(visto[0], QStringLiteral("Configurador Roteamento"));
        QCOMPARE(visto[1], QString::number(registros));
        QVERIFY2(visto[2].endsWith(QStringLiteral(" de %1 registros").arg(registros)),
                 qPrintable(visto[2]));
        QCOMPARE(visto[3], QStringLiteral("0"));
        QCOMPARE(visto[4], QStringLiteral("aberto"));
        // Cannot be cancelled: every record was applied.
        QCOMPARE(lote::Linhas(lote::Le(Arquivo("lote/StatusArqImportado.txt"))).size(),
                 3 * registros);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

QTEST_MAIN(TstJanelaPreferencias)
#include "tst_janela_preferencias.moc"
