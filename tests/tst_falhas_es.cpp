// I/O faults in every writer: the helper program performs one operation (a table save, the
// VARDOCFG.INI toggle, a trace entry, an import, an export) under strace, which fails the Nth
// open, write, fsync, link or rename of the installation's files with ENOSPC, EIO or EACCES, for
// N = 1, 2, ... until the operation runs through; and under a file size limit (writes fail with
// EFBIG). Each time: the old file byte-identical or the new one complete, no temporary file left
// behind, and the failure reported, never success.
//
// The calls are counted from a mark the helper leaves in the trace (access("/falhas-es-inicio"))
// and only on the installation's paths: the sanitizers' own writes (to pipes) and the start-up of
// Qt are left out. A fault-free run under strace lists the calls; each one is then failed on its
// own, by its ordinal number among the calls of its kind since the program started.

#include "instalacao_lote.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace lote;

namespace {

const QStringList Chamadas{QStringLiteral("openat"),   QStringLiteral("write"),
                           QStringLiteral("fsync"),    QStringLiteral("fdatasync"),
                           QStringLiteral("linkat"),   QStringLiteral("rename"),
                           QStringLiteral("renameat2")};
const QStringList Erros{QStringLiteral("ENOSPC"), QStringLiteral("EIO"), QStringLiteral("EACCES")};

const QByteArray VardoCfgAntigo("; site\r\n[Geral]\r\nHabilitaBinsPorEmpresa=0\r\nOutra=x\r\n");
const QByteArray TraceAntigo("Abriu o arquivo\r\n-------\r\n");
const QByteArray ExportacaoAntiga("exportação anterior\r\n");

QList<Cartao> TabelaA() {
    return {{"VISA", 10, 1, {"411111", "400000-400099"}}, {"MAESTRO", 20, 2, {"501234"}}};
}
QList<Cartao> TabelaB() {
    return {{"FROTA", 40, 3, {"606282"}}, {"ELO", 10, 1, {"636368", "438935"}}, {"", 10, 255, {}}};
}

// What one run left: the helper's outcome line and every file of the drive.
struct Estado {
    QString resultado;                  // "ok", "falha", "erro ..." or what the helper printed
    QMap<QString, QByteArray> arquivos; // path under the drive -> bytes
};

// One writer operation on a fresh installation.
struct Cenario {
    QString nome;
    std::function<void(const Instalacao &)> prepara;
    std::function<QStringList(const Instalacao &)> argumentos;
    // Only the opens that write (and the directory flush) are failed: the tables and company
    // files the run reads are the readers' business, and an unreadable one is a verdict of its
    // own (a status line, a table left out of the export).
    bool soAberturasDeGravacao = false;
};

QList<Cenario> Cenarios() {
    QList<Cenario> c;
    c.append({QStringLiteral("tabrot substitui"),
              [](const Instalacao &i) {
                  Escreve(i.todas(), Arquivo(TabelaA()));
                  Escreve(i.unidade + QStringLiteral("/nova.bin"), Arquivo(TabelaB()));
              },
              [](const Instalacao &i) {
                  return QStringList{QStringLiteral("tabrot"), i.todas(),
                                     i.unidade + QStringLiteral("/nova.bin")};
              }});
    c.append({QStringLiteral("tabrot cria"),
              [](const Instalacao &i) {
                  Escreve(i.unidade + QStringLiteral("/nova.bin"), Arquivo(TabelaB()));
              },
              [](const Instalacao &i) {
                  return QStringList{QStringLiteral("tabrot"),
                                     i.empresa(QStringLiteral("87654321")),
                                     i.unidade + QStringLiteral("/nova.bin")};
              }});
    c.append({QStringLiteral("roteamento"),
              [](const Instalacao &i) {
                  Escreve(i.config() + QStringLiteral("/VARDOCFG.INI"), VardoCfgAntigo);
              },
              [](const Instalacao &) { return QStringList{QStringLiteral("roteamento")}; }});
    c.append({QStringLiteral("trace"),
              [](const Instalacao &i) {
                  Escreve(i.config() + QStringLiteral("/trace.txt"), TraceAntigo);
              },
              [](const Instalacao &) {
                  return QStringList{QStringLiteral("trace"), QStringLiteral("Entrou na rotina")};
              }});
    c.append({QStringLiteral("importa"),
              [](const Instalacao &i) {
                  Escreve(i.todas(), Arquivo(TabelaA()));
                  Escreve(i.empresa(QStringLiteral("EMPRESA1")), Arquivo(TabelaB()));
                  // Each record changes a table of its own: TODAS, a new company, EMPRESA1.
                  Escreve(i.unidade + QStringLiteral("/lote/importa.txt"),
                          "TODAS;AMEX;376411;30;C;I\r\n"
                          "87654321;HIPER;637095;20;D;I\r\n"
                          "EMPRESA1;ELO;636368;10;C;E\r\n");
              },
              [](const Instalacao &i) {
                  return QStringList{QStringLiteral("importa"),
                                     i.unidade + QStringLiteral("/lote/importa.txt")};
              },
              true});
    c.append({QStringLiteral("exporta"),
              [](const Instalacao &i) {
                  i.cria({QStringLiteral("EMPRESA1")});
                  Escreve(i.todas(), Arquivo(TabelaA()));
                  Escreve(i.empresa(QStringLiteral("EMPRESA1")), Arquivo(TabelaB()));
                  Escreve(i.unidade + QStringLiteral("/lote/exportado.txt"), ExportacaoAntiga);
              },
              [](const Instalacao &i) {
                  return QStringList{QStringLiteral("exporta"),
                                     i.unidade + QStringLiteral("/lote/exportado.txt")};
              },
              true});
    return c;
}

Cenario CenarioDe(const QString &nome) {
    for (const Cenario &c : Cenarios())
        if (c.nome == nome) return c;
    qFatal("cenário desconhecido");
}

// A call of the fault-free trace that the tests fail: its kind and ordinal since the start.
struct Chamada {
    QString nome;
    int ordinal;
    QString linha;
};

} // namespace

class TstFalhasEs : public QObject {
    Q_OBJECT

private:
    QString m_ajudante;
    QString m_strace;
    QString m_semStrace; // why strace cannot be used here, or empty
    int m_injetadas = 0;
    int m_limites = 0;

    struct Execucao {
        std::unique_ptr<QTemporaryDir> dir;
        Instalacao inst;
        QString trace;
        Estado estado;
    };

    Execucao Prepara(const Cenario &c) {
        Execucao e;
        e.dir = std::make_unique<QTemporaryDir>();
        e.inst.unidade = e.dir->path() + QStringLiteral("/u");
        e.inst.cria();
        QDir().mkpath(e.inst.unidade + QStringLiteral("/lote"));
        c.prepara(e.inst);
        e.trace = e.dir->path() + QStringLiteral("/strace.txt");
        return e;
    }

    QProcessEnvironment Ambiente(const Instalacao &inst) const {
        QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
        amb.insert(QStringLiteral("VARDO_UNIDADE"), inst.unidade);
        // LeakSanitizer cannot run under ptrace.
        amb.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        return amb;
    }

    // Runs the helper (under `prefixo`, e.g. strace or prlimit) and collects what it left.
    void Roda(Execucao &e, const Cenario &c, const QStringList &prefixo) {
        QProcess p;
        p.setProcessEnvironment(Ambiente(e.inst));
        QStringList args = prefixo;
        args << m_ajudante << c.argumentos(e.inst);
        p.start(args.takeFirst(), args);
        QVERIFY2(p.waitForFinished(60000), "o ajudante não terminou");
        const QByteArray saida = p.readAllStandardOutput();
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 qPrintable(QStringLiteral("ajudante: código %1, %2")
                                .arg(p.exitCode())
                                .arg(QString::fromUtf8(p.readAllStandardError().right(2000)))));
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^resultado: (.*)$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(QString::fromUtf8(saida));
        QVERIFY2(m.hasMatch(), saida.constData());
        e.estado.resultado = m.captured(1);
        QDirIterator it(e.inst.unidade, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            QByteArray b = Le(f);
            // The trace names the files it read: the same in every run, whatever the drive.
            if (f.endsWith(QLatin1String(".txt")))
                b.replace(QFile::encodeName(e.inst.unidade), "<U>");
            e.estado.arquivos.insert(f.mid(e.inst.unidade.size() + 1), b);
        }
    }

    QStringList Strace(const QString &trace, const QString &injecao = {}) const {
        QStringList a{m_strace,
                      QStringLiteral("-f"),
                      QStringLiteral("-qq"),
                      QStringLiteral("-y"),
                      QStringLiteral("-o"),
                      trace,
                      QStringLiteral("-e"),
                      QStringLiteral("trace=access,") + Chamadas.join(QLatin1Char(','))};
        if (!injecao.isEmpty()) a << QStringLiteral("-e") << injecao;
        return a;
    }

    // The calls after the mark, of the main process, on the installation's paths.
    static QList<Chamada> Chamadas_(const QString &trace, const QString &unidade,
                                    bool soAberturasDeGravacao, QString *erro) {
        QFile f(trace);
        if (!f.open(QIODevice::ReadOnly)) {
            *erro = QStringLiteral("sem trace");
            return {};
        }
        const QRegularExpression re(QStringLiteral("^(\\d+) +(\\w+)\\((.*)$"));
        QList<Chamada> r;
        QMap<QString, int> ordinais;
        QString principal;
        bool marcou = false;
        while (!f.atEnd()) {
            const QString linha = QString::fromUtf8(f.readLine()).trimmed();
            const QRegularExpressionMatch m = re.match(linha);
            if (!m.hasMatch()) continue; // resumed calls, signals, exits
            if (principal.isEmpty()) principal = m.captured(1);
            if (m.captured(1) != principal) continue;
            const QString nome = m.captured(2);
            if (nome == QLatin1String("access")) {
                if (linha.contains(QLatin1String("\"/falhas-es-inicio\""))) marcou = true;
                continue;
            }
            const int ordinal = ++ordinais[nome];
            if (!marcou || !Chamadas.contains(nome)) continue;
            // A file descriptor shown with its path, or a path argument, under the drive.
            const QString args = m.captured(3);
            if (!args.contains(QLatin1Char('<') + unidade) &&
                !args.contains(QLatin1Char('"') + unidade))
                continue;
            if (soAberturasDeGravacao && nome == QLatin1String("openat") &&
                !args.contains(
                    QRegularExpression(QStringLiteral("O_WRONLY|O_RDWR|O_CREAT|O_TMPFILE"))) &&
                !(args.contains(QLatin1String("O_DIRECTORY")) &&
                  !args.contains(QLatin1String("O_NONBLOCK"))))
                continue;
            r.append({nome, ordinal, linha});
        }
        if (!marcou) *erro = QStringLiteral("a marca não apareceu no trace");
        return r;
    }

    // The checks of every run: the files are the old ones or the new ones, each whole, nothing
    // else is left, and a run that lost a file's update reported it.
    void Verifica(const Cenario &c, const Estado &antes, const Estado &depois, const Estado &e,
                  const QString &contexto) {
        const auto falhou = [&] {
            return e.resultado != QLatin1String("ok") &&
                   !e.resultado.startsWith(QLatin1String("ok "));
        };
        QSet<QString> nomes;
        for (auto it = antes.arquivos.cbegin(); it != antes.arquivos.cend(); ++it)
            nomes.insert(it.key());
        for (auto it = depois.arquivos.cbegin(); it != depois.arquivos.cend(); ++it)
            nomes.insert(it.key());
        for (auto it = e.arquivos.cbegin(); it != e.arquivos.cend(); ++it)
            QVERIFY2(nomes.contains(it.key()),
                     qPrintable(contexto + QStringLiteral(": arquivo a mais: ") + it.key()));

        bool algumAntigo = false;
        for (const QString &n : nomes) {
            const bool tinha = antes.arquivos.contains(n), tem = e.arquivos.contains(n),
                       tera = depois.arquivos.contains(n);
            const QByteArray agora = e.arquivos.value(n);
            const QString onde = contexto + QStringLiteral(": ") + n;
            if (n.endsWith(QLatin1String("StatusArqImportado.txt"))) {
                VerificaStatus(depois.arquivos.value(n), agora, onde);
                continue;
            }
            if (n.endsWith(QLatin1String("trace.txt")) && c.nome != QLatin1String("trace")) {
                // Appended to by every read of a table: whole entries of the fault-free run, in
                // order.
                QVERIFY2(depois.arquivos.value(n).startsWith(agora),
                         qPrintable(onde + QStringLiteral(": não é o começo do trace sem falhas")));
                QVERIFY2(agora.isEmpty() || agora.endsWith("-------\r\n"),
                         qPrintable(onde + QStringLiteral(": entrada pela metade")));
                continue;
            }
            const bool ehAntigo = tem == tinha && (!tem || agora == antes.arquivos.value(n));
            const bool ehNovo = tem == tera && (!tem || agora == depois.arquivos.value(n));
            QVERIFY2(ehAntigo || ehNovo,
                     qPrintable(
                         onde +
                         QStringLiteral(": nem o antigo nem o novo (%1 bytes)").arg(agora.size())));
            if (!ehNovo) algumAntigo = true;
        }
        if (algumAntigo && c.nome != QLatin1String("importa"))
            QVERIFY2(falhou(),
                     qPrintable(contexto + QStringLiteral(": arquivo não gravado e resultado ") +
                                e.resultado));
        if (c.nome == QLatin1String("importa")) VerificaImportacao(antes, depois, e, contexto);
    }

    // Each status line whole (CRLF) and one of the fault-free run's, in its order; an outcome may
    // be the write error instead of the success.
    void VerificaStatus(const QByteArray &esperado, const QByteArray &agora, const QString &onde) {
        QVERIFY2(agora.isEmpty() || agora.endsWith("\r\n"),
                 qPrintable(onde + QStringLiteral(": linha pela metade")));
        const QList<QByteArray> ok = Linhas(esperado);
        qsizetype j = 0;
        for (const QByteArray &l : Linhas(agora)) {
            while (j < ok.size() && ok.at(j) != l && !ErroNoLugarDe(l, ok.at(j)))
                ++j;
            QVERIFY2(j < ok.size(), qPrintable(onde + QStringLiteral(": linha inesperada: ") +
                                               QString::fromLatin1(l)));
            ++j;
        }
    }
    static bool ErroNoLugarDe(const QByteArray &l, const QByteArray &ok) {
        const QByteArray erro = W("  - Erro na gravação do arquivo TabRot.bin");
        for (const QByteArray &sucesso : {QByteArray("  - Registro inserido com sucesso"),
                                          QByteArray("  - Registro excluido com sucesso")})
            if (ok.endsWith(sucesso) && l == ok.left(ok.size() - sucesso.size()) + erro)
                return true;
        return false;
    }

    // A record whose table was not written never says it was.
    void VerificaImportacao(const Estado &antes, const Estado &, const Estado &e,
                            const QString &contexto) {
        const QByteArray status = e.arquivos.value(QStringLiteral("lote/StatusArqImportado.txt"));
        const QList<QByteArray> linhas = status.isEmpty() ? QList<QByteArray>() : Linhas(status);
        const struct {
            const char *tabela;
            const char *registro;
        } registros[] = {{"Vardo/config/TabRot.bin", "TODAS;AMEX"},
                         {"Vardo/config/Empresas/87654321/TabRot.bin", "87654321;HIPER"},
                         {"Vardo/config/Empresas/EMPRESA1/TabRot.bin", "EMPRESA1;ELO"}};
        bool falhaRelatada = e.resultado.startsWith(QLatin1String("erro"));
        for (const auto &r : registros) {
            const QString tabela = QLatin1String(r.tabela);
            const bool gravada = e.arquivos.value(tabela) != antes.arquivos.value(tabela) ||
                                 e.arquivos.contains(tabela) != antes.arquivos.contains(tabela);
            QByteArray desfecho;
            for (qsizetype i = 0; i + 2 < linhas.size(); ++i)
                if (linhas.at(i).startsWith(r.registro)) desfecho = linhas.at(i + 2);
            if (desfecho.endsWith(" com sucesso"))
                QVERIFY2(gravada, qPrintable(contexto + QStringLiteral(": sucesso relatado e ") +
                                             tabela + QStringLiteral(" não gravada")));
            if (!gravada)
                QVERIFY2(falhaRelatada || desfecho.contains("Erro"),
                         qPrintable(contexto + QStringLiteral(": ") + tabela +
                                    QStringLiteral(" não gravada sem aviso")));
        }
    }

private slots:
    void initTestCase() {
        const QString binarios =
            qEnvironmentVariable("TESTES_BINARIOS", QCoreApplication::applicationDirPath());
        m_ajudante = binarios + QStringLiteral("/falhas_es_ajudante");
        QVERIFY2(QFileInfo(m_ajudante).isExecutable(), qPrintable(m_ajudante));
        m_strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
        if (m_strace.isEmpty()) {
            m_semStrace = QStringLiteral(
                "strace não está instalado (scripts/instala-dependencias.sh o instala)");
            return;
        }
        QProcess p;
        p.start(m_strace,
                {QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            m_semStrace =
                QStringLiteral("strace não consegue acompanhar processos aqui (ptrace negado): ") +
                QString::fromUtf8(p.readAllStandardError().trimmed());
    }

    void cleanupTestCase() {
        qInfo("falhas injetadas: %d; execuções com limite de tamanho: %d", m_injetadas, m_limites);
    }

    void injecao_data() {
        QTest::addColumn<QString>("cenario");
        for (const Cenario &c : Cenarios())
            QTest::newRow(qPrintable(c.nome)) << c.nome;
    }

    // Every file call of the operation failed in turn.
    void injecao() {
        QFETCH(QString, cenario);
        // A CI run that cannot trace has not tested the writers: that is a failure, not a skip.
        if (!m_semStrace.isEmpty() && qEnvironmentVariableIsSet("CI"))
            QFAIL(qPrintable(m_semStrace + QStringLiteral(" (CI definido)")));
        if (!m_semStrace.isEmpty()) QSKIP(qPrintable(m_semStrace));
        const Cenario c = CenarioDe(cenario);

        Execucao limpa = Prepara(c);
        const Estado antes = [&] {
            Execucao x = Prepara(c);
            Estado s;
            QDirIterator it(x.inst.unidade, QDir::Files | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString f = it.next();
                s.arquivos.insert(f.mid(x.inst.unidade.size() + 1), Le(f));
            }
            return s;
        }();
        Roda(limpa, c, Strace(limpa.trace));
        if (QTest::currentTestFailed()) return;
        QVERIFY2(limpa.estado.resultado.startsWith(QLatin1String("ok")),
                 qPrintable(limpa.estado.resultado));
        QString erro;
        const QList<Chamada> chamadas =
            Chamadas_(limpa.trace, limpa.inst.unidade, c.soAberturasDeGravacao, &erro);
        QVERIFY2(erro.isEmpty(), qPrintable(erro));
        QVERIFY2(!chamadas.isEmpty(), "nenhuma chamada de arquivo depois da marca");

        int n = 0;
        const int inicio = m_injetadas;
        for (const Chamada &ch : chamadas) {
            // Every errno on the single table writes; one each, in turn, on the longer runs.
            QStringList erros = Erros;
            if (c.nome == QLatin1String("importa") || c.nome == QLatin1String("exporta"))
                erros = {Erros.at(n % Erros.size())};
            ++n;
            for (const QString &errno_ : erros) {
                Execucao x = Prepara(c);
                const QString injecao = QStringLiteral("inject=%1:error=%2:when=%3")
                                            .arg(ch.nome, errno_)
                                            .arg(ch.ordinal);
                Roda(x, c, Strace(x.trace, injecao));
                if (QTest::currentTestFailed()) return;
                const QString contexto = QStringLiteral("%1 #%2 %3 (%4)")
                                             .arg(ch.nome)
                                             .arg(ch.ordinal)
                                             .arg(errno_, ch.linha.left(160));
                // The call failed must be the one meant: the same call of the fault-free run.
                QFile t(x.trace);
                QVERIFY(t.open(QIODevice::ReadOnly));
                const QByteArray tudo = t.readAll();
                const qsizetype marca = tudo.indexOf("\"/falhas-es-inicio\"");
                const qsizetype injetada = tudo.indexOf("(INJECTED)");
                QVERIFY2(
                    marca >= 0 && injetada > marca,
                    qPrintable(contexto + QStringLiteral(": a falha não caiu depois da marca")));
                const qsizetype inicioLinha = tudo.lastIndexOf('\n', injetada) + 1;
                const QByteArray linhaInjetada = tudo.mid(inicioLinha, injetada - inicioLinha);
                QVERIFY2(linhaInjetada.contains(QFile::encodeName(x.inst.unidade)),
                         qPrintable(contexto + QStringLiteral(": falhou outra chamada: ") +
                                    QString::fromUtf8(linhaInjetada)));
                ++m_injetadas;
                // The import tells its failures in the status file, not in its result.
                if (x.estado.resultado.startsWith(QLatin1String("ok")) &&
                    c.nome != QLatin1String("importa"))
                    qInfo("absorvida, com os arquivos novos completos: %s", qPrintable(contexto));
                Verifica(c, antes, limpa.estado, x.estado, contexto);
                if (QTest::currentTestFailed()) return;
            }
        }
        qInfo("%s: %d chamadas de arquivo, %d falhas injetadas", qPrintable(c.nome),
              int(chamadas.size()), m_injetadas - inicio);
    }

    void discoCheio_data() {
        QTest::addColumn<QString>("cenario");
        for (const char *n : {"tabrot substitui", "tabrot cria", "importa", "exporta"})
            QTest::newRow(n) << QString::fromLatin1(n);
    }

    // A full disk: every write past the limit fails with EFBIG (SIGXFSZ ignored).
    void discoCheio() {
        QFETCH(QString, cenario);
        const QString prlimit = QStandardPaths::findExecutable(QStringLiteral("prlimit"));
        if (prlimit.isEmpty()) QSKIP("prlimit (util-linux) não está instalado");
        const Cenario c = CenarioDe(cenario);

        Execucao limpa = Prepara(c);
        Estado antes;
        {
            Execucao x = Prepara(c);
            QDirIterator it(x.inst.unidade, QDir::Files | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString f = it.next();
                antes.arquivos.insert(f.mid(x.inst.unidade.size() + 1), Le(f));
            }
        }
        Roda(limpa, c, {});
        if (QTest::currentTestFailed()) return;
        QVERIFY2(limpa.estado.resultado.startsWith(QLatin1String("ok")),
                 qPrintable(limpa.estado.resultado));
        qsizetype maior = 0;
        for (const QByteArray &b : limpa.estado.arquivos)
            maior = qMax(maior, b.size());

        QList<qsizetype> limites{0, 1, 4, 30, 100, 250, 600, 1500, maior - 1};
        for (const qsizetype limite : limites) {
            if (limite < 0 || limite >= maior) continue;
            Execucao x = Prepara(c);
            Roda(x, c, {prlimit, QStringLiteral("--fsize=%1").arg(limite)});
            if (QTest::currentTestFailed()) return;
            ++m_limites;
            Verifica(c, antes, limpa.estado, x.estado, QStringLiteral("limite %1").arg(limite));
            if (QTest::currentTestFailed()) return;
        }
    }
};

QTEST_GUILESS_MAIN(TstFalhasEs)
#include "tst_falhas_es.moc"
