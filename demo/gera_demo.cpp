// Builds the demo installation that `make run` opens: a drive with the installation root Vardo/
// (COMUNIC.cnf, VARDOCFG.INI, companies, routing tables) and the network modules under
// vardo/aplic.win/bib/. The drive is rebuilt from nothing on every run.
//
//   gera_demo <drive> <module.bpl>...
//
// The network codes come from the build (REDE_<name>), the same ones the modules answer.

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/gravacao_atomica.h"
#include "env/perfil.h"
#include "env/redes.h"
#include "env/texto.h"
#include "routing/tabrot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdint>
#include <initializer_list>
#include <memory>

namespace {

// A network configured in COMUNIC.cnf that has no module at this site: offered nowhere.
constexpr std::uint16_t RedeSemModulo = 30;

constexpr int TamRegistroComunic = 130;
enum TipoRegistroComunic : std::uint16_t {
    RegistroGeral = 1,
    RegistroRede = 2,
    RegistroLinha = 5,
    RegistroTecban = 7,
};
constexpr std::uint16_t TecbanHostAHost = 1;

void Falha(const QString &texto) {
    throw ErroES(texto);
}

void PoePalavra(QByteArray &b, int offset, std::uint16_t valor) {
    b[offset] = char(valor & 0xFF);
    b[offset + 1] = char(valor >> 8);
}

void Grava(const QString &caminho, const QByteArray &bytes) {
    QString erro;
    if (GravaArquivoAtomico(caminho, bytes, &erro) != Gravacao::Ok)
        Falha(QStringLiteral("%1: %2").arg(caminho, erro));
}

// The server keeps a description after the two words this tool reads; it is only for show.
QByteArray Registro(std::uint16_t tipo, std::uint16_t valor, const char *descricao) {
    QByteArray r(TamRegistroComunic, '\0');
    PoePalavra(r, 0, 1);
    PoePalavra(r, 2, tipo);
    PoePalavra(r, 4, valor);
    const QByteArray d = cp1252(descricao).left(TamRegistroComunic - 7);
    r.replace(6, d.size(), d);
    return r;
}

QByteArray Comunic() {
    QByteArray c;
    c += Registro(RegistroGeral, 0, "SERVIDOR TEF DEMONSTRAÇÃO");
    c += Registro(RegistroRede, REDE_RedeAlfa, "REDE ALFA");
    c += Registro(RegistroRede, REDE_CardNet, "CARDNET");
    c += Registro(RegistroLinha, 3, "LINHA X.25 PRINCIPAL");
    c += Registro(RegistroRede, REDE_Tecban, "TECBAN");
    c += Registro(RegistroRede, REDE_BancoSol, "BANCO SOL");
    c += Registro(RegistroRede, REDE_ValeFrota, "VALE FROTA");
    c += Registro(RegistroRede, REDE_PostoCard, "POSTOCARD");
    c += Registro(RegistroRede, RedeSemModulo, "REDE DESATIVADA");
    c += Registro(RegistroTecban, TecbanHostAHost, "CONEXÃO TECBAN");
    return c;
}

void GravaVardoCfg(const QString &arquivo) {
    // What the server's own set-up leaves: a comment and the general keys; the routing switch
    // is then written the way the tool writes it.
    Grava(arquivo, cp1252("; Configuração do servidor TEF - instalação de demonstração\r\n"
                          "[Geral]\r\n"
                          "NomeSite=Demonstração\r\n"
                          "PortaServidor=5001\r\n"
                          "TempoEsperaRede=45\r\n"
                          "\r\n"
                          "[Log]\r\n"
                          "Nivel=2\r\n"
                          "Diretorio=\\Vardo\\log\r\n"));
    GravaPerfilTexto(arquivo, "Geral", "HabilitaBinsPorEmpresa", "1");
}

// A company file: the server reads far more of it; the tool only the first two bytes.
void GravaEmpresa(const QString &config, const char *codigo, const char *nome) {
    QByteArray b("\x10\x01", 2);
    QByteArray n = cp1252(nome);
    n.resize(60, '\0');
    b += n;
    b += QByteArray(64, '\0');
    Grava(config + QLatin1Char('/') + QLatin1String(codigo) + QStringLiteral(".cnf"), b);
}

struct Cartao {
    const char *nome;
    std::uint16_t rede;
    std::initializer_list<const char *> bins;
};

class Tabela {
public:
    Tabela() : m_t(std::make_unique<TTabRot>()) { LimpaTabRot(*m_t); }

    // The order the main window saves: default networks first, then credit, debit, fuel.
    Tabela &Padrao(TipoCartao tipo, std::uint16_t rede) {
        TCartao &c = Novo();
        c.Tipo = tipo;
        c.CodRede = rede;
        return *this;
    }
    Tabela &Cartoes(TipoCartao tipo, std::initializer_list<Cartao> cartoes) {
        for (const Cartao &k : cartoes) {
            TCartao &c = Novo();
            CopiaTextoParaCampo(cp1252(k.nome), c.Nome);
            c.CodRede = k.rede;
            c.Tipo = tipo;
            for (const char *bin : k.bins)
                CopiaTextoParaCampo(bin, c.Bins[c.QtdBins++]);
        }
        return *this;
    }
    void Grava(const QString &caminho) const {
        QDir().mkpath(QFileInfo(caminho).absolutePath());
        if (!GravaTabRot(caminho, *m_t)) Falha(caminho);
    }

private:
    TCartao &Novo() { return m_t->Cartoes[m_t->Qtd++]; }
    std::unique_ptr<TTabRot> m_t;
};

void GravaTabelas(const QString &raiz) {
    Tabela()
        .Padrao(TipoPadraoCredito, REDE_RedeAlfa)
        .Padrao(TipoPadraoDebito, REDE_BancoSol)
        .Padrao(TipoPadraoCombustivel, REDE_ValeFrota)
        .Cartoes(TipoCredito,
                 {{"VISA", REDE_CardNet, {"411111", "400000-400099", "453211", "476173"}},
                  {"MASTERCARD", REDE_RedeAlfa, {"510000-559999", "222100-272099"}},
                  {"ELO CRÉDITO", REDE_Tecban, {"636368", "438935", "504175", "451416"}},
                  {"AMERICAN EXPRESS", REDE_CardNet, {"340000-349999", "370000-379999"}},
                  {"HIPERCARD", REDE_RedeAlfa, {"606282", "384100-384199"}},
                  {"DINERS", RedeBloqueada, {"300000-305999", "360000-369999"}}})
        .Cartoes(TipoDebito,
                 {{"VISA ELECTRON", REDE_BancoSol, {"417400-417499", "424519", "491730"}},
                  {"MAESTRO", REDE_RedeAlfa, {"501000-509999", "560000-589999"}},
                  {"ELO DÉBITO", REDE_Tecban, {"506699-506778", "509000-509999"}}})
        .Cartoes(TipoCombustivel, {{"VALE FROTA", REDE_ValeFrota, {"606071", "606072"}},
                                   {"TICKET CAR", REDE_PostoCard, {"603342-603399"}},
                                   {"GOOD CARD", REDE_ValeFrota, {"627892-627899", "636411"}},
                                   {"FROTA ANTIGA", RedeBloqueada, {"589916"}}})
        .Grava(Caminhos::TabRotTodas(raiz));

    // A shop chain with its own acquirer contracts: no fuel.
    Tabela()
        .Padrao(TipoPadraoCredito, REDE_CardNet)
        .Padrao(TipoPadraoDebito, REDE_RedeAlfa)
        .Cartoes(TipoCredito,
                 {{"VISA", REDE_CardNet, {"411111", "400000-400099"}},
                  {"MASTERCARD", REDE_CardNet, {"510000-559999"}},
                  {"CARTÃO DA LOJA", REDE_RedeAlfa, {"627170-627179"}},
                  {"AMERICAN EXPRESS", RedeBloqueada, {"340000-349999", "370000-379999"}}})
        .Cartoes(TipoDebito, {{"MAESTRO", REDE_RedeAlfa, {"501000-509999"}},
                              {"ELO DÉBITO", REDE_Tecban, {"506699-506778"}}})
        .Grava(Caminhos::TabRotEmpresa(raiz, QStringLiteral("LOJAS001")));

    // A filling station: fuel cards first of all.
    Tabela()
        .Padrao(TipoPadraoCombustivel, REDE_PostoCard)
        .Padrao(TipoPadraoCredito, REDE_PostoCard)
        .Cartoes(TipoCredito, {{"VISA", REDE_PostoCard, {"411111", "453211"}}})
        .Cartoes(TipoDebito, {{"VISA ELECTRON", REDE_BancoSol, {"417400-417499"}}})
        .Cartoes(TipoCombustivel,
                 {{"VALE FROTA", REDE_ValeFrota, {"606071", "606072"}},
                  {"TICKET CAR", REDE_PostoCard, {"603342-603399"}},
                  {"CARTÃO FROTA PRÓPRIO", REDE_PostoCard, {"123456789-123456999"}},
                  {"FROTA ANTIGA", RedeBloqueada, {"589916"}}})
        .Grava(Caminhos::TabRotEmpresa(raiz, QStringLiteral("POSTO002")));
}

void Gera(const QString &unidade, const QStringList &modulos) {
    QDir drive(unidade);
    if (drive.exists() && !drive.removeRecursively()) Falha(QStringLiteral("remover ") + unidade);

    // Trace entries and the default root land on the demo drive, never on the machine's /Vardo.
    qputenv("VARDO_UNIDADE", QFile::encodeName(QFileInfo(unidade).absoluteFilePath()));
    const QString raiz = Raiz();
    const QString config = Caminhos::Config(raiz);
    const QString bib = Caminhos::DiretorioModulos();
    for (const QString &d : {config, Caminhos::DiretorioEmpresas(raiz), bib})
        if (!QDir().mkpath(d)) Falha(QStringLiteral("criar ") + d);

    for (const QString &m : modulos) {
        const QString destino = bib + QFileInfo(m).fileName();
        if (!QFile::copy(m, destino)) Falha(QStringLiteral("copiar ") + m);
    }
    Grava(Caminhos::Comunic(raiz), Comunic());
    GravaVardoCfg(Caminhos::VardoCfg(raiz));
    GravaEmpresa(config, "LOJAS001", "LOJAS DEMONSTRAÇÃO LTDA");
    GravaEmpresa(config, "POSTO002", "AUTO POSTO DEMONSTRAÇÃO");
    GravaEmpresa(config, "MERCADO3", "SUPERMERCADO DEMONSTRAÇÃO");
    GravaTabelas(raiz);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        QTextStream(stderr) << "uso: gera_demo <unidade> <modulo.bpl>...\n";
        return 2;
    }
    try {
        Gera(args.first(), args.mid(1));
    } catch (const ErroES &e) {
        QTextStream(stderr) << "gera_demo: " << e.texto() << '\n';
        return 1;
    }
    return 0;
}
