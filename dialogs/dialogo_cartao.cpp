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

// Names reach TabRot.bin as Windows-1252: a character it cannot hold is refused as typed.
class ValidadorCp1252 : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &texto, int &) const override {
        return CabeEmCp1252(texto) ? Acceptable : Invalid;
    }
};

QIcon Glifo(bool incluir) {
    QPixmap figura(20, 20);
    figura.fill(Qt::transparent);
    QPainter p(&figura);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(incluir ? QColor(0, 128, 0) : QColor(192, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(4, 10, 16, 10);
    if (incluir) p.drawLine(10, 4, 10, 16);
    return QIcon(figura);
}

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

void TFrmIncluiCartao::MontaControles() {
    setObjectName(QString::fromUtf8(m_dados.nomeForm));
    setWindowTitle(QString::fromUtf8(m_dados.captionInclusao));
    setFont(FonteDasJanelas(8));
    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);

    m_painel = new QFrame(this);
    m_painel->setObjectName("Panel1");
    m_painel->setFont(FonteDasJanelas(8));
    todo->addWidget(m_painel);
    auto *coluna = new QVBoxLayout(m_painel);
    coluna->setContentsMargins(8, 4, 8, 5);
    coluna->setSpacing(4);

    // A titled group holding one control at its left.
    auto grupoDe = [&](const QString &titulo, const char *nome, QWidget *controle) {
        auto *grupo = qobject_cast<QGroupBox *>(controle->parentWidget());
        grupo->setTitle(titulo);
        grupo->setObjectName(nome);
        grupo->setMinimumHeight(50);
        grupo->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        auto *dentro = new QHBoxLayout(grupo);
        dentro->setContentsMargins(9, 4, 0, 3);
        controle->setMinimumWidth(Escala(this, 258));
        controle->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        dentro->addWidget(controle, 0, Qt::AlignLeft | Qt::AlignVCenter);
        coluna->addWidget(grupo);
    };
    m_grupoNome = new QGroupBox(m_painel);
    m_edNome = new QLineEdit(m_grupoNome);
    m_edNome->setObjectName(QString::fromUtf8(m_dados.edNome));
    m_edNome->setMaxLength(30);
    m_edNome->setValidator(new ValidadorCp1252(m_edNome));
    grupoDe(QStringLiteral("Nome"), "GroupBox1", m_edNome);

    m_grupoRede = new QGroupBox(m_painel);
    // Editable so that a card's network shows even when the list lacks it; the operator only
    // chooses from the list.
    m_comboRede = new QComboBox(m_grupoRede);
    m_comboRede->setObjectName(QString::fromUtf8(m_dados.comboRede));
    m_comboRede->setEditable(true);
    m_comboRede->setInsertPolicy(QComboBox::NoInsert);
    m_comboRede->setCompleter(nullptr);
    m_comboRede->lineEdit()->setReadOnly(true);
    m_comboRede->installEventFilter(this);
    m_comboRede->lineEdit()->installEventFilter(this);
    grupoDe(QStringLiteral("Rede Destino"), "GroupBox3", m_comboRede);

    // The BIN typed at the left, the two commands in the middle, the card's BINs at the right.
    m_grupoBins = new QGroupBox(m_painel);
    m_grupoBins->setObjectName("GroupBox2");
    m_grupoBins->setMinimumHeight(176);
    auto *bins = new QHBoxLayout(m_grupoBins);
    bins->setContentsMargins(9, 8, 7, 12);
    bins->setSpacing(0);
    auto *entrada = new QVBoxLayout;
    entrada->setSpacing(2);
    m_rotuloBin = new QLabel(QStringLiteral("Bin ou Range"), m_grupoBins);
    m_rotuloBin->setObjectName("Label5");
    m_rotuloBin->setMinimumSize(120, 16);
    m_edBin = new QLineEdit(m_grupoBins);
    m_edBin->setObjectName(QString::fromUtf8(m_dados.edBin));
    m_edBin->setMinimumWidth(Escala(this, 130));
    m_edBin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_edBin->setMaxLength(TamMaxEntradaBin);
    // Pasted or dropped text passes the same gate as typed keys.
    m_edBin->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9-]*")), m_edBin));
    m_edBin->installEventFilter(this);
    connect(m_edBin, &QLineEdit::textChanged, this, &TFrmIncluiCartao::ed_binChange);
    entrada->addWidget(m_rotuloBin);
    entrada->addWidget(m_edBin);
    entrada->addStretch(1);
    bins->addLayout(entrada);
    bins->addSpacing(6);

    auto botaoDeBin = [&](const char *nome, bool incluir, const QString &dica) {
        auto *b = new QToolButton(m_grupoBins);
        b->setObjectName(nome);
        b->setFixedSize(Escala(this, QSize(32, 32)));
        b->setIcon(Glifo(incluir));
        b->setIconSize(Escala(this, QSize(20, 20)));
        b->setToolTip(dica);
        return b;
    };
    m_btIncluiBin = botaoDeBin("bt_inclui_bin", true, QStringLiteral("inclui bin"));
    connect(m_btIncluiBin, &QToolButton::clicked, this, &TFrmIncluiCartao::bt_inclui_binClick);
    m_btExcluiBin =
        botaoDeBin("bt_exclui_bin", false, QStringLiteral("<Excluir>Selecione o bin desejado"));
    connect(m_btExcluiBin, &QToolButton::clicked, this, &TFrmIncluiCartao::bt_exclui_binClick);
    auto *comandos = new QVBoxLayout;
    comandos->setContentsMargins(0, 14, 0, 0);
    comandos->setSpacing(8);
    comandos->addWidget(m_btIncluiBin);
    comandos->addWidget(m_btExcluiBin);
    comandos->addStretch(1);
    bins->addLayout(comandos);
    bins->addStretch(1);

    m_listaBins = new QListWidget(m_grupoBins);
    m_listaBins->setObjectName(QString::fromUtf8(m_dados.listaBins));
    m_listaBins->setFixedSize(Escala(this, QSize(154, 145)));
    m_listaBins->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listaBins->setToolTip(QStringLiteral("Tecla <DEL> exclui bin"));
    m_listaBins->installEventFilter(this);
    auto *lista = new QVBoxLayout;
    lista->setContentsMargins(0, 2, 0, 0);
    lista->addWidget(m_listaBins);
    lista->addStretch(1);
    bins->addLayout(lista);
    coluna->addWidget(m_grupoBins, 1);
    coluna->addSpacing(-4);

    auto *rodape = new QHBoxLayout;
    auto painelDe = [&](const char *nome, const QString &caption, int tag) {
        auto *p = new PainelBotao(m_painel);
        p->setObjectName(QString::fromUtf8(nome));
        p->setCaption(caption);
        p->setTag(tag);
        p->setMinimumSize(81, 25);
        p->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        return p;
    };
    m_btConfirma = painelDe(m_dados.painelConfirma, QStringLiteral("Confirma"), 2);
    connect(m_btConfirma, &PainelBotao::clicado, this, &TFrmIncluiCartao::bt_conf_incluirClick);
    m_btEncerra = painelDe(m_dados.painelEncerra, QStringLiteral("Encerra"), 1);
    connect(m_btEncerra, &PainelBotao::clicado, this, &TFrmIncluiCartao::bt_encerra_incluirClick);
    rodape->addWidget(m_btConfirma);
    rodape->addStretch(1);
    rodape->addWidget(m_btEncerra);
    coluna->addLayout(rodape);
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
