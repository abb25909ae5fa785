#include "app/pagina_cartoes.h"

#include "app/historico_cartoes.h"
#include "app/modelo_cartoes.h"
#include "dialogs/regras_bin.h"
#include "env/caminhos.h"
#include "env/redes.h"
#include "env/texto.h"
#include "widgets/ajusta_visual.h"
#include "widgets/caixas.h"
#include "widgets/painel_botao.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QTableView>
#include <QUndoCommand>
#include <QVBoxLayout>

namespace {

constexpr int LimiteInclusao = 200;

// The default network as the page shows it: the check box and the network chosen.
struct EstadoPadrao {
    bool marcada;
    std::optional<std::uint16_t> rede;
    bool operator==(const EstadoPadrao &) const = default;
};

class PassoRedePadrao : public QUndoCommand {
public:
    PassoRedePadrao(PaginaCartoes &pagina, EstadoPadrao antes, EstadoPadrao depois)
        : QUndoCommand(QStringLiteral("rede padrão")), m_pagina(pagina), m_antes(antes),
          m_depois(depois) {}

    int id() const override { return 1 + int(Indice(m_pagina.Tipo())); }
    // A tick waits for its network: ticking and choosing are one step.
    bool mergeWith(const QUndoCommand *outro) override {
        const auto *escolha = static_cast<const PassoRedePadrao *>(outro);
        if (m_antes.marcada || m_depois != EstadoPadrao{true, std::nullopt} ||
            escolha->m_antes != m_depois || !escolha->m_depois.rede)
            return false;
        m_depois = escolha->m_depois;
        return true;
    }
    void undo() override { m_pagina.PoePadrao(m_antes.marcada, m_antes.rede); }
    void redo() override { m_pagina.PoePadrao(m_depois.marcada, m_depois.rede); }

private:
    PaginaCartoes &m_pagina;
    const EstadoPadrao m_antes;
    EstadoPadrao m_depois;
};

} // namespace

PaginaCartoes::PaginaCartoes(TipoGrade tipo, TabelaCartoes &tabela, HistoricoCartoes &historico,
                             const CatalogoRedes &catalogo, QWidget *pai)
    : QWidget(pai), m_tipo(tipo), m_tabela(tabela), m_historico(historico), m_catalogo(catalogo) {
    m_modelo = new ModeloCartoes(tabela, tipo, catalogo, this);
    m_dialogo = CriaDialogoCartao(
        tipo, [this](const QString &nome) { return ExisteNome(nome); },
        [this](Operacao operacao, const CartaoEditado &cartao) {
            return Recusa(operacao, cartao);
        });
    connect(m_dialogo.get(), &TFrmIncluiCartao::confirmado, this, &PaginaCartoes::Confirmado);
    connect(m_dialogo.get(), &TFrmIncluiCartao::alterou, &m_historico,
            &HistoricoCartoes::MarcaAlterada);
    MontaControles();
    LigaRedePadrao();
}

void PaginaCartoes::LigaRedePadrao() {
    // The operator's tick or untick and choice; what the program shows is set with the signals
    // blocked.
    connect(m_check, &QCheckBox::toggled, this, [this](bool marcada) {
        m_historico.Executa(new PassoRedePadrao(*this, {!marcada, m_tabela.RedePadrao(m_tipo)},
                                                {marcada, std::nullopt}));
    });
    connect(m_combo, &QComboBox::activated, this, [this](int i) {
        const QVariant codigo = m_combo->itemData(i);
        const std::uint16_t rede = codigo.isValid()
                                       ? std::uint16_t(codigo.toUInt())
                                       : CodigoExibido(m_catalogo, m_combo->itemText(i));
        const auto atual = m_tabela.RedePadrao(m_tipo);
        if (atual == rede) return;
        m_historico.Executa(new PassoRedePadrao(*this, {m_check->isChecked(), atual},
                                                {m_check->isChecked(), rede}));
    });
}

PaginaCartoes::~PaginaCartoes() = default;

QString PaginaCartoes::Titulo() const {
    return QString::fromUtf8(TipoDe(m_tipo).titulo);
}

void PaginaCartoes::Erro(const QString &texto) {
    Caixas().Mensagem(window(), texto, TituloConfigurador, Icone::Erro, Botoes::Ok);
}

// --- Networks and the default ----------------------------------------------------------------

void PaginaCartoes::MontaRedes() {
    const QList<QByteArray> redes = m_catalogo.RedesDoTipo(TipoDe(m_tipo).mascara);
    {
        const QSignalBlocker bloqueio(m_combo);
        m_combo->clear();
        // The code of a listed name is looked up only when it is chosen.
        for (const QByteArray &rede : redes)
            m_combo->addItem(DeCp1252(rede));
        m_combo->setCurrentIndex(-1);
    }
    QComboBox *dialogo = m_dialogo->ComboRede();
    const QSignalBlocker bloqueio(dialogo);
    dialogo->clear();
    for (const QByteArray &rede : redes)
        dialogo->addItem(DeCp1252(rede));
    dialogo->setCurrentIndex(-1);
    dialogo->setEditText(QString());
}

void PaginaCartoes::PoeTextoCombo(const QString &texto, std::optional<std::uint16_t> codigo) {
    const QSignalBlocker bloqueio(m_combo);
    if (texto.isEmpty()) {
        m_combo->setCurrentIndex(-1);
        return;
    }
    int indice = m_combo->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (indice < 0) {
        // A network the list does not offer still shows what the file holds.
        m_combo->addItem(texto, codigo ? QVariant(*codigo) : QVariant());
        indice = m_combo->count() - 1;
    }
    m_combo->setCurrentIndex(indice);
}

void PaginaCartoes::MostraPadrao() {
    if (const auto rede = m_tabela.RedePadrao(m_tipo)) PoePadrao(true, rede);
}

void PaginaCartoes::PoePadrao(bool marcada, std::optional<std::uint16_t> rede) {
    m_tabela.DefineRedePadrao(m_tipo, rede);
    {
        const QSignalBlocker bloqueio(m_check);
        m_check->setChecked(marcada);
    }
    PoeTextoCombo(rede ? NomeExibido(m_catalogo, *rede) : QString(), rede);
    CB_Rede_PadraoClick();
}

void PaginaCartoes::CB_Rede_PadraoClick() {
    if (m_check->isChecked()) {
        PoeTextoEscuro(m_grupo);
        m_grupo->setEnabled(true);
        m_combo->setEnabled(true);
    } else {
        m_grupo->setEnabled(false);
        QPalette pal = m_grupo->palette();
        const QColor cinza = window()->palette().color(QPalette::Disabled, QPalette::WindowText);
        pal.setColor(QPalette::Active, QPalette::WindowText, cinza);
        pal.setColor(QPalette::Inactive, QPalette::WindowText, cinza);
        m_grupo->setPalette(pal);
        PoeTextoCombo(QString(), std::nullopt);
        m_tabela.DefineRedePadrao(m_tipo, std::nullopt);
        m_combo->setEnabled(false);
    }
}

void PaginaCartoes::AcompanhaTabela() {
    // Rows that came or went above the selection moved it without a signal; the default network
    // is put back by its own step.
    SelecaoMudou();
}

// --- The grid ---------------------------------------------------------------------------------

void PaginaCartoes::LimpaGrade() {
    m_grade->clearSelection();
    m_grade->setCurrentIndex(QModelIndex());
    m_selecionado.reset();
}

void PaginaCartoes::SelecaoMudou() {
    const QModelIndexList linhas = m_grade->selectionModel()->selectedRows();
    m_selecionado = linhas.isEmpty() ? std::nullopt : m_modelo->CartaoDaLinha(linhas.first().row());
}

bool PaginaCartoes::ExisteNome(const QString &nome) const {
    const QString chave = ChaveDoNome(nome);
    // The blank last row counts as a card without a name.
    if (chave.isEmpty()) return true;
    for (int linha = 0; linha < m_modelo->rowCount() - 1; ++linha)
        if (ChaveDoNome(m_modelo->Texto(linha, ModeloCartoes::ColunaNome)) == chave) return true;
    return false;
}

std::uint16_t PaginaCartoes::CodigoDaRede(const QString &rede,
                                          std::optional<int> cartaoAtual) const {
    // A card keeps its code while its network is left as shown (also one without a module).
    if (cartaoAtual) {
        const std::uint16_t atual = m_tabela.Cartoes(m_tipo)[*cartaoAtual].CodRede;
        if (NomeExibido(m_catalogo, atual) == rede) return atual;
    }
    return CodigoExibido(m_catalogo, rede);
}

namespace {

QList<QByteArray> BinsDoDialogo(const QStringList &entradas) {
    QList<QByteArray> bins;
    for (const QString &entrada : entradas)
        if (!entrada.isEmpty()) bins.append(ParaCp1252(entrada));
    return bins;
}

} // namespace

QString PaginaCartoes::Recusa(Operacao operacao, const CartaoEditado &cartao) const {
    const QList<QByteArray> bins = BinsDoDialogo(cartao.bins);
    const QString quem = cartao.nome.trimmed();
    if (bins.size() > MaxBins)
        return QStringLiteral("O cartão %1 tem mais de %2 bins. A configuração não foi gravada.")
            .arg(quem)
            .arg(MaxBins);
    for (const QByteArray &bin : bins) {
        if (bin.size() > TamBinNoArquivo)
            return QStringLiteral("O bin %1 do cartão %2 tem mais de %3 caracteres. A "
                                  "configuração não foi gravada.")
                .arg(DeCp1252(bin), quem)
                .arg(TamBinNoArquivo);
    }
    if (operacao == Operacao::Inclusao && m_tabela.Entradas() >= MaxCartoes)
        return QStringLiteral("A configuração tem mais de %1 entradas e não pode ser gravada.")
            .arg(MaxCartoes);
    return QString();
}

std::optional<TCartao> PaginaCartoes::CartaoDoDialogo(const QString &nome, std::uint16_t rede,
                                                      const QStringList &bins) const {
    // The name field holds 30 bytes; the file has always kept what fits.
    return MontaCartao(m_tipo, ParaCp1252(nome).left(TamNome - 1), rede, BinsDoDialogo(bins));
}

bool PaginaCartoes::IncluiDadosNaGrade(const QString &nome, const QString &rede,
                                       const QStringList &bins) {
    if (const QString recusa = Recusa(Operacao::Inclusao, {nome, rede, bins}); !recusa.isEmpty()) {
        Erro(recusa);
        return false;
    }
    const auto cartao = CartaoDoDialogo(nome, CodigoDaRede(rede, std::nullopt), bins);
    if (!cartao) return false;
    const int linha = m_tabela.PosicaoDeInclusao(m_tipo);
    m_historico.Executa(new PassoInclusao(m_tabela, m_tipo, *cartao), false);
    // The operator sees the card just made, chosen for the next command.
    m_grade->selectRow(linha);
    m_grade->scrollTo(m_modelo->index(linha, ModeloCartoes::ColunaNome));
    SelecaoMudou();
    return true;
}

bool PaginaCartoes::IncluiDadosAlteradosNaGrade(int linha, const QString &nome, const QString &rede,
                                                const QStringList &bins) {
    if (!m_modelo->CartaoDaLinha(linha)) return false;
    if (const QString recusa = Recusa(Operacao::Alteracao, {nome, rede, bins}); !recusa.isEmpty()) {
        Erro(recusa);
        return false;
    }
    const auto cartao = CartaoDoDialogo(nome, CodigoDaRede(rede, linha), bins);
    if (!cartao) return false;
    m_historico.Executa(new PassoAlteracao(m_tabela, m_tipo, linha, *cartao), false);
    return true;
}

void PaginaCartoes::Confirmado(Operacao operacao, const CartaoEditado &cartao) {
    if (operacao == Operacao::Inclusao)
        IncluiDadosNaGrade(cartao.nome, cartao.rede, cartao.bins);
    else if (m_selecionado)
        IncluiDadosAlteradosNaGrade(*m_selecionado, cartao.nome, cartao.rede, cartao.bins);
}

// --- Commands ---------------------------------------------------------------------------------

void PaginaCartoes::Incluir() {
    // The live table: its cards and the defaults set, not the last file read.
    if (m_tabela.Entradas() >= LimiteInclusao) {
        Caixas().Mensagem(window(), QStringLiteral("Não é permitido cadastrar mais de 200 bancos."),
                          TituloConfiguracao, Icone::Nenhum, Botoes::Ok);
        return;
    }
    m_dialogo->Abre(Operacao::Inclusao);
}

void PaginaCartoes::Alterar(const QString &semLinha) {
    if (!m_selecionado) {
        Erro(semLinha);
        return;
    }
    const int l = *m_selecionado;
    m_dialogo->Abre(Operacao::Alteracao,
                    {m_modelo->Texto(l, ModeloCartoes::ColunaNome),
                     m_modelo->Texto(l, ModeloCartoes::ColunaRede),
                     ListaBinsDoTexto(m_modelo->Texto(l, ModeloCartoes::ColunaBins))});
}

void PaginaCartoes::Excluir(bool pelaTecla) {
    if (!m_selecionado) {
        if (!pelaTecla) Erro(SemLinha);
        return;
    }
    const int linha = *m_selecionado;
    if (Caixas().Mensagem(window(),
                          QStringLiteral("Confirma a exclusão - ") +
                              m_modelo->Texto(linha, ModeloCartoes::ColunaNome),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) != Resposta::Sim)
        return;
    m_historico.Executa(new PassoExclusao(m_tabela, m_tipo, linha));
    // The selection stays on the same row, now the card that followed; on the blank last row
    // there is no card to select.
    if (m_modelo->CartaoDaLinha(linha)) {
        m_grade->selectRow(linha);
    } else {
        m_grade->clearSelection();
        m_grade->setCurrentIndex(QModelIndex());
    }
    SelecaoMudou();
}

void PaginaCartoes::OrdenaPeloTitulo(int coluna) {
    const QString titulo = m_modelo->headerData(coluna, Qt::Horizontal).toString().trimmed();
    int porColuna = -1;
    if (titulo == QStringLiteral("Cartão"))
        porColuna = ModeloCartoes::ColunaNome;
    else if (titulo == QStringLiteral("Rede Destino"))
        porColuna = ModeloCartoes::ColunaRede;
    else if (titulo == QStringLiteral("Bins"))
        porColuna = ModeloCartoes::ColunaBins;
    if (porColuna < 0) return;
    QList<int> ordem = m_modelo->OrdemPor(porColuna);
    // An order left as it was is no step.
    bool mudou = false;
    for (qsizetype i = 0; i < ordem.size() && !mudou; ++i)
        mudou = ordem[i] != i;
    // Sorting the grid is no change to save by itself.
    if (mudou) m_historico.Executa(new PassoOrdenacao(m_tabela, m_tipo, std::move(ordem)), false);
}

bool PaginaCartoes::eventFilter(QObject *objeto, QEvent *evento) {
    if (!m_grade) return QWidget::eventFilter(objeto, evento); // still being built
    const QEvent::Type tipo = evento->type();
    if (objeto == m_grade && tipo == QEvent::KeyRelease) {
        if (static_cast<QKeyEvent *>(evento)->key() == Qt::Key_Delete) Excluir(true);
    } else if (objeto == m_grade && tipo == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_F2) {
            Alterar(SemLinha);
            return true;
        }
    } else if (objeto == m_grade->horizontalHeader()->viewport()) {
        // The header sorts on the left button itself; the title row takes any button.
        if (tipo == QEvent::MouseButtonPress) {
            auto *rato = static_cast<QMouseEvent *>(evento);
            const int coluna =
                m_grade->horizontalHeader()->logicalIndexAt(rato->position().toPoint());
            if (rato->button() != Qt::LeftButton && coluna >= 0) OrdenaPeloTitulo(coluna);
        }
        return false;
    } else if (objeto == m_grade->viewport()) {
        // Anywhere on the grid; the title row has its own signal. Only the titles sort: the first
        // card row is a card like the others.
        if (tipo == QEvent::MouseButtonDblClick) {
            Alterar(SemLinhaDuplo);
            return true;
        }
        return false;
    }
    return QWidget::eventFilter(objeto, evento);
}
