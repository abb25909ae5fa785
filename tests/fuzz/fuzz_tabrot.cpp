// The TabRot.bin reader on arbitrary bytes: a damaged file leaves the table exactly as it was,
// an accepted one holds only what fits and writes back to the same bytes.
#include "fuzz_comum.h"

#include "routing/tabrot.h"

#include <cstring>

namespace {

TTabRot g_tabela;
TTabRot g_antes;

void Marca(TTabRot &t, std::uint8_t semente) {
    auto *p = reinterpret_cast<std::uint8_t *>(&t);
    for (size_t i = 0; i < sizeof t; ++i)
        p[i] = std::uint8_t(semente + i * 7);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho) {
    const QByteArray bytes(reinterpret_cast<const char *>(dados), qsizetype(tamanho));
    const std::uint8_t semente = tamanho ? dados[0] : 0;

    Marca(g_tabela, semente);
    g_antes = g_tabela;
    const bool aceito = TabRotDosBytes(bytes, g_tabela);
    if (!aceito) {
        FUZZ_EXIGE(std::memcmp(&g_tabela, &g_antes, sizeof g_tabela) == 0);
    } else {
        FUZZ_EXIGE(g_tabela.Qtd <= MaxCartoes);
        for (int i = 0; i < g_tabela.Qtd; ++i) {
            FUZZ_EXIGE(g_tabela.Cartoes[i].QtdBins <= MaxBins);
            FUZZ_EXIGE(CopiaCampoParaTexto(g_tabela.Cartoes[i].Nome, TamNome).size() < TamNome);
        }
        // Entries above Qtd keep what they held.
        for (int i = g_tabela.Qtd; i < MaxCartoes; ++i)
            FUZZ_EXIGE(std::memcmp(&g_tabela.Cartoes[i], &g_antes.Cartoes[i], sizeof(TCartao)) ==
                       0);
        // Written back, the file is the one read (the header word aside, always written as 1).
        const QByteArray escrito = BytesDaTabRot(g_tabela);
        FUZZ_EXIGE(escrito.size() <= bytes.size());
        FUZZ_EXIGE(escrito.mid(2) == bytes.mid(2, escrito.size() - 2));
        TTabRot relida = g_tabela;
        FUZZ_EXIGE(TabRotDosBytes(escrito, relida));
        FUZZ_EXIGE(std::memcmp(&relida, &g_tabela, sizeof relida) == 0);
    }

    // The same bytes through the file: same verdict, same table.
    const QString caminho = fuzz::Config() + QStringLiteral("/TabRot.bin");
    FUZZ_EXIGE(fuzz::Escreve(caminho, bytes));
    TTabRot doArquivo;
    Marca(doArquivo, semente);
    FUZZ_EXIGE(LeTabRot(caminho, doArquivo) == aceito);
    FUZZ_EXIGE(std::memcmp(&doArquivo, &g_tabela, sizeof doArquivo) == 0);
    if (aceito) {
        FUZZ_EXIGE(GravaTabRot(caminho, doArquivo));
        FUZZ_EXIGE(fuzz::Le(caminho) == BytesDaTabRot(doArquivo));
    }
    QFile::remove(fuzz::Config() + QStringLiteral("/trace.txt"));
    return 0;
}
