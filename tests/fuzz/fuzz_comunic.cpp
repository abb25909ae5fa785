// COMUNIC.cnf on arbitrary bytes, crossed with a fixed set of network modules: record lists
// stay within the file, every listed network is a module's and its name maps back to its code.
#include "fuzz_comum.h"

#include "env/caminhos.h"
#include "env/redes.h"

#include <QtEndian>

namespace {

// The modules the catalogue is crossed with (codes 20, 10, 40, 30 and a second 20).
const char *const Modulos[] = {"seA.bpl", "seB.bpl", "seC.bpl", "seTecban.bpl", "seOutra.bpl"};

CatalogoRedes &Catalogo() {
    static CatalogoRedes *catalogo = [] {
        const QString bib = fuzz::Unidade() + QStringLiteral("/vardo/aplic.win/bib/");
        QDir().mkpath(bib);
        for (const char *m : Modulos)
            QFile::copy(QStringLiteral(FUZZ_MODULOS "/") + QLatin1String(m),
                        bib + QLatin1String(m));
        auto *c = new CatalogoRedes;
        if (c->CarregaModulos() != int(std::size(Modulos))) fuzz::Falha("consulta dos módulos");
        return c;
    }();
    return *catalogo;
}

std::uint16_t Palavra(const QByteArray &b, int registro, int offset) {
    return qFromLittleEndian<std::uint16_t>(b.constData() + (registro - 1) * 130 + offset);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho) {
    CatalogoRedes &catalogo = Catalogo();
    const QByteArray bytes(reinterpret_cast<const char *>(dados), qsizetype(tamanho));
    const QString arquivo = Caminhos::Comunic(Raiz());
    FUZZ_EXIGE(fuzz::Escreve(arquivo, bytes));

    const bool leu = catalogo.CarregaComunic();
    FUZZ_EXIGE(leu == !bytes.isEmpty());
    const qsizetype usados = qMin<qsizetype>(bytes.size(), CatalogoRedes::TamBuffer);
    FUZZ_EXIGE(catalogo.QtdRegistros() == usados / CatalogoRedes::TamRegistro);

    const QList<std::uint16_t> registros = catalogo.ListaRegistrosRede();
    FUZZ_EXIGE(registros.size() <= CatalogoRedes::MaxRegistrosRede);
    int anterior = 0;
    for (const std::uint16_t r : registros) {
        FUZZ_EXIGE(r > anterior && r <= catalogo.QtdRegistros());
        FUZZ_EXIGE(Palavra(bytes, r, 2) == 2);
        anterior = r;
    }

    for (const std::uint16_t mascara : {1, 2, 4, 7, 0xFFFF}) {
        const QList<QByteArray> redes = catalogo.RedesDoTipo(mascara);
        FUZZ_EXIGE(!redes.isEmpty() && redes.first() == "Bloqueada");
        FUZZ_EXIGE(redes.size() <= 1 + registros.size());
        for (qsizetype i = 1; i < redes.size(); ++i) {
            const std::uint16_t codigo = catalogo.CodigoDaRede(redes.at(i));
            FUZZ_EXIGE(codigo != 0);
            FUZZ_EXIGE(catalogo.TiposDaRede(codigo) & mascara);
            FUZZ_EXIGE(catalogo.NomeDaRede(codigo) == redes.at(i));
        }
    }
    QByteArray tecban("TecBan");
    catalogo.NomeConexaoTecban(tecban);
    FUZZ_EXIGE(tecban == "TecBan" || tecban == "Tecban On Line" || tecban == "Tecban Host a Host");
    return 0;
}
