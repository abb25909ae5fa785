// Directory listings by mask: the extension rule, name order without regard to case, files
// before subdirectories, depth first, hidden directories left out.
#include "env/listagem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstListagem : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    void Cria(const QString &relativo) {
        const QString caminho = m_dir.filePath(relativo);
        QDir().mkpath(QFileInfo(caminho).absolutePath());
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        for (const char *n : {"seB.bpl", "sea.bpl", "SEC.BPL", "seX.bplx", "seY.bp", "outro.bpl",
                              "se.txt", "z/seD.bpl", "A/seE.bpl", "A/b/seF.bpl", "A/seE2.bpl",
                              ".oculto/seG.bpl", "A/.escondido/seH.bpl", "seDir.bpl/seI.bpl"})
            Cria(QString::fromLatin1(n));
        // A link back up the tree must not make the search endless.
        QVERIFY(QFile::link(m_dir.path(), m_dir.filePath(QStringLiteral("A/b/laco"))));
    }

    void lista_data() {
        QTest::addColumn<bool>("recursivo");
        QTest::addColumn<QStringList>("esperado");
        const QStringList diretorio{"sea.bpl", "seB.bpl", "SEC.BPL"};
        QTest::newRow("só o diretório") << false << diretorio;
        QTest::newRow("recursivo")
            << true
            << (diretorio + QStringList{"A/seE.bpl", "A/seE2.bpl", "A/b/seF.bpl",
                                        "seDir.bpl/seI.bpl", "z/seD.bpl"});
    }

    void lista() {
        QFETCH(bool, recursivo);
        QFETCH(QStringList, esperado);
        const QString raiz = m_dir.path() + QLatin1Char('/');
        QStringList lista{QStringLiteral("antes")};
        ListaArquivos(raiz + QStringLiteral("se*.bpl"), recursivo, lista);
        QStringList completo{QStringLiteral("antes")};
        for (const QString &e : esperado)
            completo << raiz + e;
        QCOMPARE(lista, completo);
    }

    void diretorioAusente() {
        QStringList lista;
        ListaArquivos(m_dir.filePath(QStringLiteral("nao/existe/se*.bpl")), true, lista);
        QVERIFY(lista.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstListagem)
#include "tst_listagem.moc"
