#include "app/modelo_cartoes.h"

#include "env/redes.h"
#include "env/texto.h"

namespace {

const QString Bloqueada = DeCp1252(NomeRedeBloqueada);
const QString Vazio;

// Trimmed as the sort compares: control characters and spaces off both ends.
QByteArray ChaveOrdem(const QString &texto) {
    const QByteArray b = ParaCp1252(texto);
    qsizetype i = 0, f = b.size();
    while (i < f && quint8(b[i]) <= 0x20)
        ++i;
    while (f > i && quint8(b[f - 1]) <= 0x20)
        --f;
    return b.mid(i, f - i);
}

} // namespace

QString NomeExibido(const CatalogoRedes &catalogo, std::uint16_t codigo) {
    if (codigo == RedeBloqueada) return Bloqueada;
    const QString nome = DeCp1252(catalogo.NomeDaRede(codigo));
    if (!nome.isEmpty()) return nome;
    // No network at all, as the card dialog passed it: an empty cell, as the dialog showed it.
    if (codigo == 0) return QString();
    // A network whose module is missing here keeps its code, shown so the operator sees it.
    return QStringLiteral("Rede %1 (sem módulo)").arg(codigo);
}

std::uint16_t CodigoExibido(const CatalogoRedes &catalogo, const QString &nome) {
    if (nome == Bloqueada) return RedeBloqueada;
    return catalogo.CodigoDaRede(ParaCp1252(nome));
}

ModeloCartoes::ModeloCartoes(TabelaCartoes &tabela, TipoGrade tipo, const CatalogoRedes &catalogo,
                             QObject *pai)
    : QAbstractTableModel(pai), m_tabela(tabela), m_tipo(tipo), m_catalogo(catalogo) {
    // Rows go and come instead of a reset, which would also reset the operator's column widths.
    connect(&tabela, &TabelaCartoes::aRecarregar, this, [this] {
        if (m_linhas.isEmpty()) return;
        beginRemoveRows({}, 0, int(m_linhas.size()) - 1);
        m_linhas.clear();
        endRemoveRows();
    });
    connect(&tabela, &TabelaCartoes::recarregada, this, [this] {
        const qsizetype n = m_tabela.Cartoes(m_tipo).size();
        if (n == 0) return;
        beginInsertRows({}, 0, int(n) - 1);
        Recarrega();
        endInsertRows();
    });
    connect(&tabela, &TabelaCartoes::aIncluir, this, [this](TipoGrade t, int i) {
        if (t == m_tipo) beginInsertRows({}, i, i);
    });
    connect(&tabela, &TabelaCartoes::incluido, this, [this](TipoGrade t, int i) {
        if (t != m_tipo) return;
        m_linhas.insert(i, Textos(m_tabela.Cartoes(t)[i]));
        endInsertRows();
    });
    connect(&tabela, &TabelaCartoes::alterado, this, [this](TipoGrade t, int i) {
        if (t != m_tipo) return;
        m_linhas[i] = Textos(m_tabela.Cartoes(t)[i]);
        emit dataChanged(index(i, 0), index(i, 2));
    });
    connect(&tabela, &TabelaCartoes::aExcluir, this, [this](TipoGrade t, int i) {
        if (t == m_tipo) beginRemoveRows({}, i, i);
    });
    connect(&tabela, &TabelaCartoes::excluido, this, [this](TipoGrade t, int i) {
        if (t != m_tipo) return;
        m_linhas.removeAt(i);
        endRemoveRows();
    });
    // The rows keep their places (and the selection its row); only their texts move.
    connect(&tabela, &TabelaCartoes::reordenada, this, [this](TipoGrade t) {
        if (t != m_tipo) return;
        Recarrega();
        if (!m_linhas.isEmpty()) emit dataChanged(index(0, 0), index(int(m_linhas.size()) - 1, 2));
    });
    Recarrega();
}

void ModeloCartoes::Recarrega() {
    m_linhas.clear();
    const QList<TCartao> &cartoes = m_tabela.Cartoes(m_tipo);
    m_linhas.reserve(cartoes.size());
    for (const TCartao &c : cartoes)
        m_linhas.append(Textos(c));
}

ModeloCartoes::Linha ModeloCartoes::Textos(const TCartao &c) const {
    return {DeCp1252(CopiaCampoParaTexto(c.Nome, TamNome)), NomeExibido(m_catalogo, c.CodRede),
            DeCp1252(CarregaBins(c))};
}

int ModeloCartoes::rowCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : int(m_linhas.size()) + 1;
}

int ModeloCartoes::columnCount(const QModelIndex &pai) const {
    return pai.isValid() ? 0 : 3;
}

const QString &ModeloCartoes::Texto(int linha, int coluna) const {
    if (linha < 0 || linha >= m_linhas.size() || coluna < 0 || coluna > 2) return Vazio;
    return m_linhas[linha][std::size_t(coluna)];
}

QVariant ModeloCartoes::data(const QModelIndex &indice, int papel) const {
    if (!indice.isValid() || papel != Qt::DisplayRole) return {};
    return Texto(indice.row(), indice.column());
}

QVariant ModeloCartoes::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    static const char *titulos[3] = {"Cartão ", "Rede Destino", "Bins"};
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole || secao < 0 || secao > 2)
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    return QString::fromUtf8(titulos[secao]);
}

Qt::ItemFlags ModeloCartoes::flags(const QModelIndex &indice) const {
    return indice.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

std::optional<int> ModeloCartoes::CartaoDaLinha(int linha) const {
    if (linha < 0 || linha >= m_linhas.size()) return std::nullopt;
    return linha;
}

QList<int> ModeloCartoes::OrdemPor(int coluna) const {
    if (coluna < 0 || coluna > 2 || m_linhas.size() < 2) return {};
    QList<QByteArray> chaves;
    chaves.reserve(m_linhas.size());
    for (const Linha &l : std::as_const(m_linhas))
        chaves.append(ChaveOrdem(l[std::size_t(coluna)]));
    return OrdemDasChaves(std::move(chaves));
}

void ModeloCartoes::Ordena(int coluna) {
    const QList<int> ordem = OrdemPor(coluna);
    if (!ordem.isEmpty()) m_tabela.Reordena(m_tipo, ordem);
}
