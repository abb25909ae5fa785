// The routing table records and TabRot.bin: the file byte for byte, the reader's checks, the
// trace entries of a load, and the writer's atomic replacement.

#include "arquivos_teste.h"
#include "env/caminhos.h"
#include "env/erro.h"
#include "env/redes.h"
#include "env/texto.h"
#include "routing/tabrot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/xattr.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using teste::Escreve;
using teste::Le;
using teste::Modo;

namespace {

// The table is 159 KB: keep it off the stack.
std::unique_ptr<TTabRot> NovaTabela(unsigned char preenchimento = 0) {
    auto t = std::make_unique<TTabRot>();
    std::memset(t.get(), preenchimento, sizeof(TTabRot));
    return t;
}

void PoeCartao(TTabRot &t, const QByteArray &nome, std::uint16_t rede, std::uint8_t tipo,
               const QList<QByteArray> &bins) {
    TCartao &c = t.Cartoes[t.Qtd++];
    CopiaTextoParaCampo(nome, c.Nome);
    c.CodRede = rede;
    c.Tipo = tipo;
    c.QtdBins = std::uint8_t(bins.size());
    for (int j = 0; j < bins.size(); ++j)
        CopiaTextoParaCampo(bins[j], c.Bins[j]);
}

// A field of `tamanho` bytes: the text, then zeros.
QByteArray Campo(const QByteArray &texto, int tamanho) {
    return texto + QByteArray(tamanho - texto.size(), '\0');
}

QStringList Conteudo(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The example of the file format: one credit card ALFA, network 5, two BINs.
QByteArray BytesExemplo() {
    QByteArray b = QByteArray::fromHex("01000100");
    b += Campo("ALFA", 31);
    b += QByteArray::fromHex("05000102") + QByteArray(1, '\0');
    b += Campo("411111", 20);
    b += Campo("400000-400099", 20);
    return b;
}

// Three entries of different shapes, zero-filled before they were built.
std::unique_ptr<TTabRot> TresEntradas() {
    auto t = NovaTabela();
    PoeCartao(*t, "VISA", 12, TipoCredito, {"411111", "400000-400099", "455555"});
    PoeCartao(*t, "", RedeBloqueada, TipoPadraoDebito, {});
    PoeCartao(*t, "GOODCARD", 3, TipoCombustivel, {"606282"});
    return t;
}

} // namespace

class TstTabRot : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_raiz;
    QString m_config;

    QString Trace() const { return m_config + QStringLiteral("/trace.txt"); }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp.path()));
        m_raiz = Raiz();
        QCOMPARE(m_raiz, m_tmp.path() + QStringLiteral("/Vardo"));
        m_config = Caminhos::Config(m_raiz);
        QVERIFY(QDir().mkpath(m_config));
    }
    void init() {
        QVERIFY(QDir().mkpath(m_config));
        QFile::remove(Trace());
        QFile::remove(m_config + QStringLiteral("/TabRot.bin.lck")); // each case its own saves
    }

    void camposDeTexto_data() {
        QTest::addColumn<QByteArray>("campo"); // the field's bytes
        QTest::addColumn<QByteArray>("texto");
        QTest::newRow("vazio") << Campo("", 31) << QByteArray();
        QTest::newRow("ate o NUL")
            << QByteArray("AB\0CD", 5) + QByteArray(26, 'x') << QByteArray("AB");
        QTest::newRow("31 bytes sem NUL dao 30") << QByteArray(31, 'N') << QByteArray(30, 'N');
    }
    void camposDeTexto() {
        QFETCH(QByteArray, campo);
        QFETCH(QByteArray, texto);
        QCOMPARE(CopiaCampoParaTexto(campo.constData(), 31), texto);
    }

    void copiaTextoDeixaORestoDoCampo() {
        char campo[TamBin];
        std::memset(campo, 'z', sizeof campo);
        CopiaTextoParaCampo("4111", campo);
        QCOMPARE(QByteArray(campo, TamBin), QByteArray("4111\0", 5) + QByteArray(16, 'z'));
    }

    void arquivoDoExemplo() {
        auto t = NovaTabela();
        PoeCartao(*t, "ALFA", 5, TipoCredito, {"411111", "400000-400099"});
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(GravaTabRot(arq, *t));
        const QByteArray bytes = Le(arq);
        QCOMPARE(bytes.size(), 80);
        QCOMPARE(bytes.toHex(' '), BytesExemplo().toHex(' '));

        auto lida = NovaTabela(0xA5);
        QVERIFY(LeTabRot(arq, *lida));
        QCOMPARE(int(lida->Qtd), 1);
        const TCartao &c = lida->Cartoes[0];
        QCOMPARE(CopiaCampoParaTexto(c.Nome, TamNome), QByteArray("ALFA"));
        QCOMPARE(int(c.CodRede), 5);
        QCOMPARE(int(c.Tipo), int(TipoCredito));
        QCOMPARE(int(c.QtdBins), 2);
        QCOMPARE(CopiaCampoParaTexto(c.Bins[0], TamBin), QByteArray("411111"));
        QCOMPARE(CopiaCampoParaTexto(c.Bins[1], TamBin), QByteArray("400000-400099"));
        QVERIFY(QFile::remove(arq));
    }

    void tabelaVazia() {
        auto t = NovaTabela();
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(GravaTabRot(arq, *t));
        QCOMPARE(Le(arq), QByteArray::fromHex("01000000"));
        auto lida = NovaTabela(0xA5);
        QVERIFY(LeTabRot(arq, *lida));
        QCOMPARE(int(lida->Qtd), 0);
        QVERIFY(QFile::remove(arq));
    }

    // What goes in comes back, and the file holds exactly what it should.
    void idaEVolta_data() {
        QTest::addColumn<QByteArray>("nome");
        QTest::addColumn<int>("rede");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QList<QByteArray>>("bins");
        const QByteArray nome30 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
        const QByteArray bin20 = "4111111111-411111199";
        QTest::newRow("nome de 30, BIN de 20") << nome30 << 7 << 1 << QList<QByteArray>{bin20, "5"};
        QTest::newRow("sem BINs") << QByteArray("ELO") << 2 << 2 << QList<QByteArray>{};
        QList<QByteArray> vinte;
        for (int j = 0; j < 20; ++j)
            vinte << QByteArray::number(600000 + j);
        QTest::newRow("20 BINs") << QByteArray("FROTA") << 9 << 3 << vinte;
        QTest::newRow("nome em Windows-1252")
            << cp1252("CRÉDITO SÃO JOÃO") << 1 << 1 << QList<QByteArray>{"506699"};
        for (int tipo : {255, 254, 253}) {
            QTest::addRow("rede padrao %d bloqueada", tipo)
                << QByteArray() << 65535 << tipo << QList<QByteArray>{};
            QTest::addRow("rede padrao %d com codigo", tipo)
                << QByteArray() << 42 << tipo << QList<QByteArray>{};
        }
    }
    void idaEVolta() {
        QFETCH(QByteArray, nome);
        QFETCH(int, rede);
        QFETCH(int, tipo);
        QFETCH(QList<QByteArray>, bins);
        auto t = NovaTabela();
        PoeCartao(*t, nome, std::uint16_t(rede), std::uint8_t(tipo), bins);
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(GravaTabRot(arq, *t));

        QByteArray esperado = QByteArray::fromHex("01000100") + Campo(nome, 31);
        esperado += char(rede & 0xFF);
        esperado += char(rede >> 8);
        esperado += char(tipo);
        esperado += char(bins.size());
        esperado += '\0';
        for (const QByteArray &b : bins)
            esperado += Campo(b, 20);
        QCOMPARE(Le(arq).toHex(' '), esperado.toHex(' '));

        // The 21st byte of a BIN field is not in the file: a 20-character BIN still reads whole.
        auto lida = NovaTabela(0x7F);
        QVERIFY(LeTabRot(arq, *lida));
        QCOMPARE(int(lida->Qtd), 1);
        const TCartao &c = lida->Cartoes[0];
        QCOMPARE(CopiaCampoParaTexto(c.Nome, TamNome), nome);
        QCOMPARE(int(c.CodRede), rede);
        QCOMPARE(int(c.Tipo), tipo);
        QCOMPARE(int(c.QtdBins), bins.size());
        for (int j = 0; j < bins.size(); ++j)
            QCOMPARE(CopiaCampoParaTexto(c.Bins[j], TamBin), bins[j]);
        QVERIFY(QFile::remove(arq));
    }

    // The name goes to the file as its 31 bytes stand in memory, leftovers after the NUL too.
    void nomeGravadoComoEstaNaMemoria() {
        auto t = NovaTabela();
        PoeCartao(*t, "LONGONOMEANTIGO", 1, TipoCredito, {});
        CopiaTextoParaCampo("AB", t->Cartoes[0].Nome);
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(GravaTabRot(arq, *t));
        QCOMPARE(Le(arq).mid(4, 31), Campo(QByteArray("AB\0GONOMEANTIGO", 15), 31));
        QVERIFY(QFile::remove(arq));
    }

    // Counts beyond the table in memory never reach the file.
    void contagensAcimaDoLimiteNaMemoria() {
        auto t = NovaTabela();
        PoeCartao(*t, "X", 1, TipoCredito, {"1"});
        t->Cartoes[0].QtdBins = 25;
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(GravaTabRot(arq, *t));
        QCOMPARE(Le(arq).size(), 4 + 36 + 20 * 20);
        auto lida = NovaTabela();
        QVERIFY(LeTabRot(arq, *lida));
        QCOMPARE(int(lida->Cartoes[0].QtdBins), 20);
        QVERIFY(QFile::remove(arq));
    }

    void primeiraPalavraIgnorada() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QByteArray b = BytesExemplo();
        b[0] = 7;
        Escreve(arq, b);
        auto comSete = NovaTabela(0x11);
        QVERIFY(LeTabRot(arq, *comSete));
        Escreve(arq, BytesExemplo());
        auto comUm = NovaTabela(0x11);
        QVERIFY(LeTabRot(arq, *comUm));
        QVERIFY(std::memcmp(comSete.get(), comUm.get(), sizeof(TTabRot)) == 0);
        QVERIFY(QFile::remove(arq));
    }

    // The reader keeps what it does not load: entries above Qtd and the 21st BIN byte.
    void leituraNaoLimpaATabela() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(GravaTabRot(arq, *TresEntradas()));
        auto t = NovaTabela(0x5A);
        QVERIFY(LeTabRot(arq, *t));
        QCOMPARE(int(t->Qtd), 3);
        const auto *resto = reinterpret_cast<const unsigned char *>(&t->Cartoes[3]);
        const size_t tamResto = sizeof(TCartao) * (MaxCartoes - 3);
        QVERIFY(std::all_of(resto, resto + tamResto, [](unsigned char c) { return c == 0x5A; }));
        for (int i = 0; i < 3; ++i) {
            const TCartao &c = t->Cartoes[i];
            for (int j = 0; j < MaxBins; ++j) {
                if (j < c.QtdBins) {
                    QCOMPARE(c.Bins[j][20], char(0x5A));
                } else {
                    QVERIFY(std::all_of(c.Bins[j], c.Bins[j] + TamBin,
                                        [](char b) { return b == char(0x5A); }));
                }
            }
        }
        QCOMPARE(CopiaCampoParaTexto(t->Cartoes[2].Bins[0], TamBin), QByteArray("606282"));
        QVERIFY(QFile::remove(arq));
    }

    // The trace entries of a load, in order, each followed by its separator line.
    void entradasDoTrace_data() {
        QTest::addColumn<QString>("nome");        // under config/
        QTest::addColumn<QByteArray>("conteudo"); // null: no file
        QTest::addColumn<bool>("resultado");
        QTest::addColumn<QList<QByteArray>>("entradas"); // "@" stands for the path
        QTest::newRow("arquivo ausente")
            << "TabRot.bin" << QByteArray() << false
            << QList<QByteArray>{"Abre e Le o arquivo @", cp1252("Não existe o arquivo @")};
        QTest::newRow("arquivo lido")
            << "TabRot.bin" << BytesExemplo() << true
            << QList<QByteArray>{"Abre e Le o arquivo @", "Abriu o arquivo"};
        QTest::newRow("arquivo de 3 bytes")
            << "TabRot.bin" << QByteArray::fromHex("010000") << false
            << QList<QByteArray>{"Abre e Le o arquivo @", "Abriu o arquivo"};
        QTest::newRow("caminho com acentos")
            << QString::fromUtf8("Empresas/AÇÃO/TabRot.bin") << QByteArray() << false
            << QList<QByteArray>{"Abre e Le o arquivo @", cp1252("Não existe o arquivo @")};
        QTest::newRow("texto longo cortado em 255")
            << QString(150, QLatin1Char('c')) << QByteArray() << false
            << QList<QByteArray>{"Abre e Le o arquivo @", cp1252("Não existe o arquivo @")};
    }
    void entradasDoTrace() {
        QFETCH(QString, nome);
        QFETCH(QByteArray, conteudo);
        QFETCH(bool, resultado);
        QFETCH(QList<QByteArray>, entradas);
        const QString arq = m_config + QLatin1Char('/') + nome;
        if (!conteudo.isNull()) Escreve(arq, conteudo);
        auto t = NovaTabela(0x33);
        auto antes = NovaTabela(0x33);
        QCOMPARE(LeTabRot(arq, *t), resultado);
        if (!resultado) QVERIFY(std::memcmp(t.get(), antes.get(), sizeof(TTabRot)) == 0);
        QByteArray esperado;
        for (QByteArray e : entradas) {
            e.replace('@', ParaCp1252(arq));
            esperado += e.left(255) + "\r\n-------\r\n";
        }
        QCOMPARE(Le(Trace()), esperado);
        QFile::remove(arq);
    }

    // A trace that cannot be written ends the load before the table changes.
    void traceImpossivelNaoTocaATabela() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        Escreve(Trace(), "");
        QVERIFY(::chmod(QFile::encodeName(Trace()).constData(), 0444) == 0);
        auto t = NovaTabela(0x66);
        auto antes = NovaTabela(0x66);
        bool lancou = false;
        try {
            LeTabRot(arq, *t);
        } catch (const ErroES &) {
            lancou = true;
        }
        QFile::remove(Trace());
        QVERIFY(lancou);
        QVERIFY(std::memcmp(t.get(), antes.get(), sizeof(TTabRot)) == 0);
        QVERIFY(QFile::remove(arq));
    }

    // Opened read-only: a table the operator may not write still loads.
    void leArquivoSomenteLeitura() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        QVERIFY(::chmod(QFile::encodeName(arq).constData(), 0444) == 0);
        auto t = NovaTabela();
        QVERIFY(LeTabRot(arq, *t));
        QCOMPARE(CopiaCampoParaTexto(t->Cartoes[0].Nome, TamNome), QByteArray("ALFA"));
        QVERIFY(QFile::remove(arq));
    }

    void leDiretorioFalha() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        QVERIFY(QDir().mkdir(arq));
        auto t = NovaTabela(0x44);
        auto antes = NovaTabela(0x44);
        QVERIFY(!LeTabRot(arq, *t));
        QVERIFY(std::memcmp(t.get(), antes.get(), sizeof(TTabRot)) == 0);
        QVERIFY(QDir().rmdir(arq));
    }

    // Damaged files: false, and the caller's table exactly as it was.
    void arquivoDanificado_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray valido = BytesDaTabRot(*TresEntradas());
        QCOMPARE(valido.size(), 4 + 36 * 3 + 20 * 4);
        for (int n = 0; n < valido.size(); ++n)
            QTest::addRow("cortado em %d", n) << valido.left(n);
        auto comQtd = [&](std::uint16_t qtd) {
            QByteArray b = valido;
            b[2] = char(qtd & 0xFF);
            b[3] = char(qtd >> 8);
            return b;
        };
        QTest::newRow("Qtd 351") << comQtd(351) + QByteArray(351 * 456, '\0');
        QTest::newRow("Qtd 65535") << comQtd(65535);
        QTest::newRow("Qtd 4 com 3 entradas") << comQtd(4);
        auto comBins = [&](std::uint16_t bins) {
            QByteArray b = valido;
            b[4 + 34] = char(bins & 0xFF);
            b[4 + 35] = char(bins >> 8);
            return b + QByteArray(bins * 20, '1');
        };
        QTest::newRow("21 BINs") << comBins(21);
        QTest::newRow("255 BINs") << comBins(255);
        QTest::newRow("BINs com byte alto") << comBins(0x0103);
        QTest::newRow("vazio") << QByteArray("vazio\r\n");
        QRandomGenerator gerador(20240611);
        for (int k = 0; k < 40; ++k) {
            QByteArray b(int(gerador.bounded(2000)) + 4, '\0');
            for (char &c : b)
                c = char(gerador.bounded(256));
            // A count the table can hold, so the entry blocks themselves are checked.
            const std::uint16_t qtd = std::uint16_t(gerador.bounded(1, 351));
            b[2] = char(qtd & 0xFF);
            b[3] = char(qtd >> 8);
            QTest::addRow("aleatorio %d", k) << b;
        }
    }
    void arquivoDanificado() {
        QFETCH(QByteArray, bytes);
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, bytes);
        auto t = NovaTabela();
        QRandomGenerator g(7);
        g.fillRange(reinterpret_cast<quint32 *>(t.get()), sizeof(TTabRot) / 4);
        auto copia = std::make_unique<TTabRot>(*t);
        QVERIFY(!LeTabRot(arq, *t));
        QVERIFY(std::memcmp(t.get(), copia.get(), sizeof(TTabRot)) == 0);
    }

    // The company directory is the one level created on a save.
    void criaDiretorioDaEmpresa() {
        QVERIFY(QDir().mkpath(Caminhos::DiretorioEmpresas(m_raiz)));
        const QString arq = Caminhos::TabRotEmpresa(m_raiz, "EMPRESA1");
        QVERIFY(!QFileInfo::exists(QFileInfo(arq).path()));
        QVERIFY(GravaTabRot(arq, *TresEntradas()));
        QCOMPARE(Le(arq), BytesDaTabRot(*TresEntradas()));
        QCOMPARE(Conteudo(QFileInfo(arq).path()), (QStringList{"TabRot.bin", "TabRot.bin.lck"}));
        QVERIFY(QDir(Caminhos::DiretorioEmpresas(m_raiz)).removeRecursively());
    }

    // Where the file cannot be created, whoever runs the tool: the caller gets the I/O error.
    void criacaoImpossivel_data() {
        QTest::addColumn<QString>("caso");
        QTest::newRow("Empresas ausente") << "sem Empresas";
        QTest::newRow("diretorio e um arquivo") << "arquivo";
        QTest::newRow("diretorio sumiu") << "sumiu";
    }
    void criacaoImpossivel() {
        QFETCH(QString, caso);
        const QString empresas = Caminhos::DiretorioEmpresas(m_raiz);
        const QString arq = Caminhos::TabRotEmpresa(m_raiz, "EMPRESA1");
        const QString dirEmpresa = QFileInfo(arq).path();
        if (caso == "arquivo") {
            QVERIFY(QDir().mkpath(empresas));
            Escreve(dirEmpresa, "nao sou um diretorio");
        } else if (caso == "sumiu") {
            QVERIFY(QDir().mkpath(dirEmpresa));
            QVERIFY(GravaTabRot(arq, *TresEntradas()));
            QVERIFY(QDir(empresas).removeRecursively());
        }
        bool lancou = false;
        try {
            GravaTabRot(arq, *TresEntradas());
        } catch (const ErroES &e) {
            lancou = !e.texto().isEmpty();
        }
        QVERIFY(lancou);
        if (caso == "arquivo") {
            QCOMPARE(Le(dirEmpresa), QByteArray("nao sou um diretorio"));
            QCOMPARE(Conteudo(empresas), QStringList{QStringLiteral("EMPRESA1")});
        } else {
            QVERIFY(!QFileInfo::exists(empresas));
        }
        QVERIFY(QDir(empresas).removeRecursively());
    }

    // No write permission bit: refused even for root, and the file stays as it was.
    void arquivoSomenteLeitura_data() {
        QTest::addColumn<int>("modo");
        QTest::newRow("0444") << 0444;
        QTest::newRow("0400") << 0400;
        QTest::newRow("0000") << 0000;
    }
    void arquivoSomenteLeitura() {
        QFETCH(int, modo);
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        QVERIFY(::chmod(QFile::encodeName(arq).constData(), mode_t(modo)) == 0);
        QVERIFY(!GravaTabRot(arq, *TresEntradas()));
        QCOMPARE(Le(arq), BytesExemplo());
        QCOMPARE(int(Modo(arq)), modo);
        QVERIFY(!Conteudo(m_config).contains(QStringLiteral("TabRot.bin.")));
        QCOMPARE(Conteudo(m_config).filter(QStringLiteral("TabRot")),
                 (QStringList{"TabRot.bin", "TabRot.bin.lck"}));
        QVERIFY(QFile::remove(arq));
    }

    void mantemPermissoes_data() {
        QTest::addColumn<int>("modo");
        QTest::newRow("0640") << 0640;
        QTest::newRow("0600") << 0600;
        QTest::newRow("0664") << 0664;
        QTest::newRow("0200") << 0200;
    }
    void mantemPermissoes() {
        QFETCH(int, modo);
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        QVERIFY(::chmod(QFile::encodeName(arq).constData(), mode_t(modo)) == 0);
        QVERIFY(GravaTabRot(arq, *TresEntradas()));
        QCOMPARE(int(Modo(arq)), modo);
        ::chmod(QFile::encodeName(arq).constData(), 0644);
        QCOMPARE(Le(arq), BytesDaTabRot(*TresEntradas()));
        QVERIFY(QFile::remove(arq));
    }

    // A service account reading the table through an ACL keeps reading it; other extended
    // attributes stay too.
    void mantemAtributos() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        const QByteArray nome = QFile::encodeName(arq);
        if (::setxattr(nome.constData(), "user.configurador", "origem", 6, 0) != 0)
            QSKIP("o sistema de arquivos não guarda atributos estendidos");
        const QString setfacl = QStandardPaths::findExecutable(QStringLiteral("setfacl"));
        QVERIFY2(!setfacl.isEmpty(), "setfacl (pacote acl) não está instalado");
        QCOMPARE(
            QProcess::execute(setfacl, {QStringLiteral("-m"), QStringLiteral("u:65534:r"), arq}),
            0);
        auto atributo = [&](const char *n) {
            QByteArray v(256, '\0');
            const ssize_t t = ::getxattr(nome.constData(), n, v.data(), size_t(v.size()));
            return t < 0 ? QByteArray() : v.left(t);
        };
        const QByteArray acl = atributo("system.posix_acl_access");
        QVERIFY(!acl.isEmpty());
        QVERIFY(GravaTabRot(arq, *TresEntradas()));
        QCOMPARE(Le(arq), BytesDaTabRot(*TresEntradas()));
        QCOMPARE(atributo("user.configurador"), QByteArray("origem"));
        QCOMPARE(atributo("system.posix_acl_access"), acl);
        QVERIFY(QFile::remove(arq));
    }

    void arquivoNovoSegueUmask() {
        const mode_t antes = ::umask(027);
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        const bool ok = GravaTabRot(arq, *TresEntradas());
        ::umask(antes);
        QVERIFY(ok);
        QCOMPARE(int(Modo(arq)), 0640);
        QVERIFY(QFile::remove(arq));
    }

    // The file is replaced, never rewritten in place: a reader holding the old file keeps it.
    void substituicaoNaoReescreveNoLugar() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        const int fd = ::open(QFile::encodeName(arq).constData(), O_RDONLY);
        QVERIFY(fd >= 0);
        const bool ok = GravaTabRot(arq, *TresEntradas());
        char buf[200];
        const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
        ::close(fd);
        QVERIFY(ok);
        QCOMPARE(QByteArray(buf, int(n)), BytesExemplo());
        QCOMPARE(Le(arq), BytesDaTabRot(*TresEntradas()));
        QCOMPARE(Conteudo(m_config).filter(QStringLiteral("TabRot")),
                 (QStringList{"TabRot.bin", "TabRot.bin.lck"}));
        QVERIFY(QFile::remove(arq));
    }

    // A write that fails half-way (file size limit, which binds root too) leaves the old file.
    void erroDeEscrita() {
        const QString arq = m_config + QStringLiteral("/TabRot.bin");
        Escreve(arq, BytesExemplo());
        auto cheia = NovaTabela();
        for (int i = 0; i < MaxCartoes; ++i) {
            QList<QByteArray> bins;
            for (int j = 0; j < MaxBins; ++j)
                bins << QByteArray::number(400000 + i * 20 + j);
            PoeCartao(*cheia, "CARTAO " + QByteArray::number(i), std::uint16_t(i), TipoCredito,
                      bins);
        }
        QCOMPARE(BytesDaTabRot(*cheia).size(), 152604);

        struct rlimit antes;
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &antes) == 0);
        const auto sinalAntes = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limite = antes;
        limite.rlim_cur = 64 * 1024;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limite) == 0);
        const bool ok = GravaTabRot(arq, *cheia);
        ::setrlimit(RLIMIT_FSIZE, &antes);
        std::signal(SIGXFSZ, sinalAntes);

        QVERIFY(!ok);
        QCOMPARE(Le(arq), BytesExemplo());
        QCOMPARE(Conteudo(m_config).filter(QStringLiteral("TabRot")),
                 (QStringList{"TabRot.bin", "TabRot.bin.lck"}));
        QVERIFY(GravaTabRot(arq, *cheia));
        QCOMPARE(Le(arq), BytesDaTabRot(*cheia));
        QVERIFY(QFile::remove(arq));
    }
};

QTEST_GUILESS_MAIN(TstTabRot)
#include "tst_tabrot.moc"
