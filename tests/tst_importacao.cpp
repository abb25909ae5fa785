// Import: file lines, fields, record validation, the run with its status file, and what each
// record does to the TabRot.bin it names.

#include "batch/importacao.h"
#include "env/erro.h"
#include "env/trava.h"
#include "instalacao_lote.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

using lote::Cartao;
using lote::W;
using Linhas = QList<QByteArray>;

namespace {
const QByteArray OK = "  - Registro OK";
const QByteArray INSERIDO = "  - Registro inserido com sucesso";
const QByteArray JA_EXISTE = W("  - O registro já existe");
const QByteArray EXCLUIDO = "  - Registro excluido com sucesso";
const QByteArray NAO_ENCONTRADO = W("  - O registro não foi encontrado");
const QByteArray CRIADO = "  - Arquivo TabRot.bin foi criado";
const QByteArray NAO_EXISTE = W("  - Arquivo TabRot.bin não existe");
const QByteArray INVALIDO = W("  - Registro com Dados Inválido");
const QByteArray E_EMPRESA = W("  - Erro <Empresa Inválida>");
const QByteArray E_NOME = W("  - Erro <Tam Nome Banco Inválido>");
const QByteArray E_BINS = W("  - Erro <Tam Bins Inválido>");
const QByteArray E_REDE = "  - Erro <Tam Rede>";
const QByteArray E_TIPO = W("  - Erro <Tipo Inválido>");
const QByteArray E_FUNCAO = W("  - Erro <Função Inválida>");
const QByteArray E_CODIGO = W("  - Erro <Código de Rede Inválido>");
const QByteArray E_LEITURA = "  - Erro na leitura do arquivo TabRot.bin";
const QByteArray E_GRAVACAO = W("  - Erro na gravação do arquivo TabRot.bin");
const QByteArray E_CHEIA = "  - Erro <Tabela TabRot.bin cheia>";

const Cartao ALFA{"ALFA", 5, 1, {"411111"}};
const Cartao BETA{"BETA", 6, 2, {"422222", "400000-400099"}};
const Cartao GAMA{"GAMA", 7, 3, {"433333"}};
} // namespace

class TstImportacao : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    lote::Instalacao m_inst;
    std::unique_ptr<TTabRot> m_tabela = std::make_unique<TTabRot>();

    QString Arquivo() const { return m_tmp->path() + QStringLiteral("/lote/imp.txt"); }
    QString Status() const {
        return m_tmp->path() + QStringLiteral("/lote/StatusArqImportado.txt");
    }

    // Runs the import of these bytes and gives the status file's lines.
    Linhas Importa(const QByteArray &conteudo) {
        if (!lote::Escreve(Arquivo(), conteudo)) return {"<import file not written>"};
        ExecutaImportacao(Arquivo(), *m_tabela);
        return lote::Linhas(lote::Le(Status()));
    }

private slots:
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp->path()));
        m_inst.unidade = m_tmp->path();
        QVERIFY(m_inst.cria());
        QVERIFY(QDir().mkpath(m_tmp->path() + "/lote"));
        LimpaTabRot(*m_tabela);
    }

    void linhas_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<Linhas>("linhas");
        QTest::newRow("vazio") << QByteArray() << Linhas{};
        QTest::newRow("CRLF") << QByteArray("a\r\nb\r\n") << Linhas{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb\n") << Linhas{"a", "b"};
        QTest::newRow("sem fim de linha no fim") << QByteArray("a\nb") << Linhas{"a", "b"};
        QTest::newRow("CR sozinho some") << QByteArray("a\rb\r\nc\r") << Linhas{"ab", "c"};
        QTest::newRow("linha vazia no meio") << QByteArray("a\n\nb\n") << Linhas{"a", "", "b"};
        QTest::newRow("só um fim de linha") << QByteArray("\r\n") << Linhas{""};
        QTest::newRow("Ctrl-Z encerra") << QByteArray("a\nb\x1A\nc\n") << Linhas{"a", "b"};
        QTest::newRow("Ctrl-Z após o fim de linha") << QByteArray("a\r\n\x1A") << Linhas{"a"};
        QTest::newRow("linha longa inteira")
            << QByteArray(300, 'x') + "\nb" << Linhas{QByteArray(300, 'x'), "b"};
    }
    void linhas() {
        QFETCH(QByteArray, conteudo);
        QFETCH(Linhas, linhas);
        QCOMPARE(LinhasImportacao(conteudo), linhas);
    }

    void campos_data() {
        QTest::addColumn<QByteArray>("linha");
        QTest::addColumn<char>("separador");
        QTest::addColumn<Linhas>("campos");
        QTest::newRow("vazia") << QByteArray() << ';' << Linhas{};
        QTest::newRow("simples") << QByteArray("a;b") << ';' << Linhas{"a", "b"};
        QTest::newRow("nada aparado") << QByteArray(" a ;\tb") << ';' << Linhas{" a ", "\tb"};
        QTest::newRow("vazios") << QByteArray(";;") << ';' << Linhas{"", "", ""};
        QTest::newRow("separador no fim") << QByteArray("a;") << ';' << Linhas{"a", ""};
        QTest::newRow("aspas com separador")
            << QByteArray("\"a;b\";c") << ';' << Linhas{"a;b", "c"};
        QTest::newRow("aspas dobradas") << QByteArray("\"a\"\"b\";c") << ';' << Linhas{"a\"b", "c"};
        QTest::newRow("aspas vazias") << QByteArray("\"\";c") << ';' << Linhas{"", "c"};
        QTest::newRow("aspas no meio valem como texto")
            << QByteArray("a\"b;c") << ';' << Linhas{"a\"b", "c"};
        QTest::newRow("aspas sem fecho") << QByteArray("\"a;b") << ';' << Linhas{"a;b"};
        QTest::newRow("vírgula") << QByteArray("411111,400000-400099") << ','
                                 << Linhas{"411111", "400000-400099"};
        QTest::newRow("vírgula com aspas") << QByteArray("\"4,1\",") << ',' << Linhas{"4,1", ""};
    }
    void campos() {
        QFETCH(QByteArray, linha);
        QFETCH(char, separador);
        QFETCH(Linhas, campos);
        QCOMPARE(CortaCampos(linha, separador), campos);
    }

    void validacao_data() {
        QTest::addColumn<QByteArray>("linha");
        QTest::addColumn<QByteArray>("veredito");
        const QByteArray bins20 = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20";
        QTest::newRow("ok") << QByteArray("12345678;ALFA;411111;5;C;I") << OK;
        QTest::newRow("todas em minúsculas") << QByteArray("todas;ALFA;411111;5;c;e") << OK;
        QTest::newRow("sétimo campo ignorado") << QByteArray("12345678;ALFA;411111;5;C;I;x") << OK;
        QTest::newRow("nome entre aspas") << QByteArray("TODAS;\"ALFA;BETA\";411111;5;C;I") << OK;
        QTest::newRow("limites") << "TODAS;" + QByteArray(30, 'N') + ";" + bins20 + ";999;F;E"
                                 << OK;
        QTest::newRow("bin de 20") << "TODAS;A;" + QByteArray(20, '4') + ";1;C;I" << OK;
        QTest::newRow("rede ABC passa") << QByteArray("TODAS;A;1;ABC;C;I") << OK;
        QTest::newRow("empresa de 7")
            << QByteArray("1234567;ALFA;411111;5;C;I") << E_EMPRESA + INVALIDO;
        QTest::newRow("empresa caminho")
            << QByteArray("../../..;ALFA;411111;5;C;I") << E_EMPRESA + INVALIDO;
        QTest::newRow("empresa com espaço")
            << QByteArray("1234 678;ALFA;411111;5;C;I") << E_EMPRESA + INVALIDO;
        QTest::newRow("empresa acentuada")
            << W("1234567É;ALFA;411111;5;C;I") << E_EMPRESA + INVALIDO;
        QTest::newRow("seis vazios")
            << QByteArray(";;;;;")
            << E_EMPRESA + E_NOME + E_BINS + E_REDE + E_TIPO + E_FUNCAO + INVALIDO;
        QTest::newRow("linha vazia")
            << QByteArray() << E_EMPRESA + E_NOME + E_BINS + E_REDE + E_TIPO + E_FUNCAO + INVALIDO;
        QTest::newRow("três campos")
            << QByteArray("TODAS;ALFA;411111") << E_REDE + E_TIPO + E_FUNCAO + INVALIDO;
        QTest::newRow("empresa e tipo")
            << QByteArray("X;ALFA;411111;5;Q;I") << E_EMPRESA + E_TIPO + INVALIDO;
        QTest::newRow("rede de 4") << QByteArray("TODAS;A;1;1234;C;I") << E_REDE + INVALIDO;
        QTest::newRow("tipo com espaço") << QByteArray("TODAS;A;1;5; C;I") << E_TIPO + INVALIDO;
        QTest::newRow("linha exportada")
            << QByteArray("12345678;ALFA;411111;5;C;") << E_FUNCAO + INVALIDO;
        QTest::newRow("nome de 31")
            << "TODAS;" + QByteArray(31, 'N') + ";1;5;C;I" << E_NOME + INVALIDO;
        QTest::newRow("21 bins") << "TODAS;A;" + bins20 + ",21;5;C;I" << E_BINS + INVALIDO;
        QTest::newRow("bin de 21")
            << "TODAS;A;" + QByteArray(21, '4') + ";1;C;I" << E_BINS + INVALIDO;
        // A NUL would cut the stored text; a list of empty items has no BIN.
        QTest::newRow("nome com NUL")
            << QByteArray("TODAS;AB\0CD;1;5;C;I", 19) << E_NOME + INVALIDO;
        QTest::newRow("bins com NUL") << QByteArray("TODAS;AB;41\0"
                                                    "111;5;C;I",
                                                    21)
                                      << E_BINS + INVALIDO;
        QTest::newRow("só vírgulas") << QByteArray("TODAS;AB;,,;5;C;I") << E_BINS + INVALIDO;
        QTest::newRow("21 itens, um vazio") << "TODAS;A;" + bins20 + ",;5;C;I" << OK;
    }

    // Empty items of a BIN list are left out of the entry.
    void bins_vazios_fora() {
        const Linhas status = Importa("TODAS;ALFA;411111,,422222,;5;C;I\n");
        QCOMPARE(status.value(2), CRIADO + INSERIDO);
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({{"ALFA", 5, 1, {"411111", "422222"}}}));
    }
    void validacao() {
        QFETCH(QByteArray, linha);
        QFETCH(QByteArray, veredito);
        ArquivoStatus status(Status());
        QCOMPARE(ValidaRegistro(status, CortaCampos(linha)), veredito == OK);
        QCOMPARE(lote::Linhas(lote::Le(Status())), Linhas{veredito});
    }

    void status_acrescenta() {
        QVERIFY(CriarArquivoStatus(Status(), "um"));
        ArquivoStatus status(Status());
        ValidaRegistro(status, CortaCampos("TODAS;A;1;5;C;I"));
        QCOMPARE(lote::Le(Status()), QByteArray("um\r\n") + OK + "\r\n");
        QVERIFY(!CriarArquivoStatus(m_tmp->path() + "/sem/dir/s.txt", "x"));
        QVERIFY(QFile::setPermissions(Status(), QFile::ReadOwner));
        QVERIFY(!CriarArquivoStatus(Status(), "x")); // read-only, even for root
    }

    void exemplo_de_oito_linhas() {
        const QByteArray antes12 = lote::Arquivo({BETA});
        const QByteArray antesTodas = lote::Arquivo({ALFA});
        QVERIFY(lote::Escreve(m_inst.empresa("12345678"), antes12));
        QVERIFY(lote::Escreve(m_inst.todas(), antesTodas));
        const QByteArray l1 = "12345678;ALFA;411111;5;C;I", l2 = "1234;BETA;422222;5;D;I",
                         l3 = "TODAS;GAMA;433333;7;F;E";
        QCOMPARE(Importa(l1 + "\r\n" + l2 + "\r\n" + l3 + "\r\n"),
                 (Linhas{l1, OK, INSERIDO, l2, E_EMPRESA + INVALIDO, l3, OK, NAO_ENCONTRADO}));
        QCOMPARE(lote::Le(m_inst.empresa("12345678")), lote::Arquivo({BETA, ALFA}));
        QCOMPARE(lote::Le(m_inst.todas()), antesTodas);
        QVERIFY(!QFile::exists(m_inst.empresa("1234")));
    }

    // Each report comes after the status lines of the records it counts.
    void progresso_data() {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<QStringList>("relatos");
        QTest::newRow("vazio") << QByteArray() << QStringList{"0/0 0"};
        QTest::newRow("aplicado, recusado, não encontrado")
            << QByteArray("TODAS;ALFA;1;5;C;I\r\n1234;BETA;2;5;D;I\r\nTODAS;GAMA;3;7;F;E\r\n")
            << QStringList{"0/3 0", "1/3 3", "2/3 5", "3/3 8"};
    }
    void progresso() {
        QFETCH(QByteArray, conteudo);
        QFETCH(QStringList, relatos);
        QVERIFY(lote::Escreve(Arquivo(), conteudo));
        QStringList vistos;
        ExecutaImportacao(Arquivo(), *m_tabela, [&](int feitos, int total) {
            vistos << QStringLiteral("%1/%2 %3")
                          .arg(feitos)
                          .arg(total)
                          .arg(QFile::exists(Status()) ? lote::Linhas(lote::Le(Status())).size()
                                                       : 0);
        });
        QCOMPARE(vistos, relatos);
    }

    void status_anterior_apagado() {
        QVERIFY(lote::Escreve(Status(), "velho\r\n"));
        QCOMPARE(Importa("TODAS;ALFA;411111;5;C;I\n"),
                 (Linhas{"TODAS;ALFA;411111;5;C;I", OK, CRIADO + INSERIDO}));
    }

    void inclui_e_exclui() {
        const QByteArray antes = lote::Arquivo({BETA, GAMA});
        QVERIFY(lote::Escreve(m_inst.todas(), antes));
        QCOMPARE(Importa("TODAS;ALFA;411111;5;C;I\nTODAS;ALFA;999;5;c;e\n"),
                 (Linhas{"TODAS;ALFA;411111;5;C;I", OK, INSERIDO, "TODAS;ALFA;999;5;c;e", OK,
                         EXCLUIDO}));
        QCOMPARE(lote::Le(m_inst.todas()), antes);
    }

    void exclusao_reordena() {
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({ALFA, BETA, GAMA})));
        QCOMPARE(Importa("TODAS;ALFA;1;5;C;E").last(), EXCLUIDO);
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({GAMA, BETA}));
        QCOMPARE(int(m_tabela->Qtd), 2);
        const char zeros[sizeof(TCartao)] = {};
        QVERIFY(std::memcmp(&m_tabela->Cartoes[2], zeros, sizeof zeros) == 0);
    }

    void chave_data() {
        QTest::addColumn<QByteArray>("registros");
        QTest::addColumn<Linhas>("resultados");
        QTest::addColumn<QList<Cartao>>("tabela");
        QTest::newRow("duas vezes")
            << QByteArray("TODAS;ALFA;411111;5;C;I\ntodas;ALFA;422222;5;C;i\n")
            << Linhas{CRIADO + INSERIDO, JA_EXISTE} << QList<Cartao>{ALFA};
        QTest::newRow("exclusão antes da inclusão")
            << QByteArray("TODAS;ALFA;1;5;C;E\nTODAS;ALFA;411111;5;C;I\n")
            << Linhas{NAO_EXISTE + NAO_ENCONTRADO, CRIADO + INSERIDO} << QList<Cartao>{ALFA};
        QTest::newRow("outra rede, outro tipo, outra caixa")
            << QByteArray("TODAS;ALFA;411111;5;C;I\nTODAS;ALFA;1;6;C;I\nTODAS;ALFA;1;5;d;I\n"
                          "TODAS;alfa;1;5;C;I\n")
            << Linhas{CRIADO + INSERIDO, INSERIDO, INSERIDO, INSERIDO}
            << QList<Cartao>{
                   ALFA, {"ALFA", 6, 1, {"1"}}, {"ALFA", 5, 2, {"1"}}, {"alfa", 5, 1, {"1"}}};
        QTest::newRow("exclui só a chave inteira")
            << QByteArray("TODAS;ALFA;411111;5;C;I\nTODAS;ALFA;1;5;D;E\nTODAS;ALFA;1;05;C;E\n")
            << Linhas{CRIADO + INSERIDO, NAO_ENCONTRADO, EXCLUIDO} << QList<Cartao>{};
        QTest::newRow("bins como estão")
            << QByteArray("TODAS;ALFA;411111,400000-400099;5;C;I\nTODAS;B;x,,\"y,z\",;0;F;I\n")
            << Linhas{CRIADO + INSERIDO, INSERIDO}
            << QList<Cartao>{{"ALFA", 5, 1, {"411111", "400000-400099"}},
                             {"B", 0, 3, {"x", "y,z"}}};
        QTest::newRow("nome entre aspas com ;")
            << QByteArray("TODAS;\"AL;FA\";411111;5;C;I\nTODAS;\"AL;FA\";1;5;C;I\n")
            << Linhas{CRIADO + INSERIDO, JA_EXISTE} << QList<Cartao>{{"AL;FA", 5, 1, {"411111"}}};
    }
    void chave() {
        QFETCH(QByteArray, registros);
        QFETCH(Linhas, resultados);
        QFETCH(QList<Cartao>, tabela);
        const Linhas status = Importa(registros);
        QCOMPARE(status.size(), resultados.size() * 3);
        for (int i = 0; i < resultados.size(); ++i) {
            QCOMPARE(status.at(3 * i + 1), OK);
            QCOMPARE(status.at(3 * i + 2), resultados.at(i));
        }
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo(tabela));
    }

    // The key's name is compared by one fixed collation (pt_BR, ICU), whatever the operator's
    // locale: the soft hyphen is ignored everywhere.
    void colacao_fixa_data() {
        QTest::addColumn<QString>("localidade");
        QTest::addColumn<QByteArray>("resultado");
        QTest::newRow("C") << "C" << JA_EXISTE;
        QTest::newRow("pt_BR") << "pt_BR" << JA_EXISTE;
        QTest::newRow("en_US") << "en_US" << JA_EXISTE;
    }
    void colacao_fixa() {
        QFETCH(QString, localidade);
        QFETCH(QByteArray, resultado);
        const QLocale antes;
        QLocale::setDefault(QLocale(localidade));
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({ALFA})));
        const Linhas status = Importa("TODAS;AL\xAD"
                                      "FA;1;5;C;I\nTODAS;alfa;1;5;C;I\n");
        QLocale::setDefault(antes);
        QCOMPARE(status, (Linhas{"TODAS;AL\xAD"
                                 "FA;1;5;C;I",
                                 OK, resultado, "TODAS;alfa;1;5;C;I", OK, INSERIDO}));
    }

    void todas_em_qualquer_caixa() {
        QCOMPARE(
            Importa("TODAS;ALFA;411111;5;C;I\ntodas;ALFA;411111;5;C;I\nToDaS;ALFA;1;5;C;E\n"),
            (Linhas{"TODAS;ALFA;411111;5;C;I", OK, CRIADO + INSERIDO, "todas;ALFA;411111;5;C;I", OK,
                    JA_EXISTE, "ToDaS;ALFA;1;5;C;E", OK, EXCLUIDO}));
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({}));
        QCOMPARE(
            QDir(m_inst.config() + "/Empresas").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList{});
    }

    void empresa_sem_diretorio() {
        QCOMPARE(Importa("87654321;ALFA;411111;5;C;I\r\n").last(), CRIADO + INSERIDO);
        QCOMPARE(lote::Le(m_inst.empresa("87654321")), lote::Arquivo({ALFA}));
        // Lower-case letters of a code name the upper-case directory.
        QCOMPARE(Importa("abcdefgh;ALFA;411111;5;C;I\r\n").last(), CRIADO + INSERIDO);
        QCOMPARE(lote::Le(m_inst.empresa("ABCDEFGH")), lote::Arquivo({ALFA}));
    }

    void ctrl_z_e_cr_sozinho() {
        const Linhas status = Importa("TODAS;ALFA;41\r1111;5;C;I\r\n\x1ATODAS;BETA;1;5;C;I\r\n");
        QCOMPARE(status, (Linhas{"TODAS;ALFA;411111;5;C;I", OK, CRIADO + INSERIDO}));
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({ALFA}));
    }

    // A short line is an invalid record; the lines after it are still applied.
    void linha_curta_nao_encerra() {
        const Linhas status =
            Importa("TODAS;ALFA;411111;5;C;I\n\nTODAS;BETA\nTODAS;GAMA;433333;7;F;I\n");
        QCOMPARE(status,
                 (Linhas{"TODAS;ALFA;411111;5;C;I", OK, CRIADO + INSERIDO, "",
                         E_EMPRESA + E_NOME + E_BINS + E_REDE + E_TIPO + E_FUNCAO + INVALIDO,
                         "TODAS;BETA", E_BINS + E_REDE + E_TIPO + E_FUNCAO + INVALIDO,
                         "TODAS;GAMA;433333;7;F;I", OK, INSERIDO}));
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({ALFA, GAMA}));
    }

    void linha_longa_inteira() {
        Cartao c{"FAIXAS", 5, 1, {}};
        QByteArray bins;
        for (int i = 0; i < 20; ++i) {
            c.bins.append(QByteArray::number(400000 + i) + "-" + QByteArray::number(499900 + i));
            bins += (i ? "," : "") + c.bins.last();
        }
        const QByteArray linha = "TODAS;FAIXAS;" + bins + ";5;C;I";
        QVERIFY(linha.size() > 255);
        QCOMPARE(Importa(linha + "\r\n"), (Linhas{linha, OK, CRIADO + INSERIDO}));
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({c}));
    }

    void codigo_de_rede_invalido_data() {
        QTest::addColumn<QByteArray>("rede");
        for (const char *r : {"ABC", "-1", "+5", " 5", "$FF", "5 ", "0x1"})
            QTest::newRow(r) << QByteArray(r);
    }
    void codigo_de_rede_invalido() {
        QFETCH(QByteArray, rede);
        const QByteArray antes = lote::Arquivo({ALFA});
        QVERIFY(lote::Escreve(m_inst.todas(), antes));
        const QByteArray inclui = "TODAS;ALFA;1;" + rede + ";C;I";
        const QByteArray exclui = "TODAS;ALFA;1;" + rede + ";C;E";
        const QByteArray nova = "87654321;ALFA;1;" + rede + ";C;I";
        QCOMPARE(Importa(inclui + "\n" + exclui + "\n" + nova + "\nTODAS;BETA;1;5;C;I\n"),
                 (Linhas{inclui, OK, E_CODIGO, exclui, OK, E_CODIGO, nova, OK, E_CODIGO,
                         "TODAS;BETA;1;5;C;I", OK, INSERIDO}));
        QVERIFY(!QFile::exists(m_inst.config() + "/Empresas/87654321"));
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({ALFA, {"BETA", 5, 1, {"1"}}}));
    }

    void tabela_ilegivel_data() {
        QTest::addColumn<QByteArray>("bytes"); // null: a directory stands at the path
        QTest::newRow("curto") << QByteArray("\x01\x00\x01", 3);
        QTest::newRow("mais de 350") << QByteArray("\x01\x00\x5F\x01", 4);
        QTest::newRow("entrada cortada") << lote::Arquivo({ALFA, BETA}).chopped(1);
        QTest::newRow("diretório") << QByteArray();
        QTest::newRow("fifo") << QByteArray("fifo");
    }
    void tabela_ilegivel() {
        QFETCH(QByteArray, bytes);
        const QString alvo = m_inst.empresa("12345678");
        const bool fifo = bytes == "fifo";
        if (bytes.isNull())
            QVERIFY(QDir().mkpath(alvo));
        else if (fifo)
            QVERIFY(QDir().mkpath(QFileInfo(alvo).path()) &&
                    ::mkfifo(QFile::encodeName(alvo).constData(), 0644) == 0);
        else
            QVERIFY(lote::Escreve(alvo, bytes));
        // Neither record waits on a FIFO, and a damaged table stays byte for byte.
        QCOMPARE(Importa("12345678;ALFA;411111;5;C;I\n12345678;BETA;1;6;D;E\n"),
                 (Linhas{"12345678;ALFA;411111;5;C;I", OK, E_LEITURA, "12345678;BETA;1;6;D;E", OK,
                         E_LEITURA}));
        if (bytes.isNull())
            QVERIFY(QFileInfo(alvo).isDir());
        else if (fifo)
            QVERIFY(!QFileInfo(alvo).isFile());
        else
            QCOMPARE(lote::Le(alvo), bytes);
    }

    void tabela_cheia() {
        QList<Cartao> cheia;
        for (int i = 0; i < 350; ++i)
            cheia.append({"C" + QByteArray::number(i), 5, 1, {"411111"}});
        const QByteArray antes = lote::Arquivo(cheia);
        QVERIFY(lote::Escreve(m_inst.todas(), antes));
        QCOMPARE(
            Importa(
                "TODAS;NOVO;1;5;C;I\nTODAS;C349;1;5;C;I\nTODAS;C0;1;5;C;E\nTODAS;NOVO;1;5;C;I\n"),
            (Linhas{"TODAS;NOVO;1;5;C;I", OK, E_CHEIA, "TODAS;C349;1;5;C;I", OK, JA_EXISTE,
                    "TODAS;C0;1;5;C;E", OK, EXCLUIDO, "TODAS;NOVO;1;5;C;I", OK, INSERIDO}));
        cheia[0] = cheia.takeLast();
        cheia.append({"NOVO", 5, 1, {"1"}});
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo(cheia));
    }

    void gravacao_recusada() {
        const QByteArray antes = lote::Arquivo({ALFA});
        QVERIFY(lote::Escreve(m_inst.todas(), antes));
        QVERIFY(QFile::setPermissions(m_inst.todas(), QFile::ReadOwner | QFile::ReadGroup));
        QCOMPARE(Importa("TODAS;BETA;1;5;C;I\nTODAS;ALFA;1;5;C;E\n87654321;BETA;1;5;C;I\n"),
                 (Linhas{"TODAS;BETA;1;5;C;I", OK, E_GRAVACAO, "TODAS;ALFA;1;5;C;E", OK, E_GRAVACAO,
                         "87654321;BETA;1;5;C;I", OK, CRIADO + INSERIDO}));
        QCOMPARE(lote::Le(m_inst.todas()), antes);
    }

    // A missing table that cannot be created ends the run at that record, without its outcome.
    void tabela_nao_criada_encerra() {
        QVERIFY(QDir(m_inst.config() + "/Empresas").removeRecursively());
        QVERIFY(lote::Escreve(Arquivo(),
                              "TODAS;ALFA;1;5;C;I\n87654321;BETA;1;5;C;I\nTODAS;GAMA;1;5;C;I\n"));
        QVERIFY_THROWS_EXCEPTION(ErroES, ExecutaImportacao(Arquivo(), *m_tabela));
        QCOMPARE(
            lote::Linhas(lote::Le(Status())),
            (Linhas{"TODAS;ALFA;1;5;C;I", OK, CRIADO + INSERIDO, "87654321;BETA;1;5;C;I", OK}));
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({{"ALFA", 5, 1, {"1"}}}));
    }

    void arquivo_de_importacao_ausente() {
        QVERIFY(lote::Escreve(Status(), "velho\r\n"));
        QVERIFY_THROWS_EXCEPTION(ErroES, ExecutaImportacao(Arquivo(), *m_tabela));
        QVERIFY(!QFile::exists(Status()));
    }

    // Behind a holder that does not let go, the run spends its one bound for waits and ends:
    // the records not reached are not applied, nor even echoed.
    void esperasComUmLimite() {
        QProcess dono;
        dono.start("flock", {m_inst.todas() + ".lck", "sleep", "60"});
        QVERIFY(dono.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_inst.todas() + ".lck"), 30000);
        TravaArquivo::DefinePrazo(200);
        LimiteDeEsperas::DefinePadrao(500);
        QByteArray linhas;
        for (int i = 0; i < 10; ++i)
            linhas += "TODAS;C" + QByteArray::number(i) + ";411111;5;C;I\r\n";
        QVERIFY(lote::Escreve(Arquivo(), linhas));
        QVERIFY_THROWS_EXCEPTION(ErroOcupado, ExecutaImportacao(Arquivo(), *m_tabela));
        TravaArquivo::DefinePrazo(5000);
        LimiteDeEsperas::DefinePadrao(30000);
        dono.kill();
        dono.waitForFinished();
        // Whole records refused as failed writes, then one left at its verdict, well before the
        // tenth (each wait costs 200 ms of the 500).
        const Linhas status = lote::Linhas(lote::Le(Status()));
        QCOMPARE(status.size() % 3, 2);
        QVERIFY2(status.size() >= 5 && status.size() < 3 * 9, status.join('|'));
        for (qsizetype i = 2; i < status.size(); i += 3)
            QVERIFY2(status[i].endsWith(E_GRAVACAO), status[i]);
        QVERIFY(!QFile::exists(m_inst.todas()));
    }

    // An import file that is its own status file is refused before anything is deleted.
    void arquivo_de_status_como_importacao() {
        const QByteArray linhas = "TODAS;ALFA;1;5;C;I\r\n";
        QVERIFY(lote::Escreve(Status(), linhas));
        QVERIFY_THROWS_EXCEPTION(ErroES, ExecutaImportacao(Status(), *m_tabela));
        QCOMPARE(lote::Le(Status()), linhas);
        QVERIFY(!QFile::exists(m_inst.todas()));
    }
};

QTEST_GUILESS_MAIN(TstImportacao)
#include "tst_importacao.moc"
