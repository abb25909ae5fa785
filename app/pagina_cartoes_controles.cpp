// A card page's controls, built in code as a form file would describe them; app/pagina_cartoes.cpp
// holds what they do.

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
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QToolTip>
#include <QUndoCommand>
#include <QVBoxLayout>

namespace {

// What tells the three pages apart.
struct DadosPagina {
    const char *aba;
    const char *incluir;
    const char *alterar;
    const char *excluir;
    const char *grade;
    const char *check;
    const char *grupo;
    const char *combo;
    const char *retornar;
};

const DadosPagina Dados[3] = {
    {"TabSheet_Cred", "bt_incluir_cred", "bt_alterar_cred", "bt_exclui_cred", "Grade_cred",
     "CB_Rede_Padrao_Cred", "Group_Selec_rede_cred", "Combo_default_cred", "bt_sair_cred"},
    {"TabSheet_Deb", "bt_incluir_deb", "bt_alterar_deb", "bt_excluir_deb", "grade_deb",
     "CB_Rede_Padrao_Deb", "Group_selec_rede_deb", "Combo_default_deb", "bt_sair_deb"},
    {"TabSheet_Comb", "bt_incluir_comb", "bt_alterar_comb2", "SpeedButton1", "Grade_comb",
     "CB_Rede_Padrao_comb", "Group_selec_rede_comb", "combo_default_comb", "bt_sair_comb"},
};

// Rows are chosen, not cells: moving the current cell brings its row into view and leaves the
// columns where the operator put them, so the cell of a 1,500-pixel Bins column never carries the
// view past all the text.
class GradeCartoes : public QTableView {
public:
    using QTableView::QTableView;

    void scrollTo(const QModelIndex &indice, ScrollHint dica = EnsureVisible) override {
        const int lateral = horizontalScrollBar()->value();
        QTableView::scrollTo(indice, dica);
        horizontalScrollBar()->setValue(lateral);
    }

protected:
    // A BIN list longer than its cell is shown whole in the cell's tip; elsewhere the grid's own.
    bool viewportEvent(QEvent *evento) override {
        if (evento->type() == QEvent::ToolTip) {
            auto *ajuda = static_cast<QHelpEvent *>(evento);
            const QModelIndex i = indexAt(ajuda->pos());
            const QString texto = i.data().toString();
            const QRect celula = visualRect(i);
            const int margens =
                2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
            if (i.column() == ModeloCartoes::ColunaBins &&
                fontMetrics().horizontalAdvance(texto) > celula.width() - margens) {
                QToolTip::showText(ajuda->globalPos(), texto, viewport(), celula);
                return true;
            }
        }
        return QTableView::viewportEvent(evento);
    }
};

} // namespace

void PaginaCartoes::MontaControles() {
    const DadosPagina &d = Dados[Indice(m_tipo)];
    setObjectName(QString::fromUtf8(d.aba));
    auto *vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(0, 0, 0, 0);
    vertical->setSpacing(0);

    auto *grupo = new QGroupBox(this);
    grupo->setFont(FonteDasJanelas(10, true, true));
    auto *dentro = new QVBoxLayout(grupo);
    auto *barra = new QHBoxLayout;
    barra->setSpacing(2);
    auto painel = [&](const char *nome, const QString &caption) {
        auto *b = new PainelBotao(caption, grupo);
        b->setObjectName(QString::fromUtf8(nome));
        b->setMinimumSize(73, 25);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        b->setTag(1);
        barra->addWidget(b);
        return b;
    };
    m_incluir = painel(d.incluir, QStringLiteral("Incluir"));
    m_alterar = painel(d.alterar, QStringLiteral("Alterar"));
    m_excluir = painel(d.excluir, QStringLiteral("Excluir"));
    barra->addStretch(1);
    dentro->addLayout(barra);
    MontaGrade(grupo);
    dentro->addWidget(m_grade, 1);
    vertical->addWidget(grupo, 1);

    // The default network's caption heads its own frame, the list inside it.
    auto *rodape = new QWidget(this);
    rodape->setMinimumHeight(44);
    rodape->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *linha = new QHBoxLayout(rodape);
    linha->setContentsMargins(10, 0, 0, 2);
    linha->setSpacing(0);
    m_check = new QCheckBox(QStringLiteral("Rede Padrão "), rodape);
    m_check->setObjectName(QString::fromUtf8(d.check));
    m_check->setMinimumSize(100, 17);
    linha->addWidget(m_check, 0, Qt::AlignVCenter);
    linha->addSpacing(5);
    m_grupo = new QGroupBox(QStringLiteral("Selecione a rede"), rodape);
    m_grupo->setObjectName(QString::fromUtf8(d.grupo));
    m_grupo->setMinimumSize(165, 42);
    m_grupo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *dentroGrupo = new QVBoxLayout(m_grupo);
    dentroGrupo->setContentsMargins(7, 0, 7, 3);
    m_combo = new QComboBox(m_grupo);
    m_combo->setObjectName(QString::fromUtf8(d.combo));
    m_combo->setMinimumSize(Escala(this, QSize(145, 22)));
    dentroGrupo->addWidget(m_combo);
    linha->addWidget(m_grupo, 0, Qt::AlignVCenter);
    linha->addSpacing(20);
    m_retornar = new PainelBotao(QStringLiteral("Retornar"), rodape);
    m_retornar->setObjectName(QString::fromUtf8(d.retornar));
    m_retornar->setMinimumSize(90, 25);
    m_retornar->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_retornar->setTag(1);
    linha->addWidget(m_retornar, 0, Qt::AlignVCenter);
    linha->addStretch(1);
    vertical->addWidget(rodape);

    connect(m_incluir, &PainelBotao::clicado, this, &PaginaCartoes::Incluir);
    connect(m_alterar, &PainelBotao::clicado, this, [this] { Alterar(SemLinha); });
    connect(m_excluir, &PainelBotao::clicado, this, [this] { Excluir(false); });
    connect(m_retornar, &PainelBotao::clicado, this, &PaginaCartoes::retornar);
    // Keys of the whole page: Escape is "Retornar", Insert "Incluir".
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &PaginaCartoes::retornar,
                  Qt::WidgetWithChildrenShortcut);
    new QShortcut(QKeySequence(Qt::Key_Insert), this, this, &PaginaCartoes::Incluir,
                  Qt::WidgetWithChildrenShortcut);
    // Tab follows the layout, top to bottom.
    setTabOrder(m_incluir, m_alterar);
    setTabOrder(m_alterar, m_excluir);
    setTabOrder(m_excluir, m_grade);
    setTabOrder(m_grade, m_check);
    setTabOrder(m_check, m_combo);
    setTabOrder(m_combo, m_retornar);
}

void PaginaCartoes::MontaGrade(QWidget *grupo) {
    m_grade = new GradeCartoes(grupo);
    QTableView *g = m_grade;
    g->setObjectName(QString::fromUtf8(Dados[Indice(m_tipo)].grade));
    g->setModel(m_modelo);
    const QFont fonteGrade = FonteDasJanelas(8, true);
    g->setFont(fonteGrade);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(20);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control; the arrows move within it.
    g->setTabKeyNavigation(false);
    g->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    g->setShowGrid(true);
    g->setWordWrap(false);
    g->setToolTip(QStringLiteral("<Duplo Clique> Para Alterar os dados"));
    g->setAccessibleName(QStringLiteral("Cartões ") + Titulo());
    g->viewport()->installEventFilter(this);
    // The titles are the header, fixed above the scrolling rows; the operator resizes columns.
    QHeaderView *cabecalho = g->horizontalHeader();
    cabecalho->show();
    cabecalho->viewport()->installEventFilter(this);
    cabecalho->setSectionResizeMode(QHeaderView::Interactive);
    cabecalho->setHighlightSections(false);
    cabecalho->setSectionsClickable(true);
    cabecalho->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cabecalho->setFont(fonteGrade);
    cabecalho->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(180, 180, 180);"
                       " color: black; border: 1px solid rgb(160, 160, 160);"
                       " padding-left: 2px; }"));
    static const int larguras[3] = {250, 150, 1500};
    for (int c = 0; c < 3; ++c)
        g->setColumnWidth(c, larguras[c]);
    connect(cabecalho, &QHeaderView::sectionPressed, this, &PaginaCartoes::OrdenaPeloTitulo);
    connect(cabecalho, &QHeaderView::sectionDoubleClicked, this,
            [this] { Alterar(SemLinhaDuplo); });
    g->installEventFilter(this);
    connect(g->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PaginaCartoes::SelecaoMudou);
}

void PaginaCartoes::AplicaCoresDeTexto() {
    PoeTextoEscuro(m_check);
    if (m_check->isChecked()) PoeTextoEscuro(m_grupo);
    // The grid keeps black text.
    PoeCorTexto(m_grade, Qt::black);
}
