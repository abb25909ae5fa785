// The network catalogue: COMUNIC.cnf records, the per-card-type network lists, names and codes,
// and the module query, with modules that crash, hang or are no modules at all.
#include "env/redes.h"

#include "env/texto.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Reg {
    int tipo;
    int valor;
};

QByteArray Registro(int tipo, int valor) {
    QByteArray r(CatalogoRedes::TamRegistro, '\x5A');
    qToLittleEndian<std::uint16_t>(0x0102, r.data());
    qToLittleEndian<std::uint16_t>(std::uint16_t(tipo), r.data() + 2);
    qToLittleEndian<std::uint16_t>(std::uint16_t(valor), r.data() + 4);
    return r;
}

QByteArray Registros(const QList<Reg> &regs) {
    QByteArray b;
    for (const Reg &r : regs)
        b += Registro(r.tipo, r.valor);
    return b;
}

QString DiretorioModulosTeste() {
    const QString bin = qEnvironmentVariable("TESTES_BINARIOS");
    return (bin.isEmpty() ? QCoreApplication::applicationDirPath() : bin) +
           QStringLiteral("/modules/");
}

QList<QByteArray> Nomes(const char *lista) {
    QList<QByteArray> r;
    for (const QByteArray &n : QByteArray(lista).split(','))
        if (!n.isEmpty()) r << n;
    return r;
}

} // namespace

class TstRedes : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_unidade;

    QString Comunic() const {
        return m_unidade->filePath(QStringLiteral("Vardo/config/COMUNIC.cnf"));
    }
    QString Bib() const { return m_unidade->filePath(QStringLiteral("vardo/aplic.win/bib/")); }

    void GravaComunic(const QByteArray &bytes) {
        QFile f(Comunic());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    // Copies a test module into the module directory, under another name when given.
    void Instala(const QString &modulo, const QString &destino = QString()) {
        const QString alvo = Bib() + (destino.isEmpty() ? modulo : destino);
        QDir().mkpath(QFileInfo(alvo).absolutePath());
        QVERIFY2(QFile::copy(DiretorioModulosTeste() + modulo, alvo), qPrintable(modulo));
    }

private slots:
    void init() {
        m_unidade = std::make_unique<QTemporaryDir>();
        QVERIFY(m_unidade->isValid());
        qputenv("VARDO_UNIDADE", m_unidade->path().toLocal8Bit());
        QVERIFY(QDir().mkpath(m_unidade->filePath(QStringLiteral("Vardo/config"))));
        QVERIFY(QDir().mkpath(Bib()));
    }

    void carregaComunic_data() {
        QTest::addColumn<int>("tamanho");
        QTest::addColumn<bool>("esperado");
        QTest::addColumn<int>("registros");
        QTest::newRow("ausente") << -1 << false << 0;
        QTest::newRow("vazio") << 0 << false << 0;
        QTest::newRow("parcial") << 129 << true << 0;
        QTest::newRow("265 bytes") << 265 << true << 2;
        QTest::newRow("buffer cheio") << 53822 << true << 414;
        QTest::newRow("maior que o buffer") << 60000 << true << 414;
    }

    void carregaComunic() {
        QFETCH(int, tamanho);
        QFETCH(bool, esperado);
        QFETCH(int, registros);
        if (tamanho >= 0) {
            QByteArray b;
            while (b.size() < tamanho)
                b += Registro(2, 10);
            GravaComunic(b.left(tamanho));
        }
        CatalogoRedes cat;
        QCOMPARE(cat.CarregaComunic(), esperado);
        QCOMPARE(cat.QtdRegistros(), registros);
        QCOMPARE(cat.ListaRegistrosRede().size(), qMin(registros, 200));
    }

    void comunicIlegivel() {
        QVERIFY(QDir().mkpath(Comunic())); // a directory where the file should be
        CatalogoRedes cat;
        QVERIFY(!cat.CarregaComunic());
        Instala(QStringLiteral("seB.bpl"));
        cat.CarregaModulos();
        QCOMPARE(cat.RedesDoTipo(MascaraCredito), Nomes("Bloqueada"));
    }

    void registrosRede() {
        // Kind-2 records among others: their numbers, counted from 1, at most 200 of them.
        QList<Reg> regs{{7, 1}, {3, 10}, {2, 10}};
        for (int i = 0; i < 250; ++i)
            regs << Reg{2, 10} << Reg{0, 10};
        GravaComunic(Registros(regs));
        CatalogoRedes cat;
        QVERIFY(cat.CarregaComunic());
        const QList<std::uint16_t> lista = cat.ListaRegistrosRede();
        QCOMPARE(lista.size(), 200);
        QCOMPARE(lista.first(), 3);
        QCOMPARE(lista.at(1), 4);
        QCOMPARE(lista.last(), 4 + 198 * 2);

        Instala(QStringLiteral("seB.bpl"));
        QCOMPARE(cat.CarregaModulos(), 1);
        const QList<QByteArray> credito = cat.RedesDoTipo(MascaraCredito);
        QCOMPARE(credito.size(), 201);
        QCOMPARE(credito.first(), QByteArray("Bloqueada"));
        QCOMPARE(credito.count("B"), 200);
    }

    void listas_data() {
        QTest::addColumn<QList<int>>("codigos");
        QTest::addColumn<QList<QByteArray>>("credito");
        QTest::addColumn<QList<QByteArray>>("debito");
        QTest::addColumn<QList<QByteArray>>("combustivel");
        QTest::newRow("ordem do COMUNIC.cnf") << QList<int>{10, 20} << Nomes("Bloqueada,B,A")
                                              << Nomes("Bloqueada,B") << Nomes("Bloqueada");
        QTest::newRow("ordem inversa") << QList<int>{20, 10} << Nomes("Bloqueada,A,B")
                                       << Nomes("Bloqueada,B") << Nomes("Bloqueada");
        QTest::newRow("repetida e sem módulo")
            << QList<int>{10, 99, 40, 10} << Nomes("Bloqueada,B,B") << Nomes("Bloqueada,B,B")
            << Nomes("Bloqueada,C");
        QTest::newRow("sem registros")
            << QList<int>{} << Nomes("Bloqueada") << Nomes("Bloqueada") << Nomes("Bloqueada");
    }

    void listas() {
        QFETCH(QList<int>, codigos);
        QFETCH(QList<QByteArray>, credito);
        QFETCH(QList<QByteArray>, debito);
        QFETCH(QList<QByteArray>, combustivel);
        QList<Reg> regs{{7, 1}};
        for (int c : codigos)
            regs << Reg{2, c};
        GravaComunic(Registros(regs) + "12345");
        for (const char *m : {"seA.bpl", "seB.bpl", "seC.bpl"})
            Instala(QString::fromLatin1(m));
        CatalogoRedes cat;
        QVERIFY(cat.CarregaComunic());
        QCOMPARE(cat.CarregaModulos(), 3);
        QCOMPARE(cat.RedesDoTipo(MascaraCredito), credito);
        QCOMPARE(cat.RedesDoTipo(MascaraDebito), debito);
        QCOMPARE(cat.RedesDoTipo(MascaraCombustivel), combustivel);
    }

    void tecban_data() {
        QTest::addColumn<QList<int>>("modos");
        QTest::addColumn<QByteArray>("nome");
        QTest::newRow("host a host") << QList<int>{1} << QByteArray("Tecban Host a Host");
        QTest::newRow("on line") << QList<int>{0} << QByteArray("Tecban On Line");
        QTest::newRow("o último vale") << QList<int>{1, 0} << QByteArray("Tecban On Line");
        QTest::newRow("o último vale 2") << QList<int>{2, 1} << QByteArray("Tecban Host a Host");
        QTest::newRow("sem conexão") << QList<int>{} << QByteArray("Tecban");
    }

    void tecban() {
        QFETCH(QList<int>, modos);
        QFETCH(QByteArray, nome);
        QList<Reg> regs{{2, 30}};
        for (int m : modos)
            regs << Reg{7, m};
        GravaComunic(Registros(regs));
        Instala(QStringLiteral("seTecban.bpl"));
        Instala(QStringLiteral("seA.bpl"));
        CatalogoRedes cat;
        QVERIFY(cat.CarregaComunic());
        QCOMPARE(cat.CarregaModulos(), 2);
        QCOMPARE(cat.NomeDaRede(30), nome);
        QCOMPARE(cat.RedesDoTipo(MascaraCombustivel), (QList<QByteArray>{"Bloqueada", nome}));
        QByteArray outro("RedeX");
        cat.NomeConexaoTecban(outro);
        QCOMPARE(outro, modos.isEmpty() ? QByteArray("RedeX") : nome);

        // Whatever the connection records say, both display names and the plain name map back.
        for (const char *n : {"Tecban Host a Host", "Tecban On Line", "Tecban", "TECBAN", "tecban"})
            QCOMPARE(cat.CodigoDaRede(n), std::uint16_t(30));
        for (const char *n : {"tecban host a host", "Tecban  On Line", "Tecban On Line ", ""})
            QCOMPARE(cat.CodigoDaRede(n), std::uint16_t(0));
        // The TECBAN names do not hide the modules after the TECBAN one.
        QCOMPARE(cat.CodigoDaRede("a"), std::uint16_t(20));
    }

    void nomesECodigos() {
        Instala(QStringLiteral("seA.bpl"), QStringLiteral("seRede.Sul.bpl"));
        Instala(QStringLiteral("seB.bpl"), QStringLiteral("seÁgua.bpl"));
        Instala(QStringLiteral("seC.bpl"), QStringLiteral("se  .bpl"));
        GravaComunic(Registros({{2, 20}, {2, 10}, {2, 40}}));
        CatalogoRedes cat;
        QVERIFY(cat.CarregaComunic());
        QCOMPARE(cat.CarregaModulos(), 3);
        QCOMPARE(cat.NomeDaRede(0xFFFF), QByteArray("Bloqueada"));
        QCOMPARE(cat.NomeDaRede(99), QByteArray());
        // A name with a full stop maps back to its own code: a table loaded and saved keeps it.
        QCOMPARE(cat.NomeDaRede(20), QByteArray("Rede.Sul"));
        QCOMPARE(cat.CodigoDaRede("Rede.Sul"), std::uint16_t(20));
        QCOMPARE(cat.CodigoDaRede("REDE.SUL"), std::uint16_t(20));
        QCOMPARE(cat.NomeDaRede(10), cp1252("Água"));
        QCOMPARE(cat.CodigoDaRede(cp1252("ÁGUA")), std::uint16_t(10));
        // A blank name is offered nowhere.
        QCOMPARE(cat.RedesDoTipo(MascaraCombustivel), Nomes("Bloqueada"));
        QCOMPARE(cat.RedesDoTipo(MascaraCredito),
                 (QList<QByteArray>{"Bloqueada", "Rede.Sul", cp1252("Água")}));
        QCOMPARE(cat.CodigoDaRede("Bloqueada"), std::uint16_t(0));
    }

    void mesmoCodigo() {
        // seA (code 20, credit) is found before seOutra (code 20, debit): it names the network.
        Instala(QStringLiteral("seOutra.bpl"));
        Instala(QStringLiteral("seA.bpl"));
        GravaComunic(Registros({{2, 20}}));
        CatalogoRedes cat;
        QVERIFY(cat.CarregaComunic());
        QCOMPARE(cat.CarregaModulos(), 2);
        QCOMPARE(cat.TiposDaRede(20), std::uint16_t(MascaraCredito));
        QCOMPARE(cat.ModuloDaRede(20), Bib() + QStringLiteral("seA.bpl"));
        QCOMPARE(cat.NomeDaRede(20), QByteArray("A"));
        QCOMPARE(cat.RedesDoTipo(MascaraCredito), Nomes("Bloqueada,A"));
        QCOMPARE(cat.RedesDoTipo(MascaraDebito), Nomes("Bloqueada"));
        QCOMPARE(cat.CodigoDaRede("Outra"), std::uint16_t(20));
    }

    void semModulos_data() {
        QTest::addColumn<bool>("comDiretorio");
        QTest::newRow("diretório vazio") << true;
        QTest::newRow("sem diretório") << false;
    }

    void semModulos() {
        QFETCH(bool, comDiretorio);
        if (!comDiretorio) QVERIFY(QDir(Bib()).removeRecursively());
        GravaComunic(Registros({{2, 10}, {2, 20}}));
        CatalogoRedes cat;
        QVERIFY(cat.CarregaComunic());
        QCOMPARE(cat.CarregaModulos(), 0);
        QVERIFY(cat.Modulos().isEmpty());
        QCOMPARE(cat.TiposDaRede(10), std::uint16_t(0xFFFF));
        QCOMPARE(cat.CodigoDaRede("A"), std::uint16_t(0));
        QCOMPARE(cat.CodigoDaRede(""), std::uint16_t(0));
        QCOMPARE(cat.RedesDoTipo(MascaraCredito), Nomes("Bloqueada"));
    }

    // A module someone else could have changed is not run, nor one a link brings in from
    // outside; a link to "/" is not walked. Each is reported with its reason.
    void modulosRecusados_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("arquivo gravável por todos") << "0666"
                                                    << "pode ser alterado pelo grupo";
        QTest::newRow("diretório gravável pelo grupo") << "dir0775"
                                                       << "o diretório";
        QTest::newRow("arquivo de outro usuário") << "dono"
                                                  << "pertence a outro usuário";
        QTest::newRow("ligação para fora") << "fora"
                                           << "leva para fora do diretório";
    }
    void modulosRecusados() {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        Instala(QStringLiteral("seA.bpl"));
        QVERIFY(QFile::link(QStringLiteral("/"), Bib() + QStringLiteral("raiz")));
        const QString alvo = Bib() + QStringLiteral("sub/seB.bpl");
        const QByteArray nome = QFile::encodeName(alvo);
        if (caso == QLatin1String("fora")) {
            QVERIFY(QDir().mkpath(Bib() + QStringLiteral("sub")));
            QVERIFY(QFile::copy(DiretorioModulosTeste() + QStringLiteral("seB.bpl"),
                                m_unidade->filePath(QStringLiteral("seB.bpl"))));
            QVERIFY(QFile::link(m_unidade->filePath(QStringLiteral("seB.bpl")), alvo));
        } else {
            Instala(QStringLiteral("seB.bpl"), QStringLiteral("sub/seB.bpl"));
        }
        if (caso == QLatin1String("0666")) QCOMPARE(::chmod(nome.constData(), 0666), 0);
        if (caso == QLatin1String("dir0775"))
            QCOMPARE(::chmod(QFile::encodeName(Bib() + QStringLiteral("sub")).constData(), 0775),
                     0);
        if (caso == QLatin1String("dono")) {
            if (::geteuid() != 0) QSKIP("só root dá o arquivo a outro usuário");
            QCOMPARE(::chown(nome.constData(), 4321, 4321), 0);
        }
        CatalogoRedes cat;
        QElapsedTimer relogio;
        relogio.start();
        QCOMPARE(cat.CarregaModulos(), 1);
        QVERIFY2(relogio.elapsed() < 20000, "a busca percorreu o sistema de arquivos");
        QCOMPARE(cat.Modulos().size(), 1);
        QVERIFY(cat.Modulos().at(0).caminho.endsWith(QLatin1String("/seA.bpl")));
        QCOMPARE(cat.ModulosRecusados().size(), 1);
        QCOMPARE(cat.ModulosRecusados().at(0).caminho, alvo);
        QVERIFY2(cat.ModulosRecusados().at(0).motivo.contains(motivo),
                 qPrintable(cat.ModulosRecusados().at(0).motivo));
    }

    void modulosQueFalham() {
        // In name order: seA, seAborta, seB, seFala, seNulo, seSemEntrada, seTrava, seZ, then
        // sub/seC; the hidden directory and the .bplx file are not queried at all.
        for (const char *m : {"seA.bpl", "seAborta.bpl", "seB.bpl", "seFala.bpl", "seNulo.bpl",
                              "seSemEntrada.bpl", "seTrava.bpl"})
            Instala(QString::fromLatin1(m));
        Instala(QStringLiteral("seX.bplx"));
        Instala(QStringLiteral("seC.bpl"), QStringLiteral("sub/seC.bpl"));
        Instala(QStringLiteral("seOutra.bpl"), QStringLiteral(".oculto/seOutra.bpl"));
        {
            QFile z(Bib() + QStringLiteral("seZ.bpl"));
            QVERIFY(z.open(QIODevice::WriteOnly));
            z.write("isto não é uma biblioteca\n");
        }
        CatalogoRedes cat;
        const int prazo = 1500;
        cat.DefinePrazoModulo(prazo);
        QElapsedTimer relogio;
        relogio.start();
        QCOMPARE(cat.CarregaModulos(), 4);
        const qint64 gasto = relogio.elapsed();
        QVERIFY(!cat.ConsultaIndisponivel());
        // The hanging module costs its time limit, not much more.
        QVERIFY2(gasto >= prazo && gasto < prazo + 4000, qPrintable(QString::number(gasto)));

        const QList<ModuloRede> &t = cat.Modulos();
        QCOMPARE(t.size(), 9);
        const QStringList caminhos{"seA.bpl", "seB.bpl", "seFala.bpl", "sub/seC.bpl"};
        const QList<int> codigos{20, 10, 80, 40};
        const QList<int> tipos{1, 3, 1, 4};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(t.at(i).caminho, Bib() + caminhos.at(i));
            QCOMPARE(t.at(i).codigo, codigos.at(i));
            QCOMPARE(t.at(i).tipos, tipos.at(i));
        }
        // The module saw the two preset words, and echoed them into the kept ones.
        QCOMPARE(t.at(0).palavra319, std::uint16_t(60000));
        QCOMPARE(t.at(0).palavra323, std::uint16_t(0xFFFF));
        for (int i = 4; i < t.size(); ++i) {
            QVERIFY(t.at(i).caminho.isEmpty());
            QCOMPARE(t.at(i).codigo, std::uint16_t(0));
            QCOMPARE(t.at(i).tipos, std::uint16_t(0));
        }
        QCOMPARE(cat.CodigoDaRede("X"), std::uint16_t(0));
        QCOMPARE(cat.CodigoDaRede("Outra"), std::uint16_t(0));

        // A new query starts from an empty table.
        QVERIFY(QFile::remove(Bib() + QStringLiteral("seTrava.bpl")));
        QCOMPARE(cat.CarregaModulos(), 4);
        QCOMPARE(cat.Modulos().size(), 8);
    }

    void consultaNoProcesso_data() {
        QTest::addColumn<QString>("modulo");
        QTest::addColumn<bool>("responde");
        QTest::addColumn<int>("codigo");
        QTest::newRow("módulo") << QStringLiteral("seB.bpl") << true << 10;
        QTest::newRow("sem ObtemInformacoes") << QStringLiteral("seSemEntrada.bpl") << false << 0;
        QTest::newRow("ausente") << QStringLiteral("seNada.bpl") << false << 0;
        QTest::newRow("não é biblioteca") << QStringLiteral("../CTestTestfile.cmake") << false << 0;
    }

    void consultaNoProcesso() {
        QFETCH(QString, modulo);
        QFETCH(bool, responde);
        QFETCH(int, codigo);
        ModuloRede m;
        QCOMPARE(ConsultaModulo(DiretorioModulosTeste() + modulo, m), responde);
        QCOMPARE(m.codigo, std::uint16_t(codigo));
        QCOMPARE(m.caminho, responde ? DiretorioModulosTeste() + modulo : QString());
    }
};

QTEST_GUILESS_MAIN(TstRedes)
#include "tst_redes.moc"
