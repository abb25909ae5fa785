// The import preview against the real run on the same file and installation: the same verdict
// and outcome lines, the same count, nothing written under the drive, and a summary that names
// what the real run then changes.

#include "batch/simulacao.h"
#include "env/erro.h"
#include "instalacao_lote.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using lote::Cartao;
using lote::W;
using Linhas = QList<QByteArray>;
// A path (under the drive; or a company code, TODAS) and its bytes ("<dir>" for a directory).
using Arquivos = QMap<QString, QByteArray>;

namespace {
const Cartao ALFA{"ALFA", 5, 1, {"411111"}};
const Cartao BETA{"BETA", 6, 2, {"422222", "400000-400099"}};

QList<Cartao> Cheia() {
    QList<Cartao> cartoes;
    for (int i = 0; i < MaxCartoes; ++i)
        cartoes.append({"C" + QByteArray::number(i), 5, 1, {"5" + QByteArray::number(i)}});
    return cartoes;
}
} // namespace

class TstSimulacao : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    lote::Instalacao m_inst;

    QString Lote(const char *nome) const { return m_tmp->path() + "/lote/" + nome; }

    Arquivos Unidade() const {
        Arquivos a;
        QDirIterator it(m_inst.unidade, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo f = it.nextFileInfo();
            a.insert(f.filePath().mid(m_inst.unidade.size()),
                     f.isDir() ? QByteArray("<dir>") : lote::Le(f.filePath()));
        }
        return a;
    }

private slots:
    void init() {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/CfVardo.ini"));
        qputenv("VARDO_UNIDADE", QFile::encodeName(m_tmp->path() + "/unidade"));
        m_inst.unidade = m_tmp->path() + "/unidade";
        QVERIFY(QDir().mkpath(m_tmp->path() + "/lote"));
    }

    void como_a_importacao_data() {
        QTest::addColumn<Arquivos>("tabelas");
        QTest::addColumn<bool>("semEmpresas");
        QTest::addColumn<QByteArray>("importacao");
        QTest::addColumn<bool>("termina"); // the real run ends early with ErroES
        QTest::addColumn<Linhas>("resumo");
        QTest::addColumn<Linhas>("desfechos"); // outcome lines both runs must hold
        QTest::addColumn<QString>("ligada");   // a company whose directory leads out

        QTest::newRow("cheia, danificada, rede desconhecida, nova, excluída")
            << Arquivos{{"TODAS", lote::Arquivo({ALFA})},
                        {"12345678", lote::Arquivo(Cheia())},
                        {"87654321", "abc"}}
            << false
            << QByteArray("TODAS;BETA;422222,400000-400099;6;D;I\r\n"
                          "todas;BETA;422222;6;d;i\r\n"
                          "12345678;X;1;5;C;I\r\n"
                          "87654321;X;1;5;C;I\r\n"
                          "87654321;X;1;5;C;E\r\n"
                          "TODAS;Z;1;5x;C;I\r\n"
                          "11112222;GAMA;433333;7;F;I\r\n"
                          "TODAS;ALFA;1;5;C;E\r\n"
                          "TODAS;DELTA;1;9;C;I\r\n"
                          "TODAS;DELTA;1;9;C;E\r\n"
                          "1234;X;1;5;C;I\r\n")
            << false
            << Linhas{W("Simulação: nenhum arquivo da instalação foi gravado"),
                      "Tabelas que mudariam: 2",
                      W("TODAS: 1 cartão incluído, 1 excluído"),
                      W("  + Débito: BETA, rede 6, bins 422222;400000-400099;"),
                      W("  - Crédito: ALFA, rede 5, bins 411111;"),
                      W("11112222: tabela nova, 1 cartão incluído, 0 excluídos"),
                      W("  + Combustível: GAMA, rede 7, bins 433333;")}
            << Linhas{"  - Erro <Tabela TabRot.bin cheia>",
                      "  - Erro na leitura do arquivo TabRot.bin",
                      W("  - Erro <Código de Rede Inválido>"),
                      W("  - O registro já existe"),
                      "  - Arquivo TabRot.bin foi criado  - Registro inserido com sucesso",
                      "  - Registro excluido com sucesso"}
            << QString();
        QTest::newRow("nada muda")
            << Arquivos{{"TODAS", lote::Arquivo({ALFA})}} << false
            << QByteArray("TODAS;ALFA;411111;5;C;I\nTODAS;B;1;5;C;I\nTODAS;B;1;5;C;E\n") << false
            << Linhas{W("Simulação: nenhum arquivo da instalação foi gravado"),
                      "Tabelas que mudariam: 0"}
            << Linhas{W("  - O registro já existe")} << QString();
        // The real run refuses to write through the link; the preview must not promise it.
        QTest::newRow("tabela ligada para fora")
            << Arquivos{{"TODAS", lote::Arquivo({ALFA})}} << false
            << QByteArray("12345678;B;1;5;C;I\nTODAS;B;1;5;C;I\n") << false
            << Linhas{W("Simulação: nenhum arquivo da instalação foi gravado"),
                      "Tabelas que mudariam: 1", W("TODAS: 1 cartão incluído, 0 excluídos"),
                      W("  + Crédito: B, rede 5, bins 1;")}
            << Linhas{W("  - Arquivo TabRot.bin foi criado  - Erro na gravação do arquivo "
                        "TabRot.bin")}
            << QString("12345678");
        // Without Empresas the new company's table cannot be made: both runs end there.
        QTest::newRow("tabela que não se cria")
            << Arquivos{{"TODAS", lote::Arquivo({ALFA})}} << true
            << QByteArray("TODAS;BETA;422222;6;D;I\n11112222;B;1;5;C;I\nTODAS;C;1;5;C;I\n") << true
            << Linhas{} << Linhas{"  - Registro inserido com sucesso"} << QString();
    }
    void como_a_importacao() {
        QFETCH(Arquivos, tabelas);
        QFETCH(bool, semEmpresas);
        QFETCH(QByteArray, importacao);
        QFETCH(bool, termina);
        QFETCH(Linhas, resumo);
        QFETCH(Linhas, desfechos);
        QFETCH(QString, ligada);
        QVERIFY(QDir().mkpath(m_inst.config()));
        if (!semEmpresas) QVERIFY(m_inst.cria());
        if (!ligada.isEmpty()) {
            QVERIFY(QDir().mkpath(m_tmp->path() + "/fora"));
            QVERIFY(QFile::link(m_tmp->path() + "/fora", m_inst.config() + "/Empresas/" + ligada));
        }
        for (auto it = tabelas.cbegin(); it != tabelas.cend(); ++it)
            QVERIFY(lote::Escreve(it.key() == "TODAS" ? m_inst.todas() : m_inst.empresa(it.key()),
                                  it.value()));
        QVERIFY(lote::Escreve(Lote("imp.txt"), importacao));
        QVERIFY(lote::Escreve(Lote("StatusArqImportado.txt"), "de outra vez\r\n"));
        const Arquivos antes = Unidade();

        auto tabela = std::make_unique<TTabRot>();
        LimpaTabRot(*tabela);
        ResumoSimulacao simulada;
        bool simulacaoTerminou = false;
        try {
            simulada = SimulaImportacao(Lote("imp.txt"), *tabela);
        } catch (const ErroES &) {
            simulacaoTerminou = true;
        }
        QCOMPARE(simulacaoTerminou, termina);
        QCOMPARE(Unidade(), antes);
        QCOMPARE(lote::Le(Lote("StatusArqImportado.txt")), QByteArray("de outra vez\r\n"));
        Linhas status = lote::Linhas(lote::Le(Lote("StatusArqImportado.simulacao.txt")));
        if (!termina) {
            QCOMPARE(simulada.linhas, resumo);
            QCOMPARE(status.mid(status.size() - resumo.size()), resumo);
            status.resize(status.size() - resumo.size());
        } else {
            const qsizetype fim = status.indexOf(
                W("A importação terminaria aqui: Erro de E/S ao "
                  "criar o arquivo ") +
                QFile::encodeName(m_inst.empresa("11112222")) + W(": o diretório ") +
                QFile::encodeName(m_inst.config()) + "/Empresas/11112222 " + W("não existe"));
            QVERIFY2(fim > 0, status.join('|'));
            status.resize(fim);
        }

        LimpaTabRot(*tabela);
        ResumoImportacao real;
        bool realTerminou = false;
        try {
            real = ExecutaImportacao(Lote("imp.txt"), *tabela);
        } catch (const ErroES &) {
            realTerminou = true;
        }
        QCOMPARE(realTerminou, termina);
        for (const QByteArray &d : desfechos)
            QVERIFY2(status.contains(d), d);
        QCOMPARE(status, lote::Linhas(lote::Le(Lote("StatusArqImportado.txt"))));
        if (!termina) {
            QCOMPARE(simulada.registros.lidos, real.lidos);
            QCOMPARE(simulada.registros.aplicados, real.aplicados);
        }
    }

    // A lock the real run cannot take (a directory under its name) refuses the preview's write.
    void travaQueNaoEArquivo() {
        QVERIFY(m_inst.cria());
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({ALFA})));
        QVERIFY(QDir().mkpath(m_inst.todas() + ".lck"));
        QVERIFY(lote::Escreve(Lote("imp.txt"), "TODAS;B;1;5;C;I\n"));
        auto tabela = std::make_unique<TTabRot>();
        LimpaTabRot(*tabela);
        QCOMPARE(SimulaImportacao(Lote("imp.txt"), *tabela).registros.aplicados, 0);
        const Linhas simulada = lote::Linhas(lote::Le(Lote("StatusArqImportado.simulacao.txt")));
        QCOMPARE(ExecutaImportacao(Lote("imp.txt"), *tabela).aplicados, 0);
        const Linhas real = lote::Linhas(lote::Le(Lote("StatusArqImportado.txt")));
        QCOMPARE(simulada.mid(0, 3), real);
        QCOMPARE(real.value(2), W("  - Erro na gravação do arquivo TabRot.bin"));
    }

    // A long path is never cut: the preview's status file goes beside the import file.
    void caminhoLongo() {
        QVERIFY(m_inst.cria());
        QString dir = m_tmp->path() + "/lote";
        while (dir.size() < 300)
            dir += "/" + QString(40, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(lote::Escreve(dir + "/imp.txt", "TODAS;ALFA;1;5;C;I\n"));
        auto tabela = std::make_unique<TTabRot>();
        LimpaTabRot(*tabela);
        SimulaImportacao(dir + "/imp.txt", *tabela);
        QVERIFY(lote::Le(dir + "/StatusArqImportado.simulacao.txt")
                    .startsWith("TODAS;ALFA;1;5;C;I\r\n"));
        QDirIterator it(m_tmp->path() + "/lote", {"StatusArq*.txt"}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList achados;
        while (it.hasNext())
            achados << it.next();
        QCOMPARE(achados, QStringList{dir + "/StatusArqImportado.simulacao.txt"});
    }

    // What the summary names is what the real run changed.
    void resumo_e_arquivos() {
        QVERIFY(m_inst.cria());
        QVERIFY(lote::Escreve(m_inst.todas(), lote::Arquivo({ALFA, BETA})));
        QVERIFY(lote::Escreve(Lote("imp.txt"), "TODAS;ALFA;1;5;C;E\n"));
        auto tabela = std::make_unique<TTabRot>();
        LimpaTabRot(*tabela);
        QCOMPARE(SimulaImportacao(Lote("imp.txt"), *tabela).linhas.mid(1),
                 (Linhas{"Tabelas que mudariam: 1", W("TODAS: 0 cartões incluídos, 1 excluído"),
                         W("  - Crédito: ALFA, rede 5, bins 411111;")}));
        ExecutaImportacao(Lote("imp.txt"), *tabela);
        QCOMPARE(lote::Le(m_inst.todas()), lote::Arquivo({BETA}));
    }
};

QTEST_GUILESS_MAIN(TstSimulacao)
#include "tst_simulacao.moc"
