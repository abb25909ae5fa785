// Installation root from CfVardo.ini and the paths built under it, with the Linux drive mapping.

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/redes.h"
#include "env/texto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TstCaminhos : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_unidade;  // the drive of the tests
    QString m_programa; // a fake executable; its CfVardo.ini lies beside it

    void EscreveIni(const QByteArray &conteudo) {
        QFile f(QFileInfo(m_programa).path() + QStringLiteral("/CfVardo.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(conteudo), conteudo.size());
    }
    void ApagaIni() {
        QFile::remove(QFileInfo(m_programa).path() + QStringLiteral("/CfVardo.ini"));
    }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        m_unidade = m_tmp.path() + QStringLiteral("/unidade");
        QVERIFY(QDir().mkpath(m_unidade));
        QVERIFY(QDir().mkpath(m_tmp.path() + QStringLiteral("/Apps")));
        m_programa = m_tmp.path() + QStringLiteral("/Apps/Tarvel");
        qputenv("VARDO_UNIDADE", m_unidade.toLocal8Bit());
        QVERIFY2(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"),
                 "a CfVardo.ini beside the test program would change every result");
    }
    void init() {
        ApagaIni();
        qputenv("VARDO_UNIDADE", m_unidade.toLocal8Bit());
    }

    // The ini text (a null array: no file), the root relative to the drive ("@" stands for it)
    // and the installation-wide table built from it.
    void obtemRaiz_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("raiz");
        QTest::addColumn<QString>("tabRot");
        QTest::newRow("sem CfVardo.ini") << QByteArray() << "@/Vardo"
                                         << "@/Vardo/config/TabRot.bin";
        QTest::newRow("outra unidade, barras normais")
            << QByteArray("[config]\r\nraiz=D:/Servidor/Vardo\r\n") << "@/Servidor/Vardo"
            << "@/Servidor/Vardo/config/TabRot.bin";
        QTest::newRow("barras invertidas")
            << QByteArray("[config]\r\nraiz=D:\\Servidor\\Vardo\r\n") << "@/Servidor/Vardo"
            << "@/Servidor/Vardo/config/TabRot.bin";
        QTest::newRow("raiz vazia") << QByteArray("[config]\r\nraiz=\r\n") << "@"
                                    << "@/config/TabRot.bin";
        QTest::newRow("separador no fim")
            << QByteArray("[config]\r\nraiz=C:\\Vardo\\\r\n") << "@/Vardo/"
            << "@/Vardo//config/TabRot.bin";
        QTest::newRow("secao e chave em outra caixa")
            << QByteArray("[CONFIG]\r\nRaiz=\\Inst\r\n") << "@/Inst"
            << "@/Inst/config/TabRot.bin";
        QTest::newRow("chave ausente") << QByteArray("[config]\r\noutra=\\X\r\n") << "@/Vardo"
                                       << "@/Vardo/config/TabRot.bin";
        QTest::newRow("chave em outra secao") << QByteArray("[geral]\r\nraiz=\\X\r\n") << "@/Vardo"
                                              << "@/Vardo/config/TabRot.bin";
        QTest::newRow("arquivo vazio") << QByteArray("") << "@/Vardo"
                                       << "@/Vardo/config/TabRot.bin";
        QTest::newRow("acentos em Windows-1252")
            << cp1252("[config]\r\nraiz=\\Instalação\r\n") << QString::fromUtf8("@/Instalação")
            << QString::fromUtf8("@/Instalação/config/TabRot.bin");
        QTest::newRow("raiz relativa fica relativa")
            << QByteArray("[config]\r\nraiz=C:Vardo\r\n") << "Vardo"
            << "Vardo/config/TabRot.bin";
    }
    void obtemRaiz() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, raiz);
        QFETCH(QString, tabRot);
        if (!ini.isNull()) EscreveIni(ini);
        raiz.replace(QLatin1Char('@'), m_unidade);
        tabRot.replace(QLatin1Char('@'), m_unidade);
        const QString r = ObtemRaiz(m_programa);
        QCOMPARE(r, raiz);
        QCOMPARE(Caminhos::TabRotTodas(r), tabRot);
    }

    // Without VARDO_UNIDADE the drive is the file system root.
    void unidadePadrao_data() {
        QTest::addColumn<QByteArray>("unidade");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("raiz");
        QTest::newRow("sem variavel, sem ini") << QByteArray() << QByteArray() << "/Vardo";
        QTest::newRow("sem variavel, raiz vazia")
            << QByteArray() << QByteArray("[config]\r\nraiz=\r\n") << "";
        QTest::newRow("variavel /") << QByteArray("/") << QByteArray() << "/Vardo";
        QTest::newRow("variavel com barra no fim")
            << QByteArray("/srv/u/") << QByteArray() << "/srv/u/Vardo";
    }
    void unidadePadrao() {
        QFETCH(QByteArray, unidade);
        QFETCH(QByteArray, ini);
        QFETCH(QString, raiz);
        if (unidade.isNull())
            qunsetenv("VARDO_UNIDADE");
        else
            qputenv("VARDO_UNIDADE", unidade);
        if (!ini.isNull()) EscreveIni(ini);
        const QString r = ObtemRaiz(m_programa);
        QCOMPARE(r, raiz);
        if (r.isEmpty()) QCOMPARE(Caminhos::TabRotTodas(r), QStringLiteral("/config/TabRot.bin"));
        QCOMPARE(Caminhos::DiretorioModulos(),
                 QString::fromLocal8Bit(unidade).remove(QRegularExpression("/+$")) +
                     QStringLiteral("/vardo/aplic.win/bib/"));
    }

    // Nothing is cached: a change to CfVardo.ini counts at the next call.
    void leDeNovoACadaChamada() {
        EscreveIni("[config]\r\nraiz=\\Um\r\n");
        QCOMPARE(ObtemRaiz(m_programa), m_unidade + "/Um");
        EscreveIni("[config]\r\nraiz=\\Dois\r\n");
        QCOMPARE(ObtemRaiz(m_programa), m_unidade + "/Dois");
        ApagaIni();
        QCOMPARE(ObtemRaiz(m_programa), m_unidade + "/Vardo");
    }

    // The ini is the one beside the program, never the one in the current directory.
    void iniDoDiretorioDoPrograma() {
        const QString cwd = m_tmp.path() + QStringLiteral("/cwd");
        QVERIFY(QDir().mkpath(cwd));
        QFile f(cwd + QStringLiteral("/CfVardo.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[config]\r\nraiz=\\Errada\r\n");
        f.close();
        const QString antes = QDir::currentPath();
        QVERIFY(QDir::setCurrent(cwd));
        const QString r = ObtemRaiz(m_programa);
        const QString doProprio = Raiz();
        QDir::setCurrent(antes);
        QCOMPARE(r, m_unidade + "/Vardo");
        QCOMPARE(doProprio, m_unidade + "/Vardo");
    }

    void trocaCaractere_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("vazio") << ""
                               << "";
        QTest::newRow("sem ocorrencia") << "abc"
                                        << "abc";
        QTest::newRow("varias") << "a.b..c."
                                << "a/b//c/";
    }
    void trocaCaractere() {
        QFETCH(QString, texto);
        QFETCH(QString, esperado);
        QCOMPARE(TrocaCaractere(texto, QLatin1Char('.'), QLatin1Char('/')), esperado);
    }

    void ajustaBarras() {
        QCOMPARE(AjustaBarras(QStringLiteral("C:\\Vardo\\config/x")),
                 QStringLiteral("C:/Vardo/config/x"));
        QCOMPARE(AjustaBarras(QString()), QString());
    }

    void caminhos() {
        const QString r = QStringLiteral("/inst/Vardo");
        QCOMPARE(Caminhos::Config(r), r + "/config");
        QCOMPARE(Caminhos::Comunic(r), r + "/config/COMUNIC.cnf");
        QCOMPARE(Caminhos::VardoCfg(r), r + "/config/VARDOCFG.INI");
        QCOMPARE(Caminhos::TabTraducao(r), r + "/config/TabTraducao.ini");
        QCOMPARE(Caminhos::Trace(r), r + "/config/trace.txt");
        QCOMPARE(Caminhos::MascaraEmpresas(r), r + "/config/*.cnf");
        QCOMPARE(Caminhos::DiretorioEmpresas(r), r + "/config/Empresas");
        QCOMPARE(Caminhos::TabRotTodas(r), r + "/config/TabRot.bin");
        QCOMPARE(Caminhos::TabRotEmpresa(r, "EMPRESA1"),
                 r + "/config/Empresas/EMPRESA1/TabRot.bin");
        QCOMPARE(Caminhos::DiretorioModulos(), m_unidade + "/vardo/aplic.win/bib/");
    }

    // A cut path would name another file: paths stay whole and a long one is refused.
    void caminhoLongoRecusado() {
        const QString r = QLatin1Char('/') + QString(240, QLatin1Char('r'));
        const QString t = Caminhos::TabRotEmpresa(r, "EMPRESA1");
        QCOMPARE(t, r + "/config/Empresas/EMPRESA1/TabRot.bin");
        QCOMPARE(Caminhos::Trace(r), r + "/config/trace.txt");
        QVERIFY_THROWS_EXCEPTION(ErroES, Caminhos::ExigeCaminhoCurto(t));
        Caminhos::ExigeCaminhoCurto(t.left(255));
    }

    // An installed program has no CfVardo.ini beside it: the system's is read instead.
    void arquivoCfVardo() {
        QCOMPARE(ArquivoCfVardo(m_programa),
                 QStringLiteral("/etc/configurador-roteamento/CfVardo.ini"));
        EscreveIni("[config]\r\nraiz=\\Outra\r\n");
        QCOMPARE(ArquivoCfVardo(m_programa), QFileInfo(m_programa).path() + "/CfVardo.ini");
        QCOMPARE(ObtemRaiz(m_programa), m_unidade + "/Outra");
    }

    // The module helper from the program's path: the installed layout first, then the build
    // tree (beside the program, or one level up for tests and benchmarks). With none, the
    // installed path, which the failure then names.
    void executavelConsulta_data() {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QStringList>("ajudantes"); // executables laid under the scratch root
        QTest::addColumn<QString>("esperado");
        const QString lib = QStringLiteral("usr/libexec/configurador-roteamento/consulta-modulos");
        QTest::newRow("instalado") << "usr/bin/prog" << QStringList{lib} << lib;
        QTest::newRow("instalado antes do vizinho")
            << "usr/bin/prog" << QStringList{lib, "usr/bin/consulta-modulos"} << lib;
        QTest::newRow("árvore: ao lado")
            << "b/prog" << QStringList{"b/consulta-modulos"} << "b/consulta-modulos";
        QTest::newRow("árvore: testes")
            << "b/tests/tst" << QStringList{"b/consulta-modulos"} << "b/consulta-modulos";
        QTest::newRow("nenhum") << "usr/bin/prog" << QStringList() << lib;
        QTest::newRow("não executável") << "usr/bin/prog" << QStringList{"-" + lib} << lib;
    }
    void executavelConsulta() {
        QFETCH(QString, programa);
        QFETCH(QStringList, ajudantes);
        QFETCH(QString, esperado);
        QTemporaryDir raiz;
        QVERIFY(raiz.isValid());
        for (QString a : ajudantes) {
            const bool executavel = !a.startsWith('-');
            if (!executavel) a.remove(0, 1);
            QVERIFY(QDir().mkpath(QFileInfo(raiz.filePath(a)).path()));
            QFile f(raiz.filePath(a));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                     (executavel ? QFile::ExeOwner : QFile::Permissions())));
        }
        QVERIFY(QDir().mkpath(QFileInfo(raiz.filePath(programa)).path()));
        QCOMPARE(ExecutavelConsulta(raiz.filePath(programa)), raiz.filePath(esperado));
    }
};

QTEST_GUILESS_MAIN(TstCaminhos)
#include "tst_caminhos.moc"
