#include "app/principal.h"

#include "app/logo.h"
#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "dialogs/dialogo_cartao.h"
#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/erro.h"
#include "env/roteamento.h"
#include "env/texto.h"
#include "env/trace.h"
#include "widgets/ajusta_visual.h"
#include "widgets/caixas.h"
#include "widgets/painel_botao.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <QHeaderView>

#include <cstring>
#include <functional>

namespace {

TFrmPrinc *g_principal = nullptr;

const QString Bloqueada = QStringLiteral("Bloqueada");
const QColor CorAtiva(84, 179, 74);
const QColor CorInativa(221, 52, 53);
// The system's active-border colour of the title row.
const QColor CorLinhaTitulo(180, 180, 180);
constexpr int LimiteInclusao = 200;

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
    bool teclaExclui; // the Delete key deletes on this grid
};

const DadosPagina Dados[3] = {
    {"TabSheet_Cred", "bt_incluir_cred", "bt_alterar_cred", "bt_exclui_cred", "Grade_cred",
     "CB_Rede_Padrao_Cred", "Group_Selec_rede_cred", "Combo_default_cred", "bt_sair_cred", false},
    {"TabSheet_Deb", "bt_incluir_deb", "bt_alterar_deb", "bt_excluir_deb", "grade_deb",
     "CB_Rede_Padrao_Deb", "Group_selec_rede_deb", "Combo_default_deb", "bt_sair_deb", true},
    {"TabSheet_Comb", "bt_incluir_comb", "bt_alterar_comb2", "SpeedButton1", "Grade_comb",
     "CB_Rede_Padrao_comb", "Group_selec_rede_comb", "combo_default_comb", "bt_sair_comb", true},
};

QString Texto(const QTableWidget *grade, int linha, int coluna) {
    const QTableWidgetItem *item = grade->item(linha, coluna);
    return item ? item->text() : QString();
}

void PoeTexto(QTableWidget *grade, int linha, int coluna, const QString &texto) {
    if (QTableWidgetItem *item = grade->item(linha, coluna)) {
        item->setText(texto);
    } else {
        grade->setItem(linha, coluna, new QTableWidgetItem(texto));
    }
}

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

bool Menor(const QByteArray &a, const QByteArray &b) {
    const qsizetype n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.constData(), b.constData(), size_t(n)) : 0;
    return c < 0 || (c == 0 && a.size() < b.size());
}

} // namespace

TFrmPrinc *FrmPrinc() {
    return g_principal;
}

TFrmPrinc::TFrmPrinc(QWidget *pai) : QMainWindow(pai) {
    g_principal = this;
    setObjectName(QStringLiteral("FrmPrinc"));
    LimpaTabRot(m_estado.tabela);
    MontaControles();
    FormCreate();
}

TFrmPrinc::~TFrmPrinc() {
    if (g_principal == this) g_principal = nullptr;
}

// --- Layout ---------------------------------------------------------------------------------

void TFrmPrinc::MontaControles() {
    setFont(FonteDasJanelas(8));
    setWindowTitle(QStringLiteral("Configurador Roteamento"));
    // No close command: the program is left through "&Sair" only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    auto *vertical = new QVBoxLayout(central);
    vertical->setContentsMargins(0, 0, 0, 0);
    vertical->setSpacing(0);

    m_panel4 = new QWidget(central);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    m_panel4->setFixedHeight(83);
    m_image1 = new QLabel(m_panel4);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(10, 10, 105, 72);
    const QImage logo = LogoPrincipal();
    if (!logo.isNull()) {
        m_image1->setPixmap(QPixmap::fromImage(logo));
        setWindowIcon(QPixmap::fromImage(logo));
    }
    m_groupBox3 = new QGroupBox(QStringLiteral("Configuração de Roteamento por Bins"), m_panel4);
    m_groupBox3->setObjectName(QStringLiteral("GroupBox3"));
    m_groupBox3->setGeometry(228, 20, 361, 49);
    m_pnAtivaRoteamento = new PainelBotao(m_groupBox3);
    m_pnAtivaRoteamento->setObjectName(QStringLiteral("pnAtivaRoteamento"));
    m_pnAtivaRoteamento->setGeometry(144, 17, 73, 25);
    m_pnAtivaRoteamento->setTag(1);
    connect(m_pnAtivaRoteamento, &PainelBotao::clicado, this, &TFrmPrinc::pnAtivaRoteamentoClick);
    vertical->addWidget(m_panel4);

    m_groupBox2 = new QGroupBox(central);
    m_groupBox2->setObjectName(QStringLiteral("GroupBox2"));
    m_groupBox2->setFixedHeight(56);
    m_label1 = new QLabel(QStringLiteral("Empresa"), m_groupBox2);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(10, 6, 100, 14);
    m_cbEmpresa = new QComboBox(m_groupBox2);
    m_cbEmpresa->setObjectName(QStringLiteral("cb_empresa"));
    m_cbEmpresa->setEditable(true);
    m_cbEmpresa->setCompleter(nullptr);
    m_cbEmpresa->setInsertPolicy(QComboBox::NoInsert);
    m_cbEmpresa->setToolTip(QStringLiteral("Selecione a empresa"));
    m_cbEmpresa->setGeometry(10, 22, 110, 22);
    // Typed or chosen, every change of the text is a company selection.
    connect(m_cbEmpresa->lineEdit(), &QLineEdit::textEdited, this, [this] { cb_empresaChange(); });
    connect(m_cbEmpresa, &QComboBox::activated, this, [this] { cb_empresaChange(); });
    vertical->addWidget(m_groupBox2);

    auto *baixo = new QHBoxLayout;
    baixo->setContentsMargins(0, 0, 0, 0);
    baixo->setSpacing(0);
    m_tree = new QTreeWidget(central);
    m_tree->setObjectName(QStringLiteral("TreeView_Opcoes"));
    m_tree->setFixedWidth(105);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    for (const TipoDeCartao &t : TiposDeCartao)
        m_tree->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(t.titulo)}));
    connect(m_tree, &QTreeWidget::itemClicked, this, [this] { TreeView_OpcoesClick(); });
    baixo->addWidget(m_tree);

    // The pages' place stays taken while they are hidden, so the tree keeps to the left edge.
    auto *area = new QWidget(central);
    auto *areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    m_pageControl = new QTabWidget(area);
    m_pageControl->setObjectName(QStringLiteral("PageControl_opcoes"));
    m_pageControl->setFont(FonteDasJanelas(9));
    areaLayout->addWidget(m_pageControl);
    baixo->addWidget(area, 1);
    vertical->addLayout(baixo, 1);
    for (int t = 0; t < 3; ++t)
        MontaPagina(TipoGrade(t));

    // Where the export collects its lines.
    m_memo = new QPlainTextEdit(central);
    m_memo->setObjectName(QStringLiteral("MemoDadosArq_Incluir"));
    m_memo->hide();

    MontaMenu();

    resize(1206, 645 + menuBar()->sizeHint().height());
    PoeDentroDaTela();
}

void TFrmPrinc::PoeDentroDaTela() {
    const QScreen *tela = screen();
    if (!tela) return;
    const QRect livre = tela->availableGeometry();
    // Before the window is mapped its frame is unknown: leave room for a title bar and borders.
    const QMargins moldura = frameGeometry() != geometry()
                                 ? QMargins(geometry().left() - frameGeometry().left(),
                                            geometry().top() - frameGeometry().top(),
                                            frameGeometry().right() - geometry().right(),
                                            frameGeometry().bottom() - geometry().bottom())
                                 : QMargins(8, 32, 8, 8);
    const QSize cabe = livre.size().shrunkBy(moldura);
    QSize tamanho = size().boundedTo(cabe).expandedTo(minimumSizeHint().boundedTo(cabe));
    resize(tamanho);
    QRect r(QPoint(), tamanho.grownBy(moldura));
    r.moveCenter(livre.center());
    // The title bar stays on the screen whatever the sizes.
    r.moveTop(std::max(r.top(), livre.top()));
    r.moveLeft(std::max(r.left(), livre.left()));
    move(r.topLeft());
}

void TFrmPrinc::MontaPagina(TipoGrade tipo) {
    const DadosPagina &d = Dados[int(tipo)];
    Pagina &p = m_paginas[int(tipo)];
    p.titulo = QString::fromUtf8(TipoDe(tipo).titulo);
    p.aba = new QWidget;
    p.aba->setObjectName(QString::fromUtf8(d.aba));
    auto *vertical = new QVBoxLayout(p.aba);
    vertical->setContentsMargins(0, 0, 0, 0);
    vertical->setSpacing(0);

    auto *grupo = new QGroupBox(p.aba);
    grupo->setFont(FonteDasJanelas(10, true, true));
    auto *dentro = new QVBoxLayout(grupo);
    auto *barra = new QHBoxLayout;
    barra->setSpacing(2);
    auto painel = [&](const char *nome, const QString &caption) {
        auto *b = new PainelBotao(caption, grupo);
        b->setObjectName(QString::fromUtf8(nome));
        b->setFixedSize(73, 25);
        b->setTag(1);
        barra->addWidget(b);
        return b;
    };
    p.incluir = painel(d.incluir, QStringLiteral("Incluir"));
    p.alterar = painel(d.alterar, QStringLiteral("Alterar"));
    p.excluir = painel(d.excluir, QStringLiteral("Excluir"));
    barra->addStretch(1);
    dentro->addLayout(barra);

    p.grade = new QTableWidget(2, 3, grupo);
    QTableWidget *g = p.grade;
    g->setObjectName(QString::fromUtf8(d.grade));
    const QFont fonteGrade = FonteDasJanelas(8, true);
    g->setFont(fonteGrade);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(20);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setShowGrid(true);
    g->setWordWrap(false);
    g->setToolTip(QStringLiteral("<Duplo Clique> Para Alterar os dados"));
    g->setAccessibleName(QStringLiteral("Cartões ") + p.titulo);
    g->viewport()->installEventFilter(this);
    // The title row is row 0, kept as items; the header shows it, fixed above the scrolling
    // rows, and lets the operator resize the columns.
    g->setRowHidden(0, true);
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
    connect(cabecalho, &QHeaderView::sectionPressed, this,
            [this, tipo](int coluna) { OrdenaPeloTitulo(tipo, coluna); });
    connect(cabecalho, &QHeaderView::sectionDoubleClicked, this,
            [this, tipo] { Alterar(tipo, QStringLiteral("Clique para alterar no bin desejado")); });
    g->installEventFilter(this);
    dentro->addWidget(g, 1);
    vertical->addWidget(grupo, 1);

    auto *rodape = new QWidget(p.aba);
    rodape->setFixedHeight(44);
    p.check = new QCheckBox(QStringLiteral("Rede Padrão "), rodape);
    p.check->setObjectName(QString::fromUtf8(d.check));
    p.check->setGeometry(10, 14, 100, 17);
    p.check->installEventFilter(this);
    p.grupo = new QGroupBox(QStringLiteral("Selecione a rede"), rodape);
    p.grupo->setObjectName(QString::fromUtf8(d.grupo));
    p.grupo->setGeometry(115, 0, 165, 42);
    p.combo = new QComboBox(p.grupo);
    p.combo->setObjectName(QString::fromUtf8(d.combo));
    p.combo->setGeometry(10, 16, 145, 22);
    p.retornar = new PainelBotao(QStringLiteral("Retornar"), rodape);
    p.retornar->setObjectName(QString::fromUtf8(d.retornar));
    p.retornar->setGeometry(300, 10, 90, 25);
    p.retornar->setTag(1);
    vertical->addWidget(rodape);

    m_pageControl->addTab(p.aba, p.titulo);

    connect(p.incluir, &PainelBotao::clicado, this, [this, tipo] { Incluir(tipo); });
    connect(p.alterar, &PainelBotao::clicado, this,
            [this, tipo] { Alterar(tipo, QStringLiteral("Clique no bin desejado")); });
    connect(p.excluir, &PainelBotao::clicado, this, [this, tipo] { Excluir(tipo, false); });
    connect(p.retornar, &PainelBotao::clicado, this, &TFrmPrinc::bt_sair_credClick);
    connect(g, &QTableWidget::itemSelectionChanged, this, [this, tipo] { SelecaoMudou(tipo); });
    connect(p.check, &QCheckBox::toggled, this, [this, tipo] { CB_Rede_PadraoClick(tipo); });
    connect(p.combo, &QComboBox::activated, this, [this] { m_estado.configuracaoAlterada = true; });
}

void TFrmPrinc::MontaMenu() {
    QMenuBar *barra = menuBar();
    barra->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *arquivo = barra->addMenu(QStringLiteral("&Arquivo"));
    arquivo->setObjectName(QStringLiteral("Arquivo1"));
    m_arquivo = arquivo->menuAction();
    m_importar = arquivo->addAction(QStringLiteral("&Importar "));
    m_importar->setObjectName(QStringLiteral("Importar1"));
    m_exportar = arquivo->addAction(QStringLiteral("&Exportar"));
    m_exportar->setObjectName(QStringLiteral("Exportar1"));
    m_sair = barra->addAction(QStringLiteral("&Sair"));
    m_sair->setObjectName(QStringLiteral("Sair1"));
    connect(m_importar, &QAction::triggered, this, &TFrmPrinc::Importar1Click);
    connect(m_exportar, &QAction::triggered, this, &TFrmPrinc::Exportar1Click);
    connect(m_sair, &QAction::triggered, this, &TFrmPrinc::Sair1Click);
}

QTableWidget *TFrmPrinc::Grade(TipoGrade tipo) const {
    return m_paginas[int(tipo)].grade;
}
QCheckBox *TFrmPrinc::CheckPadrao(TipoGrade tipo) const {
    return m_paginas[int(tipo)].check;
}
QGroupBox *TFrmPrinc::GrupoPadrao(TipoGrade tipo) const {
    return m_paginas[int(tipo)].grupo;
}
QComboBox *TFrmPrinc::ComboPadrao(TipoGrade tipo) const {
    return m_paginas[int(tipo)].combo;
}

TipoGrade TFrmPrinc::TipoDaGrade(const QTableWidget *grade) const {
    for (int t = 0; t < 3; ++t)
        if (m_paginas[t].grade == grade) return TipoGrade(t);
    return TipoGrade::Credito;
}

void TFrmPrinc::RegistraDialogos(TFrmIncluiCartao *cred, TFrmIncluiCartao *deb,
                                 TFrmIncluiCartao *comb) {
    m_dialogos = {cred, deb, comb};
}

// --- Creation and first show ----------------------------------------------------------------

void TFrmPrinc::FormCreate() {
    setWindowTitle(QStringLiteral("%1 - %2").arg(QStringLiteral("Configurador Roteamento"),
                                                 QStringLiteral(VERSAO_PROGRAMA)));
    AjustaVisual(this);
    AplicaCoresDeTexto();
    for (const Pagina &p : m_paginas)
        p.incluir->setCor(CorPainelLaranja);
    m_pnAtivaRoteamento->setCorTexto(Qt::white);
    try {
        MostraRoteamento(m_pnAtivaRoteamento, false);
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
    }
}

void TFrmPrinc::AplicaCoresDeTexto() {
    // The tree and the selector take it from the window.
    PoeTextoEscuro(this);
    for (const Pagina &p : m_paginas) {
        PoeTextoEscuro(p.check);
        if (p.check->isChecked()) PoeTextoEscuro(p.grupo);
        // The grids keep black text.
        PoeCorTexto(p.grade, Qt::black);
    }
}

void TFrmPrinc::changeEvent(QEvent *evento) {
    QMainWindow::changeEvent(evento);
    // A theme switched while the program runs: the text colours follow it.
    if (evento->type() == QEvent::ApplicationPaletteChange) AplicaCoresDeTexto();
}

void TFrmPrinc::showEvent(QShowEvent *evento) {
    QMainWindow::showEvent(evento);
    if (!m_mostrada) {
        m_mostrada = true;
        FormShow();
        // Now the window manager has given the frame its real size.
        QTimer::singleShot(0, this, [this] {
            if (const QScreen *tela = screen();
                tela && !tela->availableGeometry().contains(frameGeometry()))
                PoeDentroDaTela();
        });
    }
}

void TFrmPrinc::MontaTituloGrade(QTableWidget *grade) {
    static const int larguras[3] = {250, 150, 1500};
    static const char *titulos[3] = {"Cartão ", "Rede Destino", "Bins"};
    for (int c = 0; c < 3; ++c) {
        grade->setColumnWidth(c, larguras[c]);
        auto *item = new QTableWidgetItem(QString::fromUtf8(titulos[c]));
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(CorLinhaTitulo);
        grade->setItem(0, c, item);
    }
    grade->setHorizontalHeaderLabels({Texto(grade, 0, 0), Texto(grade, 0, 1), Texto(grade, 0, 2)});
}

void TFrmPrinc::FormShow() {
    for (const Pagina &p : m_paginas)
        MontaTituloGrade(p.grade);
    if (!m_catalogo.CarregaComunic())
        Caixas().Mensagem(this, QStringLiteral("Problemas ao acessar arquivo de configuração"),
                          TituloConfigurador, Icone::Nenhum, Botoes::Ok);
    MontaComboEmpresa();
    m_tree->setEnabled(false);
    m_pageControl->hide();
    m_catalogo.CarregaModulos();
}

void TFrmPrinc::TreeView_OpcoesClick() {
    cb_empresaChange();
    m_pageControl->show();
    m_sair->setEnabled(false);
    m_cbEmpresa->setEnabled(false);
    QTreeWidgetItem *atual = m_tree->currentItem();
    const int indice = atual ? m_tree->indexOfTopLevelItem(atual) : -1;
    if (indice >= 0) MostraSomenteAba(indice);
}

void TFrmPrinc::MostraSomenteAba(int indice) {
    m_pageControl->setTabVisible(indice, true);
    m_pageControl->setCurrentIndex(indice);
    for (int i = 0; i < 3; ++i)
        if (i != indice) m_pageControl->setTabVisible(i, false);
}

void TFrmPrinc::closeEvent(QCloseEvent *evento) {
    // The window manager's close request is ignored: only "&Sair" ends the program.
    if (m_saindo) {
        QMainWindow::closeEvent(evento);
    } else {
        evento->ignore();
    }
}

// --- Companies, networks and the routing switch ---------------------------------------------

void TFrmPrinc::MontaComboEmpresa() {
    const QSignalBlocker bloqueio(m_cbEmpresa);
    m_cbEmpresa->clear();
    m_cbEmpresa->setEditText(QString());
    QStringList empresas;
    ListaEmpresas(Corta255(Raiz()), empresas);
    m_cbEmpresa->addItems(empresas);
    m_cbEmpresa->addItem(QStringLiteral("TODAS"));
    m_cbEmpresa->setCurrentIndex(-1);
    m_cbEmpresa->setEditText(QString());
}

void TFrmPrinc::cb_empresaChange() {
    LimpaGrade(Grade(TipoGrade::Debito));
    LimpaGrade(Grade(TipoGrade::Credito));
    LimpaGrade(Grade(TipoGrade::Combustivel));
    m_tree->setEnabled(true);
    const QString texto = m_cbEmpresa->currentText();
    const int indice = m_cbEmpresa->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (indice < 0) {
        Caixas().Mensagem(this, QStringLiteral("Empresa não encontrada"), TituloConfiguracao,
                          Icone::Erro, Botoes::Ok);
        const QSignalBlocker bloqueio(m_cbEmpresa);
        m_cbEmpresa->setEditText(QString());
        return;
    }
    const QString raiz = Corta255(Raiz());
    m_estado.caminhoTabRot = Caminhos::TabRot(raiz, texto);
    MontaRedesDeb();
    MontaRedesCred();
    MontaRedesComb();
    CarregaInformacoes();
    m_pageControl->setCurrentIndex(0);
}

void TFrmPrinc::LimpaGrade(QTableWidget *grade) {
    grade->clearSelection();
    grade->setRowCount(1);
    grade->setRowCount(2);
    grade->setCurrentCell(-1, -1);
    m_estado.linhaSelecionada[int(TipoDaGrade(grade))] = 0;
}

void TFrmPrinc::MostraRoteamento(PainelBotao *painel, bool alternar) {
    if (ChaveRoteamento(alternar)) {
        PintaPainel(painel, CorAtiva);
        painel->setCaption(QStringLiteral("Ativa"));
    } else {
        PintaPainel(painel, CorInativa);
        painel->setCaption(QStringLiteral("Inativa"));
    }
}

void TFrmPrinc::PintaPainel(PainelBotao *painel, const QColor &cor) {
    painel->setCor(cor);
    painel->setCorTexto(Qt::white);
    painel->setEnabled(true);
}

void TFrmPrinc::MontaRedes(TipoGrade tipo) {
    QComboBox *padrao = ComboPadrao(tipo);
    QComboBox *dialogo = m_dialogos[int(tipo)] ? m_dialogos[int(tipo)]->ComboRede() : nullptr;
    QStringList nomes;
    for (const QByteArray &nome : m_catalogo.RedesDoTipo(TipoDe(tipo).mascara))
        nomes << DeCp1252(nome);
    for (QComboBox *combo : {padrao, dialogo}) {
        if (!combo) continue;
        const QSignalBlocker bloqueio(combo);
        combo->clear();
        combo->addItems(nomes);
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) combo->setEditText(QString());
    }
}

void TFrmPrinc::pnAtivaRoteamentoClick() {
    try {
        MostraRoteamento(m_pnAtivaRoteamento, true);
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
    }
}

void TFrmPrinc::Sair1Click() {
    m_saindo = true;
    close();
}

// --- Loading --------------------------------------------------------------------------------

QString TFrmPrinc::NomeExibido(std::uint16_t codigo) const {
    if (codigo == RedeBloqueada) return Bloqueada;
    const QString nome = DeCp1252(m_catalogo.NomeDaRede(codigo));
    if (!nome.isEmpty()) return nome;
    // A network whose module is missing here keeps its code, shown so the operator sees it.
    const QString semModulo = QStringLiteral("Rede %1 (sem módulo)").arg(codigo);
    m_codigosSemModulo.insert(semModulo, codigo);
    return semModulo;
}

std::uint16_t TFrmPrinc::CodigoExibido(const QString &nome) const {
    if (nome == Bloqueada) return RedeBloqueada;
    const auto semModulo = m_codigosSemModulo.constFind(nome);
    if (semModulo != m_codigosSemModulo.constEnd()) return *semModulo;
    return m_catalogo.CodigoDaRede(ParaCp1252(nome));
}

void TFrmPrinc::PoeTextoCombo(QComboBox *combo, const QString &texto) {
    const QSignalBlocker bloqueio(combo);
    if (texto.isEmpty()) {
        combo->setCurrentIndex(-1);
        return;
    }
    int indice = combo->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (indice < 0) {
        // A network the list does not offer still shows what the file holds.
        combo->addItem(texto);
        indice = combo->count() - 1;
    }
    combo->setCurrentIndex(indice);
}

void TFrmPrinc::CB_Rede_PadraoClick(TipoGrade tipo) {
    const Pagina &p = m_paginas[int(tipo)];
    if (p.check->isChecked()) {
        PoeTextoEscuro(p.grupo);
        p.grupo->setEnabled(true);
        p.combo->setEnabled(true);
    } else {
        p.grupo->setEnabled(false);
        QPalette pal = p.grupo->palette();
        const QColor cinza = palette().color(QPalette::Disabled, QPalette::WindowText);
        pal.setColor(QPalette::Active, QPalette::WindowText, cinza);
        pal.setColor(QPalette::Inactive, QPalette::WindowText, cinza);
        p.grupo->setPalette(pal);
        PoeTextoCombo(p.combo, QString());
        p.combo->setEnabled(false);
    }
}

QString TFrmPrinc::CarregaBins(int entrada) {
    return DeCp1252(::CarregaBins(m_estado.tabela.Cartoes[entrada - 1]));
}

void TFrmPrinc::CarregaInformacoes() {
    for (const Pagina &p : m_paginas) {
        const QSignalBlocker bloqueio(p.check);
        p.check->setChecked(false);
        CB_Rede_PadraoClick(TipoDaGrade(p.grade));
    }
    TTabRot &tabela = m_estado.tabela;
    bool lido = false;
    try {
        lido = LeTabRot(m_estado.caminhoTabRot, tabela);
    } catch (const ErroES &e) {
        tabela.Qtd = 0;
        Erro(e.texto(), TituloConfigurador);
        return;
    }
    if (!lido) {
        tabela.Qtd = 0;
        // A missing file is a new table; one that is there but cannot be used must not look
        // empty, or the next save would overwrite it unknowingly.
        if (QFileInfo::exists(m_estado.caminhoTabRot))
            Erro(QStringLiteral("Não foi possível ler o arquivo %1").arg(m_estado.caminhoTabRot),
                 TituloConfigurador);
        return;
    }
    for (const Pagina &p : m_paginas)
        p.grade->setUpdatesEnabled(false);
    for (int i = 1; i <= tabela.Qtd; ++i) {
        const TCartao &c = tabela.Cartoes[i - 1];
        const QString rede = NomeExibido(c.CodRede);
        if (const auto padrao = TipoDoPadrao(c.Tipo)) {
            const Pagina &p = m_paginas[Indice(*padrao)];
            PoeTextoCombo(p.combo, rede);
            p.check->setChecked(true);
            CB_Rede_PadraoClick(*padrao);
        }
        const auto tipo = TipoDoCartao(c.Tipo);
        // Entries of another type have no grid.
        if (!tipo) continue;
        QTableWidget *g = m_paginas[Indice(*tipo)].grade;
        // The new card takes the blank last row, so a nameless entry never hides the next one.
        const int linha = g->rowCount() - 1;
        g->setRowCount(g->rowCount() + 1);
        PoeTexto(g, linha, 0, DeCp1252(CopiaCampoParaTexto(c.Nome, TamNome)));
        PoeTexto(g, linha, 1, rede);
        PoeTexto(g, linha, 2, CarregaBins(i));
    }
    for (const Pagina &p : m_paginas)
        p.grade->setUpdatesEnabled(true);
}

// --- Saving ---------------------------------------------------------------------------------

bool TFrmPrinc::GradePreenchida(QTableWidget *grade) const {
    return grade->rowCount() > 1 && !Texto(grade, 1, 0).isEmpty();
}

int TFrmPrinc::EntradasNaTela() const {
    int n = 0;
    for (const Pagina &p : m_paginas) {
        if (!p.combo->currentText().isEmpty()) ++n;
        for (int r = 1; r < p.grade->rowCount(); ++r)
            if (!Texto(p.grade, r, 0).isEmpty()) ++n;
    }
    return n;
}

bool TFrmPrinc::GravaConfDefault(QTableWidget *grade) {
    const int t = int(TipoDaGrade(grade));
    const QString texto = m_paginas[t].combo->currentText();
    if (texto.isEmpty()) return true;
    TTabRot &tabela = m_estado.tabela;
    if (tabela.Qtd >= MaxCartoes) return false;
    TCartao &c = tabela.Cartoes[tabela.Qtd++];
    c.CodRede = CodigoExibido(texto);
    c.Tipo = TiposDeCartao[t].tipoPadrao;
    return true;
}

bool TFrmPrinc::InclusaoCartao(QTableWidget *grade) {
    const int t = int(TipoDaGrade(grade));
    TTabRot &tabela = m_estado.tabela;
    for (int r = 1; r < grade->rowCount(); ++r) {
        const QString nome = Texto(grade, r, 0);
        if (nome.isEmpty()) continue;
        if (tabela.Qtd >= MaxCartoes) return false;
        const QList<QByteArray> bins = BinsDoTexto(ParaCp1252(Texto(grade, r, 2)));
        if (bins.size() > MaxBins) return false;
        for (const QByteArray &bin : bins)
            if (bin.size() > TamBinNoArquivo) return false;
        TCartao &c = tabela.Cartoes[tabela.Qtd++];
        std::memset(&c, 0, sizeof c);
        CopiaTextoParaCampo(ParaCp1252(nome), c.Nome);
        c.CodRede = CodigoExibido(Texto(grade, r, 1));
        c.Tipo = TiposDeCartao[t].tipo;
        for (int j = 0; j < bins.size(); ++j)
            CopiaTextoParaCampo(bins[j], c.Bins[j]);
        c.QtdBins = std::uint8_t(bins.size());
    }
    return true;
}

bool TFrmPrinc::TabelaDaTela(TTabRot &tabela, QString &recusa) {
    // What the table cannot hold is refused before anything is written.
    if (EntradasNaTela() > MaxCartoes) {
        recusa = QStringLiteral("A configuração tem mais de %1 entradas e não pode ser gravada.")
                     .arg(MaxCartoes);
        return false;
    }
    for (const Pagina &p : m_paginas) {
        for (int r = 1; r < p.grade->rowCount(); ++r) {
            const QString nome = Texto(p.grade, r, 0);
            if (nome.isEmpty()) continue;
            const QList<QByteArray> bins = BinsDoTexto(ParaCp1252(Texto(p.grade, r, 2)));
            if (bins.size() > MaxBins) {
                recusa = QStringLiteral("O cartão %1 tem mais de %2 bins. A configuração não foi "
                                        "gravada.")
                             .arg(nome.trimmed())
                             .arg(MaxBins);
                return false;
            }
            for (const QByteArray &bin : bins) {
                if (bin.size() > TamBinNoArquivo) {
                    recusa = QStringLiteral("O bin %1 do cartão %2 tem mais de %3 caracteres. A "
                                            "configuração não foi gravada.")
                                 .arg(DeCp1252(bin), nome.trimmed())
                                 .arg(TamBinNoArquivo);
                    return false;
                }
            }
        }
    }
    LimpaTabRot(tabela);
    for (const Pagina &p : m_paginas)
        GravaConfDefault(p.grade);
    for (const Pagina &p : m_paginas)
        InclusaoCartao(p.grade);
    return true;
}

bool TFrmPrinc::SalvaConfig() {
    QString recusa;
    if (!TabelaDaTela(m_estado.tabela, recusa)) {
        Erro(recusa, TituloConfigurador);
        return false;
    }
    // One write of the whole table: the payment server never sees the defaults without cards.
    try {
        QString motivo;
        if (!GravaTabRot(m_estado.caminhoTabRot, m_estado.tabela, &motivo)) {
            // The operator must know which file and why, to mend it and save again.
            Caixas().Mensagem(this,
                              QStringLiteral("Erro na gravação do arquivo\n%1: %2")
                                  .arg(QDir::toNativeSeparators(m_estado.caminhoTabRot), motivo),
                              TituloConfigurador, Icone::Nenhum, Botoes::Ok);
            return false;
        }
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
        return false;
    }
    m_estado.configuracaoAlterada = false;
    return true;
}

// --- Grid routines and commands -------------------------------------------------------------

void TFrmPrinc::IncluiDadosNaGrade(QTableWidget *grade, int linha, const QString &nome,
                                   const QString &rede, const QString &bins) {
    grade->setRowCount(grade->rowCount() + 1);
    IncluiDadosAlteradosNaGrade(grade, linha, nome, rede, bins);
}

void TFrmPrinc::IncluiDadosAlteradosNaGrade(QTableWidget *grade, int linha, const QString &nome,
                                            const QString &rede, const QString &bins) {
    PoeTexto(grade, linha, 0, Corta255(nome));
    PoeTexto(grade, linha, 1, Corta255(rede));
    PoeTexto(grade, linha, 2, bins);
}

void TFrmPrinc::SelecaoMudou(TipoGrade tipo) {
    const QTableWidget *g = Grade(tipo);
    const QModelIndexList linhas = g->selectionModel()->selectedRows();
    const int linha = linhas.isEmpty() ? 0 : linhas.first().row();
    m_estado.linhaSelecionada[int(tipo)] = linha > 0 ? linha : 0;
}

void TFrmPrinc::Incluir(TipoGrade tipo) {
    // The live table: the cards of the grids and the defaults set, not the last file read.
    if (EntradasNaTela() >= LimiteInclusao) {
        Caixas().Mensagem(this, QStringLiteral("Não é permitido cadastrar mais de 200 bancos."),
                          TituloConfiguracao, Icone::Nenhum, Botoes::Ok);
        return;
    }
    m_estado.operacao = QStringLiteral("I");
    if (TFrmIncluiCartao *d = m_dialogos[int(tipo)]) AbreDialogoCartao(d);
}

void TFrmPrinc::Alterar(TipoGrade tipo, const QString &semLinha) {
    const int linha = m_estado.linhaSelecionada[int(tipo)];
    if (linha == 0 || linha == -1) {
        Erro(semLinha, TituloConfigurador);
        return;
    }
    m_estado.operacao = QStringLiteral("A");
    if (TFrmIncluiCartao *d = m_dialogos[int(tipo)]) AbreDialogoCartao(d);
}

void TFrmPrinc::Excluir(TipoGrade tipo, bool pelaTecla) {
    QTableWidget *g = Grade(tipo);
    const int linha = m_estado.linhaSelecionada[int(tipo)];
    if (linha == 0 || linha == -1 || linha >= g->rowCount()) {
        if (!pelaTecla) Erro(QStringLiteral("Clique no bin desejado"), TituloConfigurador);
        return;
    }
    if (Caixas().Mensagem(this, QStringLiteral("Confirma a exclusão - ") + Texto(g, linha, 0),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) != Resposta::Sim)
        return;
    m_estado.configuracaoAlterada = true;
    g->removeRow(linha);
    if (g->rowCount() < 2) g->setRowCount(2);
    // The selection stays on the same row, now the card that followed; on the blank last row
    // there is no card to select.
    if (linha < g->rowCount() - 1) {
        g->selectRow(linha);
    } else {
        g->clearSelection();
        g->setCurrentCell(-1, -1);
    }
    SelecaoMudou(tipo);
}

void TFrmPrinc::TrocaLinhas(QTableWidget *grade, int a, int b) {
    for (int c = 0; c < grade->columnCount(); ++c) {
        QTableWidgetItem *ia = grade->takeItem(a, c);
        QTableWidgetItem *ib = grade->takeItem(b, c);
        grade->setItem(a, c, ib);
        grade->setItem(b, c, ia);
    }
}

void TFrmPrinc::OrdenaGrade(QTableWidget *grade, int coluna, int primeira, int ultima) {
    if (primeira >= ultima) return;
    // Keys are taken once and move with their rows.
    QList<QByteArray> chaves(ultima + 1);
    for (int r = primeira; r <= ultima; ++r)
        chaves[r] = ChaveOrdem(Texto(grade, r, coluna));
    const bool atualizava = grade->updatesEnabled();
    grade->setUpdatesEnabled(false);
    std::function<void(int, int)> ordena = [&](int ini, int fim) {
        int i = ini, j = fim;
        const QByteArray pivo = chaves[(ini + fim) / 2];
        do {
            while (Menor(chaves[i], pivo))
                ++i;
            while (Menor(pivo, chaves[j]))
                --j;
            if (i <= j) {
                if (i != j) {
                    TrocaLinhas(grade, i, j);
                    chaves.swapItemsAt(i, j);
                }
                ++i;
                --j;
            }
        } while (i <= j);
        if (ini < j) ordena(ini, j);
        if (i < fim) ordena(i, fim);
    };
    ordena(primeira, ultima);
    grade->setUpdatesEnabled(atualizava);
}

void TFrmPrinc::OrdenaPeloTitulo(TipoGrade tipo, int coluna) {
    QTableWidget *g = Grade(tipo);
    const QString titulo = Texto(g, 0, coluna).trimmed();
    int porColuna = -1;
    if (titulo == QStringLiteral("Cartão"))
        porColuna = 0;
    else if (titulo == QStringLiteral("Rede Destino"))
        porColuna = 1;
    else if (titulo == QStringLiteral("Bins"))
        porColuna = 2;
    if (porColuna < 0) return;
    OrdenaGrade(g, porColuna, 1, g->rowCount() - 2);
}

bool TFrmPrinc::eventFilter(QObject *objeto, QEvent *evento) {
    for (int t = 0; t < 3; ++t) {
        Pagina &p = m_paginas[t];
        if (!p.grade) break; // still being built
        if (objeto == p.check && evento->type() == QEvent::FocusIn) {
            m_estado.configuracaoAlterada = true;
        } else if (objeto == p.grade && evento->type() == QEvent::KeyRelease) {
            if (static_cast<QKeyEvent *>(evento)->key() == Qt::Key_Delete && Dados[t].teclaExclui)
                Excluir(TipoGrade(t), true);
        } else if (objeto == p.grade->horizontalHeader()->viewport()) {
            // The header sorts on the left button itself; the title row takes any button.
            if (evento->type() == QEvent::MouseButtonPress) {
                auto *rato = static_cast<QMouseEvent *>(evento);
                const int coluna =
                    p.grade->horizontalHeader()->logicalIndexAt(rato->position().toPoint());
                if (rato->button() != Qt::LeftButton && coluna >= 0)
                    OrdenaPeloTitulo(TipoGrade(t), coluna);
            }
            return false;
        } else if (objeto == p.grade->viewport()) {
            QTableWidget *g = p.grade;
            const auto tipo = evento->type();
            if (tipo == QEvent::MouseButtonDblClick) {
                // Anywhere on the grid; the title row has its own signal.
                Alterar(TipoGrade(t), QStringLiteral("Clique para alterar no bin desejado"));
                return true;
            }
            if (tipo != QEvent::MouseButtonPress) return false;
            // A left click on the first card row sorts by that column's title, as the title
            // row does.
            auto *rato = static_cast<QMouseEvent *>(evento);
            const QPoint pos = rato->position().toPoint();
            const int coluna = g->columnAt(pos.x());
            if (g->rowAt(pos.y()) == 1 && rato->button() == Qt::LeftButton && coluna >= 0)
                OrdenaPeloTitulo(TipoGrade(t), coluna);
            return false;
        }
    }
    return QMainWindow::eventFilter(objeto, evento);
}

void TFrmPrinc::bt_sair_credClick() {
    if (m_estado.configuracaoAlterada) {
        const Resposta r =
            Caixas().Mensagem(this, QStringLiteral("Deseja gravar a configuração ? "),
                              TituloConfigurador, Icone::Pergunta, Botoes::SimNaoCancelar);
        if (r == Resposta::Cancelar) return;
        // A failed save keeps the page, so the operator can mend the cause and try again.
        if (r == Resposta::Sim && !SalvaConfig()) return;
    }
    LimpaGrade(Grade(TipoGrade::Credito));
    m_tree->setEnabled(true);
    m_cbEmpresa->setEnabled(true);
    m_pageControl->hide();
    m_sair->setEnabled(true);
    cb_empresaChange();
}

// --- Import and export ----------------------------------------------------------------------

void TFrmPrinc::Importar1Click() {
    try {
        GravaTrace(cp1252("Entrou na rotina de importar"));
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
        return;
    }
    if (Caixas().Mensagem(this, QStringLiteral("Deseja realizar a importação ?"),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) != Resposta::Sim)
        return;
    const QString arquivo = Caixas().AbreArquivo(this, QStringLiteral("Importar"));
    if (!arquivo.isEmpty()) {
        try {
            ExecutaImportacao(Corta255(arquivo), m_estado.tabela);
        } catch (const ErroES &e) {
            // The run ended early: no closing message, the selector as it was.
            Erro(e.texto(), TituloConfigurador);
            return;
        }
    }
    Caixas().Mensagem(this, QStringLiteral("Importação encerrada"), TituloConfiguracao,
                      Icone::Exclamacao, Botoes::Ok);
    MontaComboEmpresa();
}

void TFrmPrinc::Exportar1Click() {
    m_memo->clear();
    if (Caixas().Mensagem(this, QStringLiteral("Deseja realizar a exportação ?"),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) != Resposta::Sim) {
        Caixas().Mensagem(this, QStringLiteral("Arquivo não exportado"), TituloConfiguracao,
                          Icone::Exclamacao, Botoes::Ok);
        return;
    }
    QByteArray linhas;
    try {
        linhas = LinhasExportacao(m_estado.tabela);
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
        return;
    }
    m_memo->setPlainText(DeCp1252(linhas));
    const QString arquivo = Caixas().SalvaArquivo(this, QStringLiteral("Exportar"));
    if (arquivo.isEmpty()) {
        Caixas().Mensagem(this, QStringLiteral("Arquivo não exportado"), TituloConfiguracao,
                          Icone::Exclamacao, Botoes::Ok);
        return;
    }
    try {
        GravaExportacao(arquivo, linhas);
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
        return;
    }
    Caixas().Mensagem(this, QStringLiteral("Arquivo exportado com sucesso"), TituloConfiguracao,
                      Icone::Exclamacao, Botoes::Ok);
}

void TFrmPrinc::Erro(const QString &texto, const QString &titulo) {
    Caixas().Mensagem(this, texto, titulo, Icone::Erro, Botoes::Ok);
}
