// Profile files on arbitrary bytes and names: look-ups never fail, and a key written with a
// plain name and value reads back as written, through bytes and through the file.
#include "fuzz_comum.h"

#include "env/erro.h"
#include "env/perfil.h"

namespace {

bool NomeSimples(const QByteArray &n) {
    if (n.isEmpty()) return false;
    for (const char c : n)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '_'))
            return false;
    return true;
}

bool ValorSimples(const QByteArray &v) {
    for (const char c : v)
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '"' || c == '\'') return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho) {
    fuzz::Cursor cursor(dados, tamanho);
    const QByteArray secao = cursor.Pedaco(24);
    const QByteArray chave = cursor.Pedaco(24);
    const QByteArray valor = cursor.Pedaco(24);
    const QByteArray conteudo = cursor.Resto();
    const QByteArray padrao("\x01padrao\x02");

    const QByteArray lido = PerfilTexto(conteudo, secao, chave, padrao);
    const int inteiro = PerfilInteiro(conteudo, secao, chave, -7);
    int v = 0;
    if (lido != padrao && TextoParaInteiro(lido, v))
        FUZZ_EXIGE(inteiro == v);
    else
        FUZZ_EXIGE(inteiro == -7);
    TextoParaInteiro(valor, v);
    // A value runs to the end of its line at most.
    if (lido != padrao) FUZZ_EXIGE(!lido.contains('\r') && !lido.contains('\n'));

    const QByteArray novo = PerfilComChave(conteudo, secao, chave, valor);
    if (NomeSimples(secao) && NomeSimples(chave) && ValorSimples(valor)) {
        FUZZ_EXIGE(PerfilTexto(novo, secao, chave, padrao) == valor);
        FUZZ_EXIGE(PerfilTexto(novo, secao.toLower(), chave.toUpper(), padrao) == valor);
    }

    // Through the file the answers are the same.
    const QString arquivo = fuzz::Config() + QStringLiteral("/VARDOCFG.INI");
    FUZZ_EXIGE(fuzz::Escreve(arquivo, conteudo));
    FUZZ_EXIGE(LePerfilTexto(arquivo, secao, chave, padrao) == lido);
    FUZZ_EXIGE(LePerfilInteiro(arquivo, secao, chave, -7) == inteiro);
    try {
        GravaPerfilTexto(arquivo, secao, chave, valor);
        FUZZ_EXIGE(fuzz::Le(arquivo) == novo);
    } catch (const ErroES &) {
        fuzz::Falha("GravaPerfilTexto num arquivo gravável");
    }
    return 0;
}
