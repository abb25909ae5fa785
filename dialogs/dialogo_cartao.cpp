#include "dialogs/dialogo_cartao.h"

#include "dialogs/regras_bin.h"
#include "env/texto.h"
#include "widgets/ajusta_visual.h"
#include "widgets/caixas.h"
#include "widgets/painel_botao.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const DadosDialogoCartao tiposCartao[3] = {
    {TipoGrade::Credito, "FrmIncluiCartaoCred", "ed_nome_cartao_cred", "CB_RedeDestino_Cred",
     "ed_bin_cred", "LB_Bins_cred", "bt_conf_incluir_cred", "bt_encerra_incluir_cred",
     "Inclusão de Cartão de Crédito", "Alteração de Cartão de Crédito", 361, 318},
    {TipoGrade::Debito, "FrmIncluiCartaoDeb", "ed_nome_cartao_deb", "CB_RedeDestino_deb",
     "ed_bin_deb", "LB_Bins_deb", "bt_conf_incluir_deb", "bt_encerra_incluir_deb",
     "Inclusão de Cartão de Débito", "Alteração de Cartão de Débito", 365, 318},
    // The fuel dialog's panels carry the debit names.
    {TipoGrade::Combustivel, "FrmIncluiCartaoComb", "ed_nome_cartao_comb", "CB_RedeDestino_comb",
     "ed_bin_comb", "LB_Bins_comb", "bt_conf_incluir_deb", "bt_encerra_incluir_deb",
     "Inclusão de Cartão Combustível", "Alteração de Cartão Combustível", 365, 318},
};

void DefineTextoCombo(QComboBox *combo, const QString &texto) {
    combo->setCurrentIndex(combo->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(texto);
}

} // namespace

const DadosDialogoCartao &DadosDoTipo(TipoGrade tipo) {
    return tiposCartao[Indice(tipo)];
}

// No parent: a parent would be disabled together with the main window. Whoever creates the
// dialog owns it.
TFrmIncluiCartao::TFrmIncluiCartao(const DadosDialogoCartao &dados, ExisteNomeFn existeNome,
                                   RecusaFn recusa)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_dados(dados),
      m_existeNome(std::move(existeNome)), m_recusa(std::move(recusa)) {
    MontaControles();
    FormCreate();
}

TFrmIncluiCartao::~TFrmIncluiCartao() {
    if (m_aberto) ReabilitaJanelas();
}

void TFrmIncluiCartao::ReabilitaJanelas() {
    for (const QPointer<QWidget> &janela : std::as_const(m_desabilitadas))
        if (janela) janela->setEnabled(true);
    m_desabilitadas.clear();
    m_aberto = false;
}

void TFrmIncluiCartao::FormCreate() {
    AjustaVisual(this);
    for (QWidget *w : {static_cast<QWidget *>(this), static_cast<QWidget *>(m_grupoNome),
                       static_cast<QWidget *>(m_grupoRede), static_cast<QWidget *>(m_grupoBins),
                       static_cast<QWidget *>(m_rotuloBin)}) {
        PoeTextoEscuro(w);
    }
    // AjustaVisual made the panels tab stops; the order runs down the form.
    setTabOrder(m_edNome, m_comboRede);
    setTabOrder(m_comboRede, m_edBin);
    setTabOrder(m_edBin, m_btIncluiBin);
    setTabOrder(m_btIncluiBin, m_listaBins);
    setTabOrder(m_listaBins, m_btExcluiBin);
    setTabOrder(m_btExcluiBin, m_btConfirma);
    setTabOrder(m_btConfirma, m_btEncerra);
    // Once the panels have their fonts: the size of the form at 100%, or what its controls need in
    // larger fonts.
    setFixedSize(QSize(m_dados.largura, m_dados.altura).expandedTo(layout()->sizeHint()));
    // Placed now: the controls have their sizes before the form is first shown.
    layout()->activate();
    for (QWidget *w : findChildren<QWidget *>())
        if (w->layout()) w->layout()->activate();
}

void TFrmIncluiCartao::FormActivate() {
    m_apagou = false;
    LimpaCampos();
    DefineTextoCombo(m_comboRede, QString());
    m_edNome->setEnabled(true);
    if (m_operacao == Operacao::Inclusao) {
        setWindowTitle(QString::fromUtf8(m_dados.captionInclusao));
        m_edNome->setFocus();
    } else if (m_operacao == Operacao::Alteracao) {
        setWindowTitle(QString::fromUtf8(m_dados.captionAlteracao));
        MostraDadosInclusao(m_cartao);
        m_edNome->setEnabled(false);
        m_comboRede->setFocus();
    }
}

void TFrmIncluiCartao::LimpaCampos() {
    for (QLineEdit *campo : findChildren<QLineEdit *>())
        if (!qobject_cast<QComboBox *>(campo->parentWidget())) campo->clear();
    for (QListWidget *lista : findChildren<QListWidget *>())
        lista->clear();
    for (QCheckBox *caixa : findChildren<QCheckBox *>())
        caixa->setChecked(false);
}

void TFrmIncluiCartao::Abre(Operacao operacao, const CartaoEditado &cartao) {
    m_operacao = operacao;
    m_cartao = cartao;
    AbreDialogoCartao(this);
}

void TFrmIncluiCartao::MostraDadosInclusao(const CartaoEditado &cartao) {
    m_edNome->setText(cartao.nome);
    DefineTextoCombo(m_comboRede, cartao.rede);
    m_listaBins->addItems(cartao.bins);
}

bool TFrmIncluiCartao::ExisteNome(const QString &nome) const {
    return m_existeNome && m_existeNome(nome);
}

QStringList TFrmIncluiCartao::Bins() const {
    QStringList lista;
    for (int i = 0; i < m_listaBins->count(); ++i)
        lista.append(m_listaBins->item(i)->text());
    return lista;
}

void TFrmIncluiCartao::RecusaBin(const QString &mensagem) {
    Caixas().Mensagem(this, mensagem, TituloConfigurador, Icone::Erro, Botoes::Ok);
    m_edBin->clear();
    m_edBin->setFocus();
}

void TFrmIncluiCartao::bt_inclui_binClick() {
    const ResultadoBin resultado = AvaliaInclusaoBin(Bins(), m_edBin->text());
    if (resultado.veredito == VereditoBin::Limite) {
        Caixas().Mensagem(this, resultado.mensagem, TituloConfigurador, Icone::Erro, Botoes::Ok);
        return;
    }
    emit alterou();
    if (resultado.veredito == VereditoBin::Recusa) {
        RecusaBin(resultado.mensagem);
        return;
    }
    m_listaBins->addItem(resultado.entrada);
    m_edBin->clear();
    m_edBin->setFocus();
}

int TFrmIncluiCartao::BinSelecionado() const {
    const int linha = m_listaBins->currentRow();
    return linha >= 0 && m_listaBins->item(linha)->isSelected() ? linha : -1;
}

void TFrmIncluiCartao::ExcluiBinSelecionado() {
    delete m_listaBins->takeItem(BinSelecionado());
    // As after a deletion in the original list box: nothing is selected.
    m_listaBins->setCurrentRow(-1);
}

void TFrmIncluiCartao::bt_exclui_binClick() {
    const int linha = BinSelecionado();
    if (linha < 0) {
        Caixas().Mensagem(this, MsgSelecioneBin, TituloConfigurador, Icone::Erro, Botoes::Ok);
        return;
    }
    if (Caixas().Mensagem(this, PerguntaExcluiBin(m_listaBins->item(linha)->text()),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) == Resposta::Sim) {
        emit alterou();
        ExcluiBinSelecionado();
    }
}

void TFrmIncluiCartao::LB_BinsKeyUp(QKeyEvent *tecla) {
    if (tecla->key() != Qt::Key_Delete || tecla->isAutoRepeat()) return;
    const int linha = BinSelecionado();
    if (linha < 0) {
        Caixas().Mensagem(this, MsgSelecioneBin, TituloConfigurador, Icone::Erro, Botoes::Ok);
        return;
    }
    // Set before the question, so it stays set when the answer is No.
    emit alterou();
    if (Caixas().Mensagem(this, PerguntaExcluiBin(m_listaBins->item(linha)->text()),
                          TituloConfigurador, Icone::Nenhum, Botoes::SimNao) == Resposta::Sim)
        ExcluiBinSelecionado();
}

bool TFrmIncluiCartao::ed_binKeyPress(QKeyEvent *tecla) {
    if (tecla->key() == Qt::Key_Backspace) {
        m_apagou = FiltraToqueBin(QChar(8)) == ToqueBin::Apagar;
        return false;
    }
    if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) return true;
    const QString texto = tecla->text();
    // Keys that type no character (arrows, Delete, shortcuts) are the field's own editing;
    // the validator keeps what they leave to digits and "-".
    if (texto.isEmpty() || texto[0] < u' ' || texto[0] == QChar(127)) return false;
    for (QChar c : texto)
        if (FiltraToqueBin(c) != ToqueBin::Aceito) return true;
    m_apagou = false;
    return false;
}

void TFrmIncluiCartao::ed_binChange(const QString &texto) {
    if (!PedeHifen(texto, m_apagou)) return;
    m_edBin->setText(texto + u'-');
    m_edBin->setFocus();
    m_edBin->end(false);
}

void TFrmIncluiCartao::bt_conf_incluirClick() {
    emit alterou();
    const CartaoEditado cartao{m_edNome->text(), m_comboRede->currentText(), Bins()};
    const QString &nome = cartao.nome;
    if (m_operacao == Operacao::Inclusao) {
        QString mensagem;
        if (nome.isEmpty())
            mensagem = QStringLiteral("Digite o Nome do Cartão");
        else if (ExisteNome(nome))
            mensagem = QStringLiteral("Nome do Cartão já cadastrado");
        if (!mensagem.isEmpty()) {
            Caixas().Mensagem(this, mensagem, TituloConfigurador, Icone::Erro, Botoes::Ok);
            m_edNome->clear();
            m_edNome->setFocus();
            return;
        }
    } else if (m_operacao != Operacao::Alteracao) {
        return;
    }
    // What the table cannot take is refused while the operator's input is still here to mend.
    if (const QString recusa = m_recusa ? m_recusa(*m_operacao, cartao) : QString();
        !recusa.isEmpty()) {
        Caixas().Mensagem(this, recusa, TituloConfigurador, Icone::Erro, Botoes::Ok);
        return;
    }
    emit confirmado(*m_operacao, cartao);
    FechaDialogoCartao(this);
}

void TFrmIncluiCartao::bt_encerra_incluirClick() {
    FechaDialogoCartao(this);
}

bool TFrmIncluiCartao::eventFilter(QObject *objeto, QEvent *evento) {
    if (evento->type() == QEvent::KeyPress) {
        auto *tecla = static_cast<QKeyEvent *>(evento);
        if (objeto == m_edBin) return ed_binKeyPress(tecla);
        // CB_RedeDestinoKeyPress: a network is chosen from the list, never typed.
        if ((objeto == m_comboRede || objeto == m_comboRede->lineEdit()) &&
            !tecla->text().isEmpty() && tecla->text()[0] >= u' ' && tecla->text()[0] != QChar(127))
            return true;
    } else if (evento->type() == QEvent::KeyRelease && objeto == m_listaBins) {
        LB_BinsKeyUp(static_cast<QKeyEvent *>(evento));
    }
    return QDialog::eventFilter(objeto, evento);
}

void TFrmIncluiCartao::closeEvent(QCloseEvent *evento) {
    // The frame has no close command; "Confirma" and "Encerra" are the ways out.
    evento->ignore();
}

void TFrmIncluiCartao::hideEvent(QHideEvent *evento) {
    // Whatever hides the dialog gives the main window back its input.
    if (!evento->spontaneous() && m_aberto) ReabilitaJanelas();
    QDialog::hideEvent(evento);
}

TFrmIncluiCartaoCred::TFrmIncluiCartaoCred(ExisteNomeFn e, RecusaFn r)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Credito), std::move(e), std::move(r)) {}
TFrmIncluiCartaoDeb::TFrmIncluiCartaoDeb(ExisteNomeFn e, RecusaFn r)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Debito), std::move(e), std::move(r)) {}
TFrmIncluiCartaoComb::TFrmIncluiCartaoComb(ExisteNomeFn e, RecusaFn r)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Combustivel), std::move(e), std::move(r)) {}

std::unique_ptr<TFrmIncluiCartao> CriaDialogoCartao(TipoGrade tipo,
                                                    TFrmIncluiCartao::ExisteNomeFn existeNome,
                                                    TFrmIncluiCartao::RecusaFn recusa) {
    switch (tipo) {
    case TipoGrade::Credito:
        return std::make_unique<TFrmIncluiCartaoCred>(std::move(existeNome), std::move(recusa));
    case TipoGrade::Debito:
        return std::make_unique<TFrmIncluiCartaoDeb>(std::move(existeNome), std::move(recusa));
    case TipoGrade::Combustivel:
        break;
    }
    return std::make_unique<TFrmIncluiCartaoComb>(std::move(existeNome), std::move(recusa));
}

void AbreDialogoCartao(TFrmIncluiCartao *form) {
    // Opened again while open: the windows it disabled must stay on its list.
    if (form->m_aberto) FechaDialogoCartao(form);
    form->m_focoAntes = QApplication::focusWidget();
    QWidget *dono = nullptr;
    for (QWidget *janela : QApplication::topLevelWidgets()) {
        const Qt::WindowType tipo = janela->windowType();
        if (janela == form || !janela->isVisible() || !janela->isEnabled() || tipo == Qt::ToolTip ||
            tipo == Qt::Popup)
            continue;
        janela->setEnabled(false);
        form->m_desabilitadas.append(janela);
        if (!dono) dono = janela;
    }
    form->m_aberto = true;

    form->winId(); // a native window, so it can name the window it stays above
    if (dono && dono->windowHandle() && form->windowHandle())
        form->windowHandle()->setTransientParent(dono->windowHandle());
    if (const QScreen *tela = form->screen()) {
        QRect area = form->frameGeometry();
        area.moveCenter(tela->availableGeometry().center());
        form->move(area.topLeft());
    }
    form->show();
    form->raise();
    form->activateWindow();
    form->FormActivate();
}

void FechaDialogoCartao(TFrmIncluiCartao *form) {
    const QPointer<QWidget> dono = form->m_desabilitadas.value(0);
    form->ReabilitaJanelas();
    form->hide();
    // The keyboard goes back to the window the dialog was opened from, whatever the window
    // manager does.
    if (dono) dono->activateWindow();
    if (form->m_focoAntes && form->m_focoAntes->window() == dono)
        form->m_focoAntes->setFocus(Qt::OtherFocusReason);
}
