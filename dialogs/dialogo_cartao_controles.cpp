// The card dialog's controls, built in code as a form file would describe them;
// dialogs/dialogo_cartao.cpp holds what they do.

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

// Names reach TabRot.bin as Windows-1252: a character it cannot hold is refused as typed.
class ValidadorCp1252 : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &texto, int &) const override {
        // ";" too: the export writes the name as it is and the import cuts its lines there.
        return CabeEmCp1252(texto) && !texto.contains(u';') ? Acceptable : Invalid;
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

} // namespace

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
