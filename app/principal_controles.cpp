// The main window's controls, menus and keys, built in code as a form file would describe them;
// app/principal.cpp holds what they do.

#include "app/principal.h"

#include "app/comandos_instalacao.h"
#include "app/historico_cartoes.h"
#include "app/logo.h"
#include "app/pagina_cartoes.h"
#include "app/preferencias.h"
#include "batch/verificacao.h"
#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/erro.h"
#include "env/roteamento.h"
#include "env/texto.h"
#include "routing/sobreposicao.h"
#include "widgets/ajusta_visual.h"
#include "widgets/caixas.h"
#include "widgets/painel_botao.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

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

    // The logo, then the routing switch in its group; the heights are those at 100%, more when
    // the fonts are larger.
    m_panel4 = new QWidget(central);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    m_panel4->setMinimumHeight(83);
    m_panel4->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *cabecalho = new QHBoxLayout(m_panel4);
    cabecalho->setContentsMargins(10, 10, 0, 1);
    cabecalho->setSpacing(0);
    m_image1 = new QLabel(m_panel4);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setFixedSize(105, 72);
    const QImage logo = LogoPrincipal();
    if (!logo.isNull()) {
        m_image1->setPixmap(QPixmap::fromImage(logo));
        setWindowIcon(QPixmap::fromImage(logo));
    }
    cabecalho->addWidget(m_image1, 0, Qt::AlignTop);
    cabecalho->addSpacing(113);
    m_groupBox3 = new QGroupBox(QStringLiteral("Configuração de Roteamento por Bins"), m_panel4);
    m_groupBox3->setObjectName(QStringLiteral("GroupBox3"));
    m_groupBox3->setMinimumSize(361, 49);
    m_groupBox3->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *chave = new QHBoxLayout(m_groupBox3);
    chave->setContentsMargins(0, 0, 0, 3);
    m_pnAtivaRoteamento = new PainelBotao(m_groupBox3);
    m_pnAtivaRoteamento->setObjectName(QStringLiteral("pnAtivaRoteamento"));
    m_pnAtivaRoteamento->setMinimumSize(73, 25);
    m_pnAtivaRoteamento->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_pnAtivaRoteamento->setTag(1);
    chave->addWidget(m_pnAtivaRoteamento, 0, Qt::AlignCenter);
    connect(m_pnAtivaRoteamento, &PainelBotao::clicado, this, &TFrmPrinc::pnAtivaRoteamentoClick);
    auto *colunaChave = new QVBoxLayout;
    colunaChave->setContentsMargins(0, 10, 0, 0);
    colunaChave->addWidget(m_groupBox3);
    colunaChave->addStretch(1);
    cabecalho->addLayout(colunaChave);
    cabecalho->addStretch(1);
    vertical->addWidget(m_panel4);

    m_groupBox2 = new QGroupBox(central);
    m_groupBox2->setObjectName(QStringLiteral("GroupBox2"));
    m_groupBox2->setMinimumHeight(56);
    m_groupBox2->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *empresa = new QVBoxLayout(m_groupBox2);
    empresa->setContentsMargins(7, 0, 0, 9);
    empresa->setSpacing(2);
    m_label1 = new QLabel(QStringLiteral("Empresa"), m_groupBox2);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setMinimumSize(100, 14);
    m_cbEmpresa = new QComboBox(m_groupBox2);
    m_cbEmpresa->setObjectName(QStringLiteral("cb_empresa"));
    m_cbEmpresa->setEditable(true);
    m_cbEmpresa->setCompleter(nullptr);
    m_cbEmpresa->setInsertPolicy(QComboBox::NoInsert);
    m_cbEmpresa->setToolTip(QStringLiteral("Selecione a empresa"));
    m_cbEmpresa->setMinimumSize(Escala(this, QSize(110, 22)));
    m_cbEmpresa->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Typed or chosen, every change of the text is a company selection.
    connect(m_cbEmpresa->lineEdit(), &QLineEdit::textEdited, this, [this] { cb_empresaChange(); });
    connect(m_cbEmpresa, &QComboBox::activated, this, [this] { cb_empresaChange(); });
    empresa->addWidget(m_label1, 0, Qt::AlignLeft);
    empresa->addWidget(m_cbEmpresa, 0, Qt::AlignLeft);
    empresa->addStretch(1);
    vertical->addWidget(m_groupBox2);

    auto *baixo = new QHBoxLayout;
    baixo->setContentsMargins(0, 0, 0, 0);
    baixo->setSpacing(0);
    m_tree = new QTreeWidget(central);
    m_tree->setObjectName(QStringLiteral("TreeView_Opcoes"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    for (const TipoDeCartao &t : TiposDeCartao)
        m_tree->addTopLevelItem(new QTreeWidgetItem({QString::fromUtf8(t.titulo)}));
    // Wide enough for its longest title in the tree's font, at least as at 100%.
    int titulo = 0;
    for (const TipoDeCartao &t : TiposDeCartao)
        titulo =
            std::max(titulo, m_tree->fontMetrics().horizontalAdvance(QString::fromUtf8(t.titulo)));
    m_tree->setFixedWidth(std::max(105, titulo + 2 * m_tree->frameWidth() + 24));
    connect(m_tree, &QTreeWidget::itemClicked, this, [this] { TreeView_OpcoesClick(); });
    // The keyboard opens a page as a click does: an arrow on the node it reaches, Return or
    // Space on the current one.
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *novo) {
        if (novo && m_teclaNaArvore) TreeView_OpcoesClick();
    });
    m_tree->installEventFilter(this);
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
    for (const TipoDeCartao &t : TiposDeCartao) {
        auto *pagina = new PaginaCartoes(t.grade, Cartoes(), *m_historico, m_catalogo);
        m_paginas[Indice(t.grade)] = pagina;
        m_pageControl->addTab(pagina, pagina->Titulo());
        connect(pagina, &PaginaCartoes::retornar, this, &TFrmPrinc::bt_sair_credClick);
    }

    // Where the export collects its lines.
    m_memo = new QPlainTextEdit(central);
    m_memo->setObjectName(QStringLiteral("MemoDadosArq_Incluir"));
    m_memo->hide();

    MontaMenu();

    // Which table is edited, how full it is, and whether it has unsaved changes.
    m_statusTabela = new QLabel(this);
    m_statusTabela->setObjectName(QStringLiteral("StatusTabela"));
    m_statusEntradas = new QLabel(this);
    m_statusEntradas->setObjectName(QStringLiteral("StatusEntradas"));
    m_statusAlterada = new QLabel(this);
    m_statusAlterada->setObjectName(QStringLiteral("StatusAlterada"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_statusTabela);
    statusBar()->addWidget(m_statusEntradas);
    statusBar()->addWidget(m_statusAlterada, 1);
    connect(&Cartoes(), &TabelaCartoes::alteradaMudou, this, &TFrmPrinc::AtualizaSituacao);
    connect(&Cartoes(), &TabelaCartoes::recarregada, this, &TFrmPrinc::AtualizaSituacao);
    connect(&Cartoes(), &TabelaCartoes::incluido, this, &TFrmPrinc::AtualizaSituacao);
    connect(&Cartoes(), &TabelaCartoes::excluido, this, &TFrmPrinc::AtualizaSituacao);
    connect(&Cartoes(), &TabelaCartoes::padraoMudou, this, &TFrmPrinc::AtualizaSituacao);

    resize(1206, 645 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
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
    m_verificar = arquivo->addAction(QStringLiteral("&Verificar bins"));
    m_verificar->setObjectName(QStringLiteral("VerificarBins1"));
    // Ctrl+S: the save "Retornar" › Sim makes, with the page left open.
    m_gravar = arquivo->addAction(QStringLiteral("&Gravar"));
    m_gravar->setObjectName(QStringLiteral("Gravar1"));
    m_gravar->setShortcut(QKeySequence::Save);
    m_gravar->setEnabled(false);
    m_sair = barra->addAction(QStringLiteral("&Sair"));
    m_sair->setObjectName(QStringLiteral("Sair1"));
    connect(m_importar, &QAction::triggered, this, &TFrmPrinc::Importar1Click);
    connect(m_exportar, &QAction::triggered, this, &TFrmPrinc::Exportar1Click);
    connect(m_verificar, &QAction::triggered, this, &TFrmPrinc::VerificarBins1Click);
    connect(m_gravar, &QAction::triggered, this, [this] { SalvaConfig(); });
    connect(m_sair, &QAction::triggered, this, &TFrmPrinc::Sair1Click);
}

void TFrmPrinc::MontaDesfazer() {
    auto *editar = new QMenu(QStringLiteral("&Editar"), menuBar());
    editar->setObjectName(QStringLiteral("Editar1"));
    menuBar()->insertMenu(m_sair, editar);
    // The platform's keys and Ctrl+Shift+Z for redo everywhere.
    auto teclas = [](QKeySequence::StandardKey padrao, const QKeySequence &mais) {
        QList<QKeySequence> lista = QKeySequence::keyBindings(padrao);
        if (!lista.contains(mais)) lista.append(mais);
        return lista;
    };
    QAction *desfazer = m_historico->CriaAcaoDesfazer(editar, QStringLiteral("&Desfazer"));
    desfazer->setObjectName(QStringLiteral("Desfazer1"));
    desfazer->setShortcuts(teclas(QKeySequence::Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)));
    editar->addAction(desfazer);
    QAction *refazer = m_historico->CriaAcaoRefazer(editar, QStringLiteral("&Refazer"));
    refazer->setObjectName(QStringLiteral("Refazer1"));
    refazer->setShortcuts(
        teclas(QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    editar->addAction(refazer);
    connect(m_historico, &HistoricoCartoes::restaurada, this, [this] {
        for (PaginaCartoes *p : m_paginas)
            p->AcompanhaTabela();
    });
}

void TFrmPrinc::AplicaCoresDeTexto() {
    // The tree and the selector take it from the window.
    PoeTextoEscuro(this);
    for (PaginaCartoes *p : m_paginas)
        p->AplicaCoresDeTexto();
}
