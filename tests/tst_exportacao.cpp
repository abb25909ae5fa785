// Export: every table in the order of the company selector, one line per card entry, written in
// one piece; and the way back through the import.

#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "env/erro.h"
#include "instalacao_lote.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using lote::Cartao;
using lote::W;

class TstExportacao : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    lote::Instalacao m_inst;
    std::unique_ptr<TTabRot> m_tabela = std::make_unique<TTabRot>();

    void Unidade(const lote::Instalacao &inst) {
        qputenv("VARDO_UNIDADE", QFile::encodeName(inst.unidade));
    }

private slots:
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"));
        m_inst.unidade = m_tmp->path() + "/origem";
        Unidade(m_inst);
        LimpaTabRot(*m_tabela);
    }

    void ordem_do_seletor() {
        // Created out of order: the selector lists company files by name.
        QVERIFY(m_inst.cria({"22222222", "33333333", "11111111"}));
        QVERIFY(
            lote::Escreve(m_inst.empresa("22222222"), lote::Arquivo({{"DOIS", 2, 2, {"422222"}}})));
        QVERIFY(
            lote::Escreve(m_inst.empresa("11111111"), lote::Arquivo({{"UM", 1, 1, {"411111"}}})));
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({{"TRES", 3, 3, {"433333"}}})));
        // A table without a company file is not in the selector.
        QVERIFY(lote::Escreve(m_inst.empresa("44444444"), lote::Arquivo({{"Q", 4, 1, {"4"}}})));
        const QByteArray linhas = LinhasExportacao(*m_tabela);
        QCOMPARE(linhas, QByteArray("11111111;UM;411111;1;C;\r\n"
                                    "22222222;DOIS;422222;2;D;\r\n"
                                    "TODAS;TRES;433333;3;F;\r\n"));
        // The working table holds the last file read.
        QCOMPARE(int(m_tabela->Qtd), 1);
        QCOMPARE(QByteArray(m_tabela->Cartoes[0].Nome), QByteArray("TRES"));
    }

    void linhas_data() {
        QTest::addColumn<QList<Cartao>>("cartoes");
        QTest::addColumn<QByteArray>("linhas");
        QList<QByteArray> vinte;
        QByteArray vinteTexto;
        for (int i = 0; i < 20; ++i) {
            vinte.append(QByteArray::number(410000 + i));
            vinteTexto += (i ? "," : "") + vinte.last();
        }
        QList<QByteArray> faixas;
        QByteArray faixasTexto;
        for (int i = 0; i < 20; ++i) {
            faixas.append(QByteArray::number(400000 + i) + "-" + QByteArray::number(499900 + i));
            faixasTexto += (i ? "," : "") + faixas.last();
        }
        QTest::newRow("exemplo") << QList<Cartao>{{"ALFA", 5, 1, {"411111", "400000-400099"}}}
                                 << QByteArray("12345678;ALFA;411111,400000-400099;5;C;\r\n");
        QTest::newRow("20 bins, 19 vírgulas")
            << QList<Cartao>{{"V", 7, 2, vinte}} << "12345678;V;" + vinteTexto + ";7;D;\r\n";
        QTest::newRow("sem bins") << QList<Cartao>{{"ALFA", 5, 1, {}}}
                                  << QByteArray("12345678;ALFA;;5;C;\r\n");
        QTest::newRow("primeiro bin vazio") << QList<Cartao>{{"ALFA", 5, 1, {"", "411111"}}}
                                            << QByteArray("12345678;ALFA;;5;C;\r\n");
        QTest::newRow("para no bin vazio") << QList<Cartao>{{"ALFA", 5, 3, {"1", "2", "", "4"}}}
                                           << QByteArray("12345678;ALFA;1,2;5;F;\r\n");
        QTest::newRow("bloqueada") << QList<Cartao>{{"ALFA", 65535, 1, {"411111"}}}
                                   << QByteArray("12345678;ALFA;411111;65535;C;\r\n");
        QTest::newRow("sem aspas")
            << QList<Cartao>{{W("AL;FÉ\""), 0, 1, {"4"}}} << W("12345678;AL;FÉ\";4;0;C;\r\n");
        QTest::newRow("nome de 30, bin de 20")
            << QList<Cartao>{{QByteArray(30, 'N'), 999, 1, {QByteArray(20, '4')}}}
            << "12345678;" + QByteArray(30, 'N') + ";" + QByteArray(20, '4') + ";999;C;\r\n";
        QTest::newRow("linha de mais de 255") << QList<Cartao>{{"FAIXAS", 5, 1, faixas}}
                                              << "12345678;FAIXAS;" + faixasTexto + ";5;C;\r\n";
        QTest::newRow("rede padrão fica de fora") << QList<Cartao>{{"", 9, 255, {}},
                                                                   {"ALFA", 5, 1, {"1"}},
                                                                   {"", 8, 254, {}},
                                                                   {"", 7, 253, {}}}
                                                  << QByteArray("12345678;ALFA;1;5;C;\r\n");
        QTest::newRow("tipo desconhecido sem letra")
            << QList<Cartao>{{"X", 5, 9, {"1"}}} << QByteArray("12345678;X;1;5;;\r\n");
        QTest::newRow("tabela vazia") << QList<Cartao>{} << QByteArray();
    }
    void linhas() {
        QFETCH(QList<Cartao>, cartoes);
        QFETCH(QByteArray, linhas);
        QVERIFY(m_inst.cria({"12345678"}));
        QVERIFY(lote::Escreve(m_inst.empresa("12345678"), lote::Arquivo(cartoes)));
        const QByteArray exportado = LinhasExportacao(*m_tabela);
        QCOMPARE(exportado, linhas);
        const QString arquivo = m_tmp->path() + "/exp.txt";
        GravaExportacao(arquivo, exportado);
        QCOMPARE(lote::Le(arquivo), linhas);
    }

    void tabelas_sem_linha() {
        QVERIFY(m_inst.cria({"11111111", "22222222", "33333333"}));
        QVERIFY(lote::Escreve(m_inst.empresa("11111111"), "\x01\x00\x05")); // damaged
        QVERIFY(QDir().mkpath(m_inst.empresa("22222222")));                 // a directory
        QVERIFY(
            lote::Escreve(m_inst.todas(), lote::Arquivo({{"T", 1, 1, {"1"}}}))); // 33333333: none
        QCOMPARE(LinhasExportacao(*m_tabela), QByteArray("TODAS;T;1;1;C;\r\n"));
        QVERIFY(!QFile::exists(m_inst.empresa("33333333")));
    }

    void nada_a_exportar() {
        QVERIFY(m_inst.cria());
        QCOMPARE(LinhasExportacao(*m_tabela), QByteArray());
        const QString arquivo = m_tmp->path() + "/exp.txt";
        QVERIFY(lote::Escreve(arquivo, "antigo"));
        GravaExportacao(arquivo, QByteArray());
        QCOMPARE(lote::Le(arquivo), QByteArray());
    }

    void arquivo_nao_gravado() {
        QVERIFY_THROWS_EXCEPTION(ErroES,
                                 GravaExportacao(m_tmp->path() + "/sem/dir/exp.txt", "x\r\n"));
        const QString arquivo = m_tmp->path() + "/exp.txt";
        QVERIFY(lote::Escreve(arquivo, "antigo"));
        QVERIFY(QFile::setPermissions(arquivo, QFile::ReadOwner));
        QVERIFY_THROWS_EXCEPTION(ErroES, GravaExportacao(arquivo, "x\r\n"));
        QCOMPARE(lote::Le(arquivo), QByteArray("antigo"));
    }

    // Never over a file the payment server reads: the config tree is refused, through a link too.
    void naConfiguracao_data() {
        QTest::addColumn<QString>("alvo");
        QTest::newRow("a tabela de TODAS") << "config/TabRot.bin";
        QTest::newRow("um arquivo novo em config") << "config/Empresas/exp.txt";
        QTest::newRow("por um link") << "link/TabRot.bin";
    }
    void naConfiguracao() {
        QFETCH(QString, alvo);
        QVERIFY(m_inst.cria());
        const QByteArray tabela = lote::Arquivo({{"ALFA", 5, 1, {"411111"}}});
        QVERIFY(lote::Escreve(m_inst.todas(), tabela));
        QVERIFY(QFile::link(m_inst.config(), m_tmp->path() + "/link"));
        const QString arquivo = alvo.startsWith("link") ? m_tmp->path() + "/" + alvo
                                                        : m_inst.unidade + "/Vardo/" + alvo;
        try {
            GravaExportacao(arquivo, "x\r\n");
            QFAIL("gravou na configuração");
        } catch (const ErroES &e) {
            QVERIFY2(e.texto().contains(QStringLiteral("fica na configuração da instalação")),
                     qPrintable(e.texto()));
        }
        QCOMPARE(lote::Le(m_inst.todas()), tabela);
        QVERIFY(!QFile::exists(m_inst.config() + "/Empresas/exp.txt"));
    }

    // Export, add "I" to every line, import: into an empty installation it gives the same tables,
    // into the one it came from "already exists" for every card.
    void ida_e_volta() {
        QVERIFY(m_inst.cria({"11111111", "22222222"}));
        QList<QByteArray> vinte;
        for (int i = 0; i < 20; ++i)
            vinte.append(QByteArray::number(410000 + i) + "-" + QByteArray::number(410000 + i));
        const QByteArray t1 = lote::Arquivo({{"UM", 1, 1, {"411111"}},
                                             {"VINTE", 999, 2, vinte.mid(0, 18)},
                                             {QByteArray(30, 'Z'), 0, 3, {"4", "5"}}});
        const QByteArray t2 = lote::Arquivo({{W("CRÉDITO"), 12, 1, {"400000-400099", "422222"}}});
        const QByteArray tt = lote::Arquivo({{"TRES", 3, 3, {"433333"}}, {"UM", 1, 1, {"411111"}}});
        QVERIFY(lote::Escreve(m_inst.empresa("11111111"), t1));
        QVERIFY(lote::Escreve(m_inst.empresa("22222222"), t2));
        QVERIFY(lote::Escreve(m_inst.todas(), tt));

        QByteArray registros;
        for (const QByteArray &l : LinhasExportacao(*m_tabela).split('\n'))
            if (!l.isEmpty()) registros += l.chopped(1) + "I\r\n";
        const QString arquivo = m_tmp->path() + "/lote/imp.txt";
        QVERIFY(lote::Escreve(arquivo, registros));
        const int cartoes = 6;

        lote::Instalacao vazia{m_tmp->path() + "/destino"};
        QVERIFY(vazia.cria());
        Unidade(vazia);
        ExecutaImportacao(arquivo, *m_tabela);
        QCOMPARE(lote::Le(vazia.empresa("11111111")), t1);
        QCOMPARE(lote::Le(vazia.empresa("22222222")), t2);
        QCOMPARE(lote::Le(vazia.todas()), tt);

        Unidade(m_inst);
        ExecutaImportacao(arquivo, *m_tabela);
        const QList<QByteArray> status =
            lote::Linhas(lote::Le(m_tmp->path() + "/lote/StatusArqImportado.txt"));
        QCOMPARE(status.size(), 3 * cartoes);
        for (int i = 0; i < cartoes; ++i) {
            QCOMPARE(status.at(3 * i + 1), QByteArray("  - Registro OK"));
            QCOMPARE(status.at(3 * i + 2), W("  - O registro já existe"));
        }
        QCOMPARE(lote::Le(m_inst.empresa("11111111")), t1);
    }
};

QTEST_GUILESS_MAIN(TstExportacao)
#include "tst_exportacao.moc"
