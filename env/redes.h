#pragma once
// The network catalogue: the networks configured in COMUNIC.cnf, crossed with the network
// modules (se*.bpl) that say which code they serve, their name and the card types they take.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

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
};

// Process-wide catalogue, owned by the main window (or the command line) and passed by reference.
class CatalogoRedes {
public:
    // Reads <root>/config/COMUNIC.cnf; true when at least one byte was read.
    bool CarregaComunic();
    // Queries every module of the module directory; returns how many answered.
    int CarregaModulos();

    std::uint16_t TiposDaRede(std::uint16_t codigo) const;
    QString ModuloDaRede(std::uint16_t codigo) const;
    // Names are Windows-1252 bytes.
    QByteArray NomeDaRede(std::uint16_t codigo) const;
    std::uint16_t CodigoDaRede(const QByteArray &nome) const;
    void NomeConexaoTecban(QByteArray &nome) const;
    // "Bloqueada", then the networks of COMUNIC.cnf (file order) whose module takes the type.
    QList<QByteArray> RedesDoTipo(std::uint16_t mascara) const;

    const QList<ModuloRede> &Modulos() const { return m_modulos; }

private:
    QByteArray m_comunic;
    int m_qtdRegistros = 0;
    QList<ModuloRede> m_modulos;
};
