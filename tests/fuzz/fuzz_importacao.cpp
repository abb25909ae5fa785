// A whole import of arbitrary bytes against a scratch installation: afterwards every TabRot.bin
// still reads back, a damaged table is left as it was, the status file holds whole lines, and
// nothing was written outside the installation's own places.
#include "fuzz_comum.h"

#include "batch/importacao.h"
#include "env/erro.h"

#include <QDirIterator>
#include <QRegularExpression>

#include <cstring>

namespace {

struct Semente {
    QString caminho; // under config/
    QByteArray bytes;
};

QByteArray Tabela(int qtd, std::uint16_t rede) {
    TTabRot *t = new TTabRot;
    LimpaTabRot(*t);
    t->Qtd = std::uint16_t(qtd);
    for (int i = 0; i < qtd; ++i) {
        TCartao &c = t->Cartoes[i];
        CopiaTextoParaCampo("CARTAO " + QByteArray::number(i), c.Nome);
        c.CodRede = rede;
        c.Tipo = std::uint8_t(1 + i % 3);
        c.QtdBins = std::uint8_t(1 + i % 3);
        for (int j = 0; j < c.QtdBins; ++j)
            CopiaTextoParaCampo(QByteArray::number(411111 + i * 10 + j), c.Bins[j]);
    }
    const QByteArray b = BytesDaTabRot(*t);
    delete t;
    return b;
}

const QList<Semente> &Sementes() {
    static const QList<Semente> s{
        {QStringLiteral("EMPRESA1.cnf"), QByteArray("\x10\x01rest", 6)},
        {QStringLiteral("EMPRESA2.cnf"), QByteArray("\x10\x01", 2)},
        {QStringLiteral("TabRot.bin"), Tabela(3, 10)},
        {QStringLiteral("Empresas/EMPRESA1/TabRot.bin"), Tabela(2, 20)},
        {QStringLiteral("Empresas/EMPRESA2/TabRot.bin"), Tabela(349, 30)},
        {QStringLiteral("Empresas/DANIFICA/TabRot.bin"), Tabela(2, 20).left(50)},
    };
    return s;
}

const QRegularExpression &Permitidos() {
    static const QRegularExpression re(
        QStringLiteral("^(importa/(importa\\.txt|StatusArqImportado\\.txt(\\.lck)?)|Vardo/config/"
                       "(TabRot\\.bin(\\.lck)?|trace\\.txt|EMPRESA[12]\\.cnf|"
                       "Empresas/[A-Z0-9]{8}/TabRot\\.bin(\\.lck)?))$"));
    return re;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho) {
    const QString unidade = fuzz::Unidade();
    const QString config = fuzz::Config();
    fuzz::Esvazia(unidade);
    for (const Semente &s : Sementes()) {
        const QString c = config + QLatin1Char('/') + s.caminho;
        QDir().mkpath(QFileInfo(c).absolutePath());
        FUZZ_EXIGE(fuzz::Escreve(c, s.bytes));
    }
    QDir().mkpath(unidade + QStringLiteral("/importa"));
    const QString arquivo = unidade + QStringLiteral("/importa/importa.txt");
    FUZZ_EXIGE(fuzz::Escreve(
        arquivo, QByteArray(reinterpret_cast<const char *>(dados), qsizetype(tamanho))));

    static TTabRot tabela;
    try {
        ExecutaImportacao(arquivo, tabela);
    } catch (const ErroES &) {
        fuzz::Falha("a importação terminou com erro de E/S numa instalação sadia");
    }

    const QByteArray danificada = Sementes().last().bytes;
    QDirIterator it(unidade, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString c = it.next();
        if (it.fileInfo().isDir()) continue;
        const QString relativo = c.mid(unidade.size() + 1);
        if (!Permitidos().match(relativo).hasMatch()) {
            std::fprintf(stderr, "arquivo inesperado: %s\n", qPrintable(relativo));
            fuzz::Falha("arquivo fora dos lugares da instalação (ou temporário deixado)");
        }
        if (relativo.endsWith(QLatin1String(".lck"))) FUZZ_EXIGE(it.fileInfo().size() == 0);
        if (!relativo.endsWith(QLatin1String("TabRot.bin"))) continue;
        const QByteArray bytes = fuzz::Le(c);
        if (relativo.contains(QLatin1String("/DANIFICA/"))) {
            FUZZ_EXIGE(bytes == danificada);
            continue;
        }
        static TTabRot relida;
        FUZZ_EXIGE(TabRotDosBytes(bytes, relida));
        FUZZ_EXIGE(BytesDaTabRot(relida) == bytes);
    }
    const QByteArray status = fuzz::Le(unidade + QStringLiteral("/importa/StatusArqImportado.txt"));
    FUZZ_EXIGE(status.isEmpty() || status.endsWith("\r\n"));
    return 0;
}
