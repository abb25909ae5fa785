// The import line cutter and ValidaRegistro on arbitrary bytes: lines hold no line end, fields
// rejoin into their line, a record found valid fits the table's fields, and the status file
// gets exactly one verdict line per record.
#include "fuzz_comum.h"

#include "batch/importacao.h"
#include "env/texto.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho) {
    const QByteArray conteudo(reinterpret_cast<const char *>(dados), qsizetype(tamanho));
    const QString status = fuzz::Config() + QStringLiteral("/StatusArqImportado.txt");
    QFile::remove(status);
    ArquivoStatus arquivoStatus(status);

    const QList<QByteArray> linhas = LinhasImportacao(conteudo);
    const qsizetype fimTexto =
        conteudo.contains('\x1A') ? conteudo.indexOf('\x1A') : conteudo.size();
    FUZZ_EXIGE(linhas.size() <= conteudo.left(fimTexto).count('\n') + 1);
    QList<bool> veredictos;
    for (const QByteArray &linha : linhas) {
        FUZZ_EXIGE(!linha.contains('\n') && !linha.contains('\r') && !linha.contains('\x1A'));
        const CamposRegistro campos = CortaCampos(linha);
        if (!linha.contains('"')) {
            FUZZ_EXIGE(campos.isEmpty() == linha.isEmpty());
            if (!linha.isEmpty()) FUZZ_EXIGE(campos.join(';') == linha);
        }
        if (veredictos.size() >= 64) continue; // the status file stays small
        const bool valido = ValidaRegistro(arquivoStatus, campos);
        veredictos.append(valido);
        if (!valido) continue;
        FUZZ_EXIGE(campos.size() >= 6);
        FUZZ_EXIGE(!campos.at(0).isEmpty());
        FUZZ_EXIGE(!campos.at(1).isEmpty() && campos.at(1).size() < TamNome);
        // Empty items are dropped by the import, and are not counted against the 20.
        CamposRegistro bins = CortaCampos(campos.at(2), ',');
        bins.removeIf([](const QByteArray &b) { return b.isEmpty(); });
        FUZZ_EXIGE(!bins.isEmpty() && bins.size() <= MaxBins);
        for (const QByteArray &b : bins)
            FUZZ_EXIGE(b.size() < TamBin);
        FUZZ_EXIGE(!campos.at(3).isEmpty() && campos.at(3).size() <= 3);
        FUZZ_EXIGE(QByteArray("CcDdFf").contains(campos.at(4)) && campos.at(4).size() == 1);
        FUZZ_EXIGE(QByteArray("IiEe").contains(campos.at(5)) && campos.at(5).size() == 1);
    }

    // One CRLF-ended line per verdict, in order.
    const QByteArray gravado = fuzz::Le(status);
    QList<QByteArray> escritas;
    if (!gravado.isEmpty()) {
        escritas = gravado.split('\n');
        FUZZ_EXIGE(escritas.takeLast().isEmpty());
    }
    FUZZ_EXIGE(escritas.size() == veredictos.size());
    for (qsizetype i = 0; i < escritas.size(); ++i) {
        FUZZ_EXIGE(escritas.at(i).endsWith('\r'));
        const QByteArray fim = veredictos.at(i) ? QByteArray("  - Registro OK\r")
                                                : cp1252("  - Registro com Dados Inválido\r");
        FUZZ_EXIGE(escritas.at(i).endsWith(fim));
    }
    return 0;
}
