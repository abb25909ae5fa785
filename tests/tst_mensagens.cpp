// The message table: the catalogue built into the program, translation by key, and the two
// functions that modules loaded into the process find by name.

#include "app/exportadas.h"
#include "env/mensagens.h"
#include "env/texto.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <cstring>

namespace {

void Escreve(const QString &caminho, const QByteArray &bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(caminho).absolutePath()));
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

using SondaLe = int (*)(char *, int32_t);
using SondaCarrega = int (*)();

} // namespace

class TstMensagens : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_config;
    QLibrary m_sonda{QStringLiteral(SONDA_MENSAGENS)};
    SondaLe m_le = nullptr;
    SondaCarrega m_carrega = nullptr;

    // TabTraducao.ini names the translation file the way a Windows site writes it.
    void Traducao(const QByteArray &conteudo) {
        Escreve(m_config + QStringLiteral("/TabTraducao.ini"),
                "[CfVardo]\r\nNomeArqTraducao=C:\\traducao\\pt.ini\r\n");
        Escreve(m_tmp.path() + QStringLiteral("/traducao/pt.ini"), conteudo);
    }

    QByteArray PelaSonda(int32_t numero) {
        char texto[TAM_BUFFER_MENSAGEM + 16];
        std::memset(texto, '\xff', sizeof texto);
        if (!m_le(texto, numero)) return "<LeMensagens not found>";
        for (size_t i = TAM_BUFFER_MENSAGEM; i < sizeof texto; ++i)
            if (texto[i] != '\xff') return "<written past the buffer>";
        if (!std::memchr(texto, '\0', TAM_BUFFER_MENSAGEM)) return "<no NUL>";
        return QByteArray(texto);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_tmp.isValid());
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp.path()));
        m_config = m_tmp.path() + QStringLiteral("/Vardo/config");
        QVERIFY2(m_sonda.load(), qPrintable(m_sonda.errorString()));
        m_le = reinterpret_cast<SondaLe>(m_sonda.resolve("SondaLeMensagens"));
        m_carrega = reinterpret_cast<SondaCarrega>(m_sonda.resolve("SondaCarregaMsg"));
        QVERIFY(m_le && m_carrega);
    }

    void init() {
        QDir(m_tmp.path() + QStringLiteral("/Vardo")).removeRecursively();
        QDir(m_tmp.path() + QStringLiteral("/traducao")).removeRecursively();
        QVERIFY(QDir().mkpath(m_config));
    }

    // Must run first: the process table has seen no CarregaMsg yet.
    void antesDeCarregar() {
        QCOMPARE(PelaSonda(8), cp1252("ATENÇÃO"));
        QCOMPARE(Mensagens::Le(8), cp1252("ATENÇÃO"));
    }

    void linhasConhecidas_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QByteArray>("chave");
        QTest::addColumn<QByteArray>("texto");
        const auto linha = [](int n, const char *chave, const char *texto) {
            QTest::addRow("%d", n) << n << QByteArray(chave) << cp1252(texto);
        };
        linha(3, "TituloMenu", "Módulos");
        linha(7, "MsgVersao", "Versão ");
        linha(8, "MsgAtencao", "ATENÇÃO");
        linha(9, "MsgErro", "ERRO");
        linha(12, "MsgErroIII", " ERRO   ");
        linha(57, "MsgNumMaxRedeExcedido",
              "Número máximo de Rede e/ou Instituição foi excedido. [REDE:%d] [IF:%d]");
        linha(58, "MsgNaoConfigurada", "Não configurada");
        linha(753, "MsgSalvarTodasEmpImportacao",
              "Deseja Alterar e Salvar as configurações para TODAS as empresas do arquivo de "
              "exportação ? ");
    }

    void linhasConhecidas() {
        QFETCH(int, numero);
        QFETCH(QByteArray, chave);
        QFETCH(QByteArray, texto);
        QCOMPARE(Mensagens::Chave(numero), chave);
        QCOMPARE(Mensagens::Padrao(numero), texto);
        QCOMPARE(Mensagens::Tabela().Texto(numero), texto);
        QCOMPARE(PelaSonda(numero), texto);
    }

    // Keys are looked up in profile files, where case does not count and blanks, "=" and "]"
    // would end them.
    void catalogo() {
        const QRegularExpression identificador(QStringLiteral("^(Titulo|Msg)[A-Za-z0-9]+$"));
        QSet<QString> vistas;
        int quebras = 0;
        for (int n = 1; n <= Mensagens::Quantidade; ++n) {
            const QByteArray chave = Mensagens::Chave(n), texto = Mensagens::Padrao(n);
            QVERIFY2(identificador.match(QString::fromLatin1(chave)).hasMatch(), chave.constData());
            QVERIFY2(chave.size() <= 27, chave.constData());
            QVERIFY2(!vistas.contains(QString::fromLatin1(chave).toLower()), chave.constData());
            vistas.insert(QString::fromLatin1(chave).toLower());
            QVERIFY2(texto.size() <= 200, chave.constData());
            QVERIFY2(!texto.contains('\x1a') && !texto.contains('\t'), chave.constData());
            if (chave.startsWith("MsgReservado")) {
                QCOMPARE(chave, "MsgReservado" + QByteArray::number(n));
                QVERIFY(texto.isEmpty());
            } else {
                QVERIFY2(!texto.isEmpty(), chave.constData());
            }
            quebras += texto.contains('\n');
            QVERIFY2(!texto.contains("\\n") && !texto.contains('\r'), chave.constData());
        }
        QCOMPARE(vistas.size(), Mensagens::Quantidade);
        QCOMPARE(quebras, 7);
        QCOMPARE(Mensagens::Padrao(93), cp1252("Deseja sair do sistema ?\nAs alterações não "
                                               "gravadas serão perdidas."));
    }

    void foraDaTabela_data() {
        QTest::addColumn<int>("numero");
        QTest::newRow("0") << 0;
        QTest::newRow("754") << 754;
        QTest::newRow("-1") << -1;
        QTest::newRow("INT_MIN") << INT_MIN;
        QTest::newRow("INT_MAX") << INT_MAX;
    }

    void foraDaTabela() {
        QFETCH(int, numero);
        QVERIFY(Mensagens::Chave(numero).isEmpty());
        QVERIFY(Mensagens::Tabela().Texto(numero).isEmpty());
        QCOMPARE(PelaSonda(numero), QByteArray());
    }

    void traducao_data() {
        QTest::addColumn<QByteArray>("arquivo");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QByteArray>("esperado");
        const QByteArray erro = "ERRO";
        QTest::newRow("so MsgErro")
            << QByteArray("[TabTraducao]\r\nMsgErro=FALHA\r\n") << 9 << QByteArray("FALHA");
        QTest::newRow("valor vazio") << QByteArray("[TabTraducao]\r\nMsgErro=\r\n") << 9 << erro;
        QTest::newRow("so brancos") << QByteArray("[TabTraducao]\r\nMsgErro=  \t\r\n") << 9 << erro;
        QTest::newRow("caixa da chave")
            << QByteArray("[tabtraducao]\nMSGERRO = FALHA\n") << 9 << QByteArray("FALHA");
        QTest::newRow("outra secao") << QByteArray("[Outra]\r\nMsgErro=FALHA\r\n") << 9 << erro;
        QTest::newRow("comentada")
            << QByteArray("[TabTraducao]\r\n;MsgErro=FALHA\r\n") << 9 << erro;
        QTest::newRow("brancos entre aspas")
            << QByteArray("[TabTraducao]\r\nMsgErroIII=' FALHA   '\r\n") << 12
            << QByteArray(" FALHA   ");
        QTest::newRow("bytes Windows-1252")
            << QByteArray("[TabTraducao]\r\nMsgAtencao=ATEN\xc7\xc3O!\r\n") << 8
            << QByteArray("ATEN\xc7\xc3O!");
        QTest::newRow("300 caracteres cortados")
            << "[TabTraducao]\r\nMsgErro=" + QByteArray(250, 'a') + QByteArray(50, 'b') + "\r\n"
            << 9 << QByteArray(250, 'a') + QByteArray(5, 'b');
        QTest::newRow("reservada preenchida")
            << QByteArray("[TabTraducao]\r\nMsgReservado700=Nova\r\n") << 700 << QByteArray("Nova");
        QTest::newRow("linha sem igual")
            << QByteArray("[TabTraducao]\r\nMsgErro FALHA\r\n") << 9 << erro;
    }

    // The one entry named changes; every other entry keeps its default.
    void traducao() {
        QFETCH(QByteArray, arquivo);
        QFETCH(int, numero);
        QFETCH(QByteArray, esperado);
        Traducao(arquivo);
        Mensagens::Tabela t;
        t.AplicaTraducao(m_tmp.path() + QStringLiteral("/Vardo"));
        QCOMPARE(t.Texto(numero), esperado);
        for (int n = 1; n <= Mensagens::Quantidade; ++n)
            if (n != numero) QCOMPARE(t.Texto(n), Mensagens::Padrao(n));
    }

    void semTraducao_data() {
        QTest::addColumn<QByteArray>("tabTraducao");
        QTest::newRow("sem TabTraducao.ini") << QByteArray();
        QTest::newRow("chave vazia") << QByteArray("[CfVardo]\r\nNomeArqTraducao=\r\n");
        QTest::newRow("sem a chave") << QByteArray("[CfVardo]\r\nOutra=C:\\traducao\\pt.ini\r\n");
        QTest::newRow("arquivo ausente")
            << QByteArray("[CfVardo]\r\nNomeArqTraducao=\\nada.ini\r\n");
        QTest::newRow("diretorio") << QByteArray("[CfVardo]\r\nNomeArqTraducao=\\traducao\r\n");
    }

    void semTraducao() {
        QFETCH(QByteArray, tabTraducao);
        Traducao("[TabTraducao]\r\nMsgErro=FALHA\r\n");
        QFile::remove(m_config + QStringLiteral("/TabTraducao.ini"));
        if (!tabTraducao.isEmpty())
            Escreve(m_config + QStringLiteral("/TabTraducao.ini"), tabTraducao);
        Mensagens::Tabela t;
        t.AplicaTraducao(m_tmp.path() + QStringLiteral("/Vardo"));
        for (int n = 1; n <= Mensagens::Quantidade; ++n)
            QCOMPARE(t.Texto(n), Mensagens::Padrao(n));
    }

    // A second translation goes over the current texts; nothing returns to its default.
    void segundaCarga() {
        Mensagens::Tabela t;
        const QString raiz = m_tmp.path() + QStringLiteral("/Vardo");
        Traducao("[TabTraducao]\r\nMsgErro=FALHA\r\nMsgAviso=Cuidado\r\n");
        t.AplicaTraducao(raiz);
        Traducao("[TabTraducao]\r\nMsgAviso=Alerta\r\n");
        t.AplicaTraducao(raiz);
        QCOMPARE(t.Texto(9), QByteArray("FALHA"));
        QCOMPARE(t.Texto(13), QByteArray("Alerta"));
    }

    // The exported functions as a module finds them, on the process table.
    void exportadasPelaSonda() {
        Traducao("[TabTraducao]\r\nMsgErro=FALHA\r\nMsgAviso=" + QByteArray(300, 'x') + "\r\n");
        QCOMPARE(m_carrega(), 1);
        QCOMPARE(PelaSonda(9), QByteArray("FALHA"));
        QCOMPARE(PelaSonda(13), QByteArray(255, 'x'));
        QCOMPARE(PelaSonda(8), cp1252("ATENÇÃO"));
        QCOMPARE(PelaSonda(754), QByteArray());
        char texto[TAM_BUFFER_MENSAGEM];
        LeMensagens(texto, 9);
        QCOMPARE(QByteArray(texto), QByteArray("FALHA"));
        LeMensagens(nullptr, 9); // nothing to write into, and no crash
    }

    // The program itself, not only this test, exports the two names.
    void programaExporta() {
        QProcess nm;
        nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                        QStringLiteral(PROGRAMA_ROTEAMENTO)});
        if (!nm.waitForStarted()) QSKIP("nm is not installed");
        QVERIFY(nm.waitForFinished(30000));
        QCOMPARE(nm.exitCode(), 0);
        const QString saida = QString::fromLocal8Bit(nm.readAllStandardOutput());
        for (const char *nome : {"LeMensagens", "CarregaMsg"})
            QVERIFY2(
                saida.contains(QRegularExpression(QStringLiteral(" T %1$").arg(QLatin1String(nome)),
                                                  QRegularExpression::MultilineOption)),
                nome);
    }
};

QTEST_GUILESS_MAIN(TstMensagens)
#include "tst_mensagens.moc"
