// Profile (ini) files read and written as the Windows profile functions do.

#include "arquivos_teste.h"
#include "env/erro.h"
#include "env/perfil.h"
#include "env/texto.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using teste::Escreve;
using teste::Le;
using teste::Modo;

class TstPerfil : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;

private slots:
    void lerTexto_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QByteArray>("secao");
        QTest::addColumn<QByteArray>("chave");
        QTest::addColumn<QByteArray>("esperado");
        const QByteArray g = "Geral", a = "A";
        QTest::newRow("simples") << QByteArray("[Geral]\r\nA=1\r\n") << g << a << QByteArray("1");
        QTest::newRow("caixa de secao e chave") << QByteArray("[GERAL]\r\nhabilita=1\r\n") << g
                                                << QByteArray("HABILITA") << QByteArray("1");
        QTest::newRow("brancos em volta") << QByteArray(" [ \tGeral\t ] \r\n \t A \t=  x  y \t\r\n")
                                          << g << a << QByteArray("x  y");
        QTest::newRow("secao termina no primeiro ]")
            << QByteArray("[Geral]lixo]\r\nA=1\r\n") << g << a << QByteArray("1");
        QTest::newRow("secao com ] no meio")
            << QByteArray("[Ge]ral]\r\nA=1\r\n") << QByteArray("Ge") << a << QByteArray("1");
        QTest::newRow("antes da primeira secao")
            << QByteArray("A=1\r\n[Geral]\r\nB=2\r\n") << g << a << QByteArray("padrao");
        QTest::newRow("comentario")
            << QByteArray("[Geral]\r\n;A=1\r\n") << g << a << QByteArray("padrao");
        QTest::newRow("comentario com brancos antes")
            << QByteArray("[Geral]\r\n  \t;A=1\r\nA=2\r\n") << g << a << QByteArray("2");
        QTest::newRow("sem comentario no fim da linha")
            << QByteArray("[Geral]\r\nA=a ;b\r\n") << g << a << QByteArray("a ;b");
        QTest::newRow("linha sem igual")
            << QByteArray("[Geral]\r\nA\r\nA=3\r\n") << g << a << QByteArray("3");
        QTest::newRow("igual no valor")
            << QByteArray("[Geral]\r\nA=b=c\r\n") << g << a << QByteArray("b=c");
        QTest::newRow("primeira de duas secoes")
            << QByteArray("[Geral]\r\nA=1\r\n[geral]\r\nA=2\r\nB=3\r\n") << g << a
            << QByteArray("1");
        QTest::newRow("segunda secao igual nunca lida")
            << QByteArray("[Geral]\r\nA=1\r\n[geral]\r\nB=3\r\n") << g << QByteArray("B")
            << QByteArray("padrao");
        QTest::newRow("primeira de duas chaves")
            << QByteArray("[Geral]\r\nA=1\r\na=2\r\n") << g << a << QByteArray("1");
        QTest::newRow("chave depois da secao seguinte")
            << QByteArray("[Geral]\r\n[Outra]\r\nA=1\r\n") << g << a << QByteArray("padrao");
        QTest::newRow("fins de linha LF")
            << QByteArray("[Geral]\nA=1\nB=2\n") << g << QByteArray("B") << QByteArray("2");
        QTest::newRow("fins de linha CR")
            << QByteArray("[Geral]\rA=1\rB=2") << g << QByteArray("B") << QByteArray("2");
        QTest::newRow("ultima linha sem fim")
            << QByteArray("[Geral]\r\nA=fim") << g << a << QByteArray("fim");
        QTest::newRow("aspas duplas")
            << QByteArray("[Geral]\r\nA=\" x y \"\r\n") << g << a << QByteArray(" x y ");
        QTest::newRow("aspas simples")
            << QByteArray("[Geral]\r\nA='x'\r\n") << g << a << QByteArray("x");
        QTest::newRow("so um par de aspas")
            << QByteArray("[Geral]\r\nA=\"\"x\"\"\r\n") << g << a << QByteArray("\"x\"");
        QTest::newRow("aspas diferentes ficam")
            << QByteArray("[Geral]\r\nA=\"x'\r\n") << g << a << QByteArray("\"x'");
        QTest::newRow("aspa sozinha fica")
            << QByteArray("[Geral]\r\nA=\"\r\n") << g << a << QByteArray("\"");
        QTest::newRow("aspas vazias")
            << QByteArray("[Geral]\r\nA=\"\"\r\n") << g << a << QByteArray("");
        QTest::newRow("valor vazio nao e o padrao")
            << QByteArray("[Geral]\r\nA=\r\n") << g << a << QByteArray("");
        QTest::newRow("valor so de brancos")
            << QByteArray("[Geral]\r\nA=  \t\r\n") << g << a << QByteArray("");
        QTest::newRow("secao ausente")
            << QByteArray("[Outra]\r\nA=1\r\n") << g << a << QByteArray("padrao");
        QTest::newRow("chave ausente")
            << QByteArray("[Geral]\r\nB=1\r\n") << g << a << QByteArray("padrao");
        QTest::newRow("conteudo vazio") << QByteArray() << g << a << QByteArray("padrao");
        QTest::newRow("bytes Windows-1252")
            << cp1252("[Geral]\r\nA=Não ç\r\n") << g << a << cp1252("Não ç");
    }
    void lerTexto() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QByteArray, secao);
        QFETCH(QByteArray, chave);
        QFETCH(QByteArray, esperado);
        QCOMPARE(PerfilTexto(conteudo, secao, chave, "padrao"), esperado);

        const QString arq = m_tmp.filePath(QStringLiteral("leitura.ini"));
        Escreve(arq, conteudo);
        QCOMPARE(LePerfilTexto(arq, secao, chave, "padrao"), esperado);
    }

    void lerInteiro_data() {
        QTest::addColumn<QByteArray>("linha");
        QTest::addColumn<int>("esperado");
        QTest::newRow("decimal") << QByteArray("N=10") << 10;
        QTest::newRow("zero") << QByteArray("N=0") << 0;
        QTest::newRow("negativo") << QByteArray("N=-3") << -3;
        QTest::newRow("hexadecimal") << QByteArray("N=0x1F") << 31;
        QTest::newRow("hexadecimal maiusculo") << QByteArray("N=0X1f") << 31;
        QTest::newRow("brancos") << QByteArray("N =  7 ") << 7;
        QTest::newRow("entre aspas") << QByteArray("N=\"5\"") << 5;
        QTest::newRow("numero seguido de texto") << QByteArray("N=12abc") << 12;
        QTest::newRow("texto") << QByteArray("N=abc") << -99;
        QTest::newRow("vazio") << QByteArray("N=") << -99;
        QTest::newRow("ausente") << QByteArray("M=1") << -99;
    }
    void lerInteiro() {
        QFETCH(QByteArray, linha);
        QFETCH(int, esperado);
        const QByteArray c = "[Geral]\r\n" + linha + "\r\n";
        QCOMPARE(PerfilInteiro(c, "geral", "n", -99), esperado);
        const QString arq = m_tmp.filePath(QStringLiteral("inteiro.ini"));
        Escreve(arq, c);
        QCOMPARE(LePerfilInteiro(arq, "Geral", "N", -99), esperado);
    }

    void arquivoAusenteDaOPadrao() {
        const QString arq = m_tmp.filePath(QStringLiteral("nao/existe.ini"));
        QCOMPARE(LePerfilTexto(arq, "Geral", "A", "padrao"), QByteArray("padrao"));
        QCOMPARE(LePerfilInteiro(arq, "Geral", "A", 42), 42);
    }

    // The initial file (null: none), the key written and the exact bytes after the write.
    void gravar_data() {
        QTest::addColumn<QByteArray>("antes");
        QTest::addColumn<QByteArray>("secao");
        QTest::addColumn<QByteArray>("chave");
        QTest::addColumn<QByteArray>("valor");
        QTest::addColumn<QByteArray>("depois");
        const QByteArray g = "Geral";
        QTest::newRow("troca no lugar")
            << cp1252("; cabeçalho\r\n[Geral]\r\nA=1\r\n  b = 2 \r\n[X]\r\nB=9\r\n") << g
            << QByteArray("B") << QByteArray("5")
            << cp1252("; cabeçalho\r\n[Geral]\r\nA=1\r\n  b = 5 \r\n[X]\r\nB=9\r\n");
        QTest::newRow("troca valor entre aspas")
            << QByteArray("[Geral]\r\nA=\"x y\"\r\n") << g << QByteArray("A") << QByteArray("z")
            << QByteArray("[Geral]\r\nA=z\r\n");
        QTest::newRow("troca valor vazio")
            << QByteArray("[Geral]\r\nA=\r\nB=1\r\n") << g << QByteArray("A") << QByteArray("7")
            << QByteArray("[Geral]\r\nA=7\r\nB=1\r\n");
        QTest::newRow("troca para vazio")
            << QByteArray("[Geral]\r\nA=7\r\n") << g << QByteArray("A") << QByteArray("")
            << QByteArray("[Geral]\r\nA=\r\n");
        QTest::newRow("troca mantem fins LF")
            << QByteArray("[Geral]\nA=1\nB=2\n") << g << QByteArray("A") << QByteArray("7")
            << QByteArray("[Geral]\nA=7\nB=2\n");
        QTest::newRow("troca na primeira de duas secoes")
            << QByteArray("[Geral]\r\nA=1\r\n[GERAL]\r\nA=2\r\n") << g << QByteArray("A")
            << QByteArray("3") << QByteArray("[Geral]\r\nA=3\r\n[GERAL]\r\nA=2\r\n");
        QTest::newRow("depois da ultima chave da secao")
            << QByteArray("[Geral]\r\nA=1\r\n\r\n;nota\r\n[X]\r\nZ=0\r\n") << g << QByteArray("B")
            << QByteArray("2")
            << QByteArray("[Geral]\r\nA=1\r\nB=2\r\n\r\n;nota\r\n[X]\r\nZ=0\r\n");
        QTest::newRow("secao sem chaves")
            << QByteArray("[Geral]\r\n[X]\r\nZ=0\r\n") << g << QByteArray("B") << QByteArray("2")
            << QByteArray("[Geral]\r\nB=2\r\n[X]\r\nZ=0\r\n");
        QTest::newRow("ultima chave sem fim de linha")
            << QByteArray("[Geral]\r\nA=1") << g << QByteArray("B") << QByteArray("2")
            << QByteArray("[Geral]\r\nA=1\r\nB=2\r\n");
        QTest::newRow("linha nova em CRLF num arquivo LF")
            << QByteArray("[Geral]\nA=1\n") << g << QByteArray("B") << QByteArray("2")
            << QByteArray("[Geral]\nA=1\nB=2\r\n");
        QTest::newRow("secao nova no fim")
            << QByteArray("[X]\r\nZ=0\r\n") << g << QByteArray("B") << QByteArray("2")
            << QByteArray("[X]\r\nZ=0\r\n[Geral]\r\nB=2\r\n");
        QTest::newRow("secao nova, ultima linha sem fim")
            << QByteArray("[X]\r\nZ=0") << g << QByteArray("B") << QByteArray("2")
            << QByteArray("[X]\r\nZ=0\r\n[Geral]\r\nB=2\r\n");
        QTest::newRow("arquivo vazio") << QByteArray("") << g << QByteArray("B") << QByteArray("2")
                                       << QByteArray("[Geral]\r\nB=2\r\n");
        QTest::newRow("arquivo novo")
            << QByteArray() << g << QByteArray("HabilitaBinsPorEmpresa") << QByteArray("1")
            << QByteArray("[Geral]\r\nHabilitaBinsPorEmpresa=1\r\n");
        QTest::newRow("valor em Windows-1252")
            << QByteArray("[Geral]\r\nA=1\r\n") << g << QByteArray("A") << cp1252("São")
            << cp1252("[Geral]\r\nA=São\r\n");
    }
    void gravar() {
        QFETCH(QByteArray, antes);
        QFETCH(QByteArray, secao);
        QFETCH(QByteArray, chave);
        QFETCH(QByteArray, valor);
        QFETCH(QByteArray, depois);
        QCOMPARE(PerfilComChave(antes, secao, chave, valor), depois);

        QTemporaryDir dir;
        const QString arq = dir.filePath(QStringLiteral("VARDOCFG.INI"));
        if (!antes.isNull()) Escreve(arq, antes);
        GravaPerfilTexto(arq, secao, chave, valor);
        QCOMPARE(Le(arq), depois);
        QCOMPARE(PerfilTexto(depois, secao, chave, "padrao"), valor);
        // Replaced atomically: nothing but the file is left in the directory.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("VARDOCFG.INI")});
    }

    void gravarMantemPermissoes() {
        QTemporaryDir dir;
        const QString arq = dir.filePath(QStringLiteral("VARDOCFG.INI"));
        Escreve(arq, "[Geral]\r\nA=0\r\n");
        QVERIFY(::chmod(QFile::encodeName(arq).constData(), 0640) == 0);
        GravaPerfilTexto(arq, "Geral", "A", "1");
        QCOMPARE(Le(arq), QByteArray("[Geral]\r\nA=1\r\n"));
        QCOMPARE(Modo(arq), mode_t(0640));
    }

    // Read-only file (also for root) and a missing directory: the caller sees the error.
    void gravarFalha_data() {
        QTest::addColumn<bool>("somenteLeitura");
        QTest::newRow("arquivo somente leitura") << true;
        QTest::newRow("diretorio inexistente") << false;
    }
    void gravarFalha() {
        QFETCH(bool, somenteLeitura);
        QTemporaryDir dir;
        const QByteArray original = "[Geral]\r\nA=0\r\n";
        QString arq;
        if (somenteLeitura) {
            arq = dir.filePath(QStringLiteral("VARDOCFG.INI"));
            Escreve(arq, original);
            QVERIFY(::chmod(QFile::encodeName(arq).constData(), 0444) == 0);
        } else {
            arq = dir.filePath(QStringLiteral("config/VARDOCFG.INI"));
        }
        QString texto;
        try {
            GravaPerfilTexto(arq, "Geral", "A", "1");
        } catch (const ErroES &e) {
            texto = e.texto();
        }
        QCOMPARE(texto, QStringLiteral("Unable to write to ") + arq);
        if (somenteLeitura) {
            QCOMPARE(Le(arq), original);
            QCOMPARE(Modo(arq), mode_t(0444));
            QCOMPARE(
                QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                QStringList{QStringLiteral("VARDOCFG.INI")});
        } else {
            QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("config"))));
        }
    }
};

QTEST_GUILESS_MAIN(TstPerfil)
#include "tst_perfil.moc"
