// One writer at a time and nothing outside the installation, proved with real processes: two
// imports at once, an import against a held lock, a killed window and its module helper, FIFOs
// and devices where files should be, links out of the installation, paths past 255 characters.

#include "instalacao_lote.h"
#include "routing/tabrot.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using lote::Cartao;
using lote::W;

namespace {

const QByteArray INSERIDO = "  - Registro inserido com sucesso";
const QByteArray E_GRAVACAO = W("  - Erro na gravação do arquivo TabRot.bin");
const QByteArray E_LEITURA = "  - Erro na leitura do arquivo TabRot.bin";

struct Resultado {
    int codigo = -1; // -2: killed or hung
    QByteArray saida, erro;
};

QStringList Nomes(const QByteArray &tabela) {
    auto t = std::make_unique<TTabRot>();
    LimpaTabRot(*t);
    if (!TabRotDosBytes(tabela, *t)) return {QStringLiteral("<danificada>")};
    QStringList nomes;
    for (int i = 0; i < t->Qtd; ++i)
        nomes << QString::fromLatin1(CopiaCampoParaTexto(t->Cartoes[i].Nome, TamNome));
    nomes.sort();
    return nomes;
}

// The pids whose parent is `pai`.
QList<int> Filhos(int pai) {
    QList<int> filhos;
    for (const QString &d : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool ok = false;
        const int pid = d.toInt(&ok);
        if (!ok) continue;
        QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray stat = f.readAll();
        const QList<QByteArray> campos = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (campos.value(1).toInt() == pai && campos.value(0) != "Z") filhos << pid;
    }
    return filhos;
}

bool Vivo(int pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray stat = f.readAll();
    return stat.mid(stat.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class TstConcorrencia : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    lote::Instalacao m_inst;
    QString m_programa;

    QProcessEnvironment Ambiente(const QString &unidade = {}) const {
        QProcessEnvironment amb;
        amb.insert("VARDO_UNIDADE", unidade.isEmpty() ? m_inst.unidade : unidade);
        amb.insert("LANG", "C.UTF-8");
        amb.insert("QT_QPA_PLATFORM", "offscreen");
        for (const char *v : {"PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS"})
            if (qEnvironmentVariableIsSet(v)) amb.insert(v, qEnvironmentVariable(v));
        return amb;
    }
    void Inicia(QProcess &p, const QStringList &argumentos, const QString &unidade = {}) {
        p.setProcessEnvironment(Ambiente(unidade));
        p.setWorkingDirectory(m_tmp->path());
        p.start(m_programa, argumentos);
    }
    static Resultado Espera(QProcess &p, int ms = 120000) {
        Resultado r;
        if (!p.waitForFinished(ms)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.saida = p.readAllStandardOutput();
        r.erro = p.readAllStandardError();
        return r;
    }
    Resultado Importa(const QString &arquivo, const QString &unidade = {}, int ms = 120000) {
        QProcess p;
        Inicia(p, {QStringLiteral("--importar"), arquivo}, unidade);
        return Espera(p, ms);
    }
    QString Lote(const char *nome) const { return m_tmp->path() + "/lote/" + nome; }

private slots:
    void initTestCase() {
        m_programa = qEnvironmentVariable("TESTES_BINARIOS") + "/../configurador-roteamento";
        QVERIFY2(QFileInfo(m_programa).isExecutable(), qPrintable(m_programa));
    }
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        m_inst.unidade = m_tmp->path() + "/u";
        QVERIFY(m_inst.cria({"12345678"}));
    }

    // Both runs' applied records are in the table, whatever the interleaving; no lock file stays.
    void duasImportacoes() {
        QByteArray a, b;
        for (int i = 0; i < 150; ++i) {
            a += "12345678;A" + QByteArray::number(i) + ";411111;5;C;I\r\n";
            b += "12345678;B" + QByteArray::number(i) + ";422222;5;C;I\r\n";
        }
        QVERIFY(lote::Escreve(m_tmp->path() + "/a/imp.txt", a));
        QVERIFY(lote::Escreve(m_tmp->path() + "/b/imp.txt", b));
        QProcess pa, pb;
        Inicia(pa, {"--importar", m_tmp->path() + "/a/imp.txt"});
        Inicia(pb, {"--importar", m_tmp->path() + "/b/imp.txt"});
        const Resultado ra = Espera(pa), rb = Espera(pb);
        QCOMPARE(ra.codigo, 0);
        QCOMPARE(rb.codigo, 0);
        QStringList esperado;
        for (const char *dir : {"a", "b"}) {
            const QList<QByteArray> status =
                lote::Linhas(lote::Le(m_tmp->path() + "/" + dir + "/StatusArqImportado.txt"));
            QCOMPARE(status.count(INSERIDO) +
                         status.count("  - Arquivo TabRot.bin foi criado" + INSERIDO),
                     150);
            for (int i = 0; i < 150; ++i)
                esperado << QString::fromLatin1(dir).toUpper() + QString::number(i);
        }
        esperado.sort();
        QCOMPARE(Nomes(lote::Le(m_inst.empresa("12345678"))), esperado);
        QCOMPARE(QDir(QFileInfo(m_inst.empresa("12345678")).path()).entryList(QDir::Files),
                 (QStringList{"TabRot.bin", "TabRot.bin.lck"}));
    }

    // A lock another process holds: the record waits a bounded time and fails as a failed write.
    void travaOcupada() {
        const QByteArray antes = lote::Arquivo({{"ALFA", 5, 1, {"411111"}}});
        QVERIFY(lote::Escreve(m_inst.todas(), antes));
        QVERIFY(lote::Escreve(Lote("imp.txt"), "TODAS;BETA;422222;5;C;I\r\n"));
        QProcess dono;
        dono.start("flock", {m_inst.todas() + ".lck", "sleep", "30"});
        QVERIFY(dono.waitForStarted());
        QTRY_VERIFY(QFile::exists(m_inst.todas() + ".lck"));
        QElapsedTimer t;
        t.start();
        const Resultado r = Importa(Lote("imp.txt"));
        dono.kill();
        dono.waitForFinished();
        QCOMPARE(r.codigo, 2);
        QVERIFY2(t.elapsed() < 60000, "a espera não terminou");
        QVERIFY2(r.erro.contains("em uso por outro processo"), r.erro);
        QCOMPARE(lote::Linhas(lote::Le(Lote("StatusArqImportado.txt"))).value(2), E_GRAVACAO);
        QCOMPARE(lote::Le(m_inst.todas()), antes);
    }

    // The window killed while its helper queries a hanging module: the helper dies with it.
    void ajudanteMorreComAJanela() {
        const QString bib = m_inst.unidade + "/vardo/aplic.win/bib/";
        QVERIFY(QDir().mkpath(bib));
        QVERIFY(QFile::copy(qEnvironmentVariable("TESTES_BINARIOS") + "/modules/seTrava.bpl",
                            bib + "seTrava.bpl"));
        // A COMUNIC.cnf, so that no message box comes before the query.
        QVERIFY(lote::Escreve(m_inst.config() + "/COMUNIC.cnf", QByteArray(130, '\0')));
        QProcess janela;
        Inicia(janela, {});
        QVERIFY(janela.waitForStarted());
        const int pai = int(janela.processId());
        QList<int> ajudantes;
        QTRY_VERIFY_WITH_TIMEOUT(!(ajudantes = Filhos(pai)).isEmpty(), 30000);
        ::kill(pai, SIGKILL);
        janela.waitForFinished();
        for (const int pid : ajudantes)
            QTRY_VERIFY_WITH_TIMEOUT(!Vivo(pid), 5000);
    }

    // No reader waits on a FIFO or reads a device or a huge file without bound.
    void arquivosEstranhos_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QByteArray>("erro");
        QTest::newRow("importação FIFO") << "fifo" << 1 << QByteArray("não é um arquivo comum");
        QTest::newRow("importação /dev/zero")
            << "zero" << 1 << QByteArray("não é um arquivo comum");
        QTest::newRow("importação de 65 MiB") << "grande" << 1 << QByteArray("64 MiB");
        QTest::newRow("tabela, COMUNIC.cnf e VARDOCFG.INI FIFO") << "tabela" << 2 << QByteArray();
    }
    void arquivosEstranhos() {
        QFETCH(QString, caso);
        QFETCH(int, codigo);
        QFETCH(QByteArray, erro);
        QVERIFY(QDir().mkpath(m_tmp->path() + "/lote"));
        const QString imp = Lote("imp.txt");
        const auto fifo = [](const QString &c) {
            return ::mkfifo(QFile::encodeName(c).constData(), 0644) == 0;
        };
        if (caso == "fifo") QVERIFY(fifo(imp));
        if (caso == "zero") QVERIFY(QFile::link("/dev/zero", imp));
        if (caso == "grande") {
            QFile f(imp);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(qint64(65) << 20));
        }
        if (caso == "tabela") {
            for (const QString &c : {m_inst.todas(), m_inst.config() + "/COMUNIC.cnf",
                                     m_inst.config() + "/VARDOCFG.INI"})
                QVERIFY(fifo(c));
            QVERIFY(lote::Escreve(imp, "TODAS;ALFA;411111;5;C;I\r\n"));
        }
        QElapsedTimer t;
        t.start();
        const Resultado r = Importa(imp, {}, 60000);
        QCOMPARE(r.codigo, codigo);
        QVERIFY2(r.erro.contains(erro), r.erro);
        QVERIFY(t.elapsed() < 60000);
        if (caso == "tabela") {
            QCOMPARE(lote::Linhas(lote::Le(Lote("StatusArqImportado.txt"))).value(2), E_LEITURA);
            QProcess p;
            Inicia(p, {"--exportar", Lote("exp.txt")});
            // Written without the table it cannot read, and said so by the exit code.
            QCOMPARE(Espera(p, 60000).codigo, 2);
        }
    }

    // A table, company directory or trace that leads out of the installation is never written;
    // a link that stays inside keeps working.
    void ligacoesParaFora_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("codigo");
        QTest::newRow("tabela") << "tabela" << 2;
        QTest::newRow("tabela pendente") << "pendente" << 2;
        QTest::newRow("diretório da empresa") << "diretorio" << 2;
        QTest::newRow("trace.txt") << "trace" << 1;
        QTest::newRow("dentro da instalação") << "dentro" << 0;
    }
    void ligacoesParaFora() {
        QFETCH(QString, caso);
        QFETCH(int, codigo);
        const QString fora = m_tmp->path() + "/fora";
        QVERIFY(QDir().mkpath(fora));
        const QByteArray antes = lote::Arquivo({{"ALFA", 5, 1, {"411111"}}});
        QVERIFY(lote::Escreve(fora + "/TabRot.bin", antes));
        QVERIFY(lote::Escreve(fora + "/trace.txt", "x"));
        const QString empresa = QFileInfo(m_inst.empresa("12345678")).path();
        if (caso == "tabela") QVERIFY(QFile::link(fora + "/TabRot.bin", m_inst.todas()));
        if (caso == "pendente") QVERIFY(QFile::link(fora + "/nova.bin", m_inst.todas()));
        if (caso == "diretorio") QVERIFY(QFile::link(fora, empresa));
        if (caso == "trace")
            QVERIFY(QFile::link(fora + "/trace.txt", m_inst.config() + "/trace.txt"));
        if (caso == "dentro") {
            QVERIFY(lote::Escreve(m_inst.config() + "/real.bin", antes));
            QVERIFY(QFile::link(m_inst.config() + "/real.bin", m_inst.todas()));
        }
        const QByteArray registro =
            caso == "diretorio" ? "12345678;BETA;1;5;C;I\r\n" : "TODAS;BETA;1;5;C;I\r\n";
        QVERIFY(lote::Escreve(Lote("imp.txt"), registro));
        const Resultado r = Importa(Lote("imp.txt"));
        QCOMPARE(r.codigo, codigo);
        QCOMPARE(lote::Le(fora + "/TabRot.bin"), antes);
        QCOMPARE(lote::Le(fora + "/trace.txt"), QByteArray("x"));
        QVERIFY(!QFile::exists(fora + "/nova.bin"));
        QCOMPARE(QDir(fora).entryList(QDir::Files), (QStringList{"TabRot.bin", "trace.txt"}));
        if (caso == "dentro") {
            QCOMPARE(Nomes(lote::Le(m_inst.config() + "/real.bin")), (QStringList{"ALFA", "BETA"}));
        } else if (codigo == 2) {
            QVERIFY2(r.erro.contains("fora da instalação"), r.erro);
            QVERIFY(lote::Le(m_inst.config() + "/trace.txt").contains("fora da instala"));
        }
    }

    // A root that makes table paths pass 255 characters: the run stops with a clear error and
    // writes no table; an import file deep down keeps its status file beside it, whole.
    void caminhosLongos() {
        const QString unidade = m_tmp->path() + "/" + QString(200, 'u');
        lote::Instalacao longa{unidade};
        QVERIFY(longa.cria({"LOJAS001"}));
        QVERIFY(lote::Escreve(Lote("imp.txt"), "LOJAS001;ALFA;1;5;C;I\r\n"));
        const Resultado r = Importa(Lote("imp.txt"), unidade);
        QCOMPARE(r.codigo, 1);
        QVERIFY2(r.erro.contains("mais de 255 caracteres"), r.erro);
        QDirIterator it(longa.config() + "/Empresas", QDir::AllEntries | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));

        const QString fundo = m_tmp->path() + "/" + QString(120, 'd') + "/" + QString(120, 'e');
        QVERIFY(lote::Escreve(fundo + "/imp.txt", "TODAS;ALFA;1;5;C;I\r\n"));
        const QString cortado = (fundo + "/StatusArqImportado.txt").left(255);
        QVERIFY(lote::Escreve(cortado, "alheio"));
        QCOMPARE(Importa(fundo + "/imp.txt").codigo, 0);
        QCOMPARE(lote::Le(cortado), QByteArray("alheio"));
        QCOMPARE(lote::Linhas(lote::Le(fundo + "/StatusArqImportado.txt")).size(), 3);
    }

    // The status file: never reached through a link, no wider than the import file it echoes,
    // and never deleted under another run of the same file.
    void arquivoDeStatus_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("codigo");
        QTest::newRow("link pendente no lugar") << "link" << 0;
        QTest::newRow("importação só do dono") << "modo" << 0;
        QTest::newRow("outra execução no mesmo arquivo") << "outra" << 75;
    }
    void arquivoDeStatus() {
        QFETCH(QString, caso);
        QFETCH(int, codigo);
        const QString imp = Lote("imp.txt"), status = Lote("StatusArqImportado.txt");
        const QString fora = m_tmp->path() + "/fora";
        QVERIFY(QDir().mkpath(fora));
        QVERIFY(lote::Escreve(imp, "TODAS;ALFA;1;5;C;I\r\n"));
        QProcess dono;
        if (caso == "link") QVERIFY(QFile::link(fora + "/alvo", status));
        if (caso == "modo")
            QVERIFY(QFile::setPermissions(imp, QFile::ReadOwner | QFile::WriteOwner));
        if (caso == "outra") {
            QVERIFY(lote::Escreve(status, "de outra vez\r\n"));
            dono.start("flock", {status + ".lck", "sleep", "30"});
            QVERIFY(dono.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(status + ".lck"), 30000);
        }
        const Resultado r = Importa(imp);
        if (dono.state() != QProcess::NotRunning) {
            dono.kill();
            dono.waitForFinished();
        }
        QCOMPARE(r.codigo, codigo);
        QCOMPARE(QDir(fora).entryList(QDir::Files | QDir::Hidden), QStringList{});
        if (caso == "outra") {
            QVERIFY2(r.erro.contains("em uso por outro processo"), r.erro);
            QCOMPARE(lote::Le(status), QByteArray("de outra vez\r\n"));
            QVERIFY(!QFile::exists(m_inst.todas()));
            return;
        }
        QVERIFY(!QFileInfo(status).isSymLink());
        QCOMPARE(lote::Linhas(lote::Le(status)).value(2),
                 "  - Arquivo TabRot.bin foi criado" + INSERIDO);
        if (caso == "modo")
            QCOMPARE(QFileInfo(status).permissions() & (QFile::ReadGroup | QFile::WriteGroup |
                                                        QFile::ReadOther | QFile::WriteOther),
                     QFileDevice::Permissions());
    }

    // Temporaries a killed save of this program left beside the table go at the next save; an
    // operator's copies, whatever their names, stay.
    void temporariosAntigos() {
        const QString dir = m_inst.config();
        for (const char *n : {"TabRot.bin.a1B2c3", "TabRot.bin.backup", "TabRot.bin.241209",
                              "TabRot.bin.orig01", ".TabRot.bin.configurador-a1B2c3",
                              ".TabRot.bin.configurador-abc", "COMUNIC.cnf.a1B2c3"})
            QVERIFY(lote::Escreve(dir + "/" + n, "x"));
        QVERIFY(lote::Escreve(Lote("imp.txt"), "TODAS;ALFA;1;5;C;I\r\n"));
        QCOMPARE(Importa(Lote("imp.txt")).codigo, 0);
        QStringList restam = QDir(dir).entryList({"*.*"}, QDir::Files | QDir::Hidden);
        restam.sort();
        QCOMPARE(restam, (QStringList{".TabRot.bin.configurador-abc", "12345678.cnf",
                                      "COMUNIC.cnf.a1B2c3", "TabRot.bin", "TabRot.bin.241209",
                                      "TabRot.bin.a1B2c3", "TabRot.bin.backup", "TabRot.bin.lck",
                                      "TabRot.bin.orig01", "trace.txt"}));
    }
};

QTEST_GUILESS_MAIN(TstConcorrencia)
#include "tst_concorrencia.moc"
