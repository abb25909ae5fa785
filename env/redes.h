#pragma once
// The network catalogue: the networks configured in COMUNIC.cnf, crossed with the network
// modules (se*.bpl) that say which code they serve, their name and the card types they take.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// The blocked network: a card that no network serves, shown by this name.
constexpr std::uint16_t RedeBloqueada = 0xFFFF;
inline const QByteArray NomeRedeBloqueada = QByteArrayLiteral("Bloqueada");

// Card-type bits of a module's mask.
enum MascaraTipo : std::uint16_t {
    MascaraCredito = 1,
    MascaraDebito = 2,
    MascaraCombustivel = 4,
};

struct ModuloRede {
    QString caminho;          // full path of the module file
    std::uint16_t codigo = 0; // network code served
    std::uint16_t tipos = 0;  // card-type mask
    // The two other words the module reports (offsets 319 and 323); kept, not used.
    std::uint16_t palavra319 = 0;
    std::uint16_t palavra323 = 0;
};

// Loads one module file in this process, calls its ObtemInformacoes and fills `entrada`; true
// when the module answered (it loaded and has the entry point). A module that crashes or hangs
// takes the caller with it: the catalogue calls this only inside the helper process.
bool ConsultaModulo(const QString &caminho, ModuloRede &entrada);

// The helper executable that queries modules, found from the program's own path: where the
// package installs it (<bindir>/../libexec/configurador-roteamento), else beside the program or
// one level up (the build tree, where tests and benchmarks lie in a subdirectory). When none is
// there, the installed path, so that the failure names it.
QString ExecutavelConsulta(const QString &programa);
QString ExecutavelConsulta(); // of the running program

// Process-wide catalogue, owned by the main window (or the command line) and passed by reference.
class CatalogoRedes {
public:
    static constexpr int TamRegistro = 130;
    static constexpr int TamBuffer = 53822; // room for 414 whole records
    static constexpr int MaxRegistrosRede = 200;
    static constexpr int PrazoPadraoMs = 5000; // per module

    // Reads <root>/config/COMUNIC.cnf; true when at least one byte was read. A longer file
    // counts with its first TamBuffer bytes.
    bool CarregaComunic();
    // Queries every module of the module directory; returns how many answered. The table holds
    // one entry per file found: those that answered in the order found, then empty ones.
    int CarregaModulos();

    std::uint16_t TiposDaRede(std::uint16_t codigo) const;
    QString ModuloDaRede(std::uint16_t codigo) const;
    // Names are Windows-1252 bytes.
    QByteArray NomeDaRede(std::uint16_t codigo) const;
    std::uint16_t CodigoDaRede(const QByteArray &nome) const;
    void NomeConexaoTecban(QByteArray &nome) const;
    // "Bloqueada", then the networks of COMUNIC.cnf (file order) whose module takes the type.
    QList<QByteArray> RedesDoTipo(std::uint16_t mascara) const;

    // Record numbers (from 1) of the network records of COMUNIC.cnf, at most 200, rebuilt from
    // the buffer on every call.
    QList<std::uint16_t> ListaRegistrosRede() const;
    int QtdRegistros() const { return m_qtdRegistros; }

    const QList<ModuloRede> &Modulos() const { return m_modulos; }

    // Time a module may take before it counts as not answering.
    void DefinePrazoModulo(int ms) { m_prazoMs = ms; }
    // True when the last CarregaModulos could not run the helper at all.
    bool ConsultaIndisponivel() const { return m_consultaIndisponivel; }
    // The modules the last CarregaModulos left out, and why.
    struct Recusado {
        QString caminho;
        QString motivo;
    };
    const QList<Recusado> &ModulosRecusados() const { return m_recusados; }

private:
    std::uint16_t Palavra(int registro, int offset) const;

    QByteArray m_comunic;
    int m_qtdRegistros = 0;
    QList<ModuloRede> m_modulos;
    int m_prazoMs = PrazoPadraoMs;
    bool m_consultaIndisponivel = false;
    QList<Recusado> m_recusados;
};

// Why a module found under `diretorio` is not loaded, or empty: a link out of the directory, or
// the file or a directory on its way group- or world-writable, or owned by another user than
// root or the one running the tool.
QString MotivoDeRecusa(const QString &modulo, const QString &diretorio);
