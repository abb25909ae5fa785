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

namespace {

const QColor CorAtiva(84, 179, 74);
const QColor CorInativa(221, 52, 53);

} // namespace

TFrmPrinc::TFrmPrinc(QWidget *pai)
    : QMainWindow(pai),
      m_comandos(std::make_unique<ComandosInstalacao>(this, m_documento, m_catalogo)) {
    setObjectName(QStringLiteral("FrmPrinc"));
    // Before the pages, which make their edits through it.
    m_historico = new HistoricoCartoes(Cartoes(), this);
    MontaControles();
    MontaDesfazer();
    FormCreate();
}

TFrmPrinc::~TFrmPrinc() = default;

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
    m_sair = barra->addAction(QStringLiteral("&Sair"));
    m_sair->setObjectName(QStringLiteral("Sair1"));
    connect(m_importar, &QAction::triggered, this, &TFrmPrinc::Importar1Click);
    connect(m_exportar, &QAction::triggered, this, &TFrmPrinc::Exportar1Click);
    connect(m_verificar, &QAction::triggered, this, &TFrmPrinc::VerificarBins1Click);
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

// --- Creation and first show ----------------------------------------------------------------

void TFrmPrinc::FormCreate() {
    // "[*]" shows while the table has unsaved changes.
    setWindowTitle(
        QStringLiteral("%1 - %2[*]")
            .arg(QStringLiteral("Configurador Roteamento"), QStringLiteral(VERSAO_PROGRAMA)));
    AtualizaSituacao();
    AjustaVisual(this);
    AplicaCoresDeTexto();
    for (PaginaCartoes *p : m_paginas)
        p->PainelIncluir()->setCor(CorPainelLaranja);
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
    for (PaginaCartoes *p : m_paginas)
        p->AplicaCoresDeTexto();
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

void TFrmPrinc::FormShow() {
    if (!m_catalogo.CarregaComunic())
        Caixas().Mensagem(this, QStringLiteral("Problemas ao acessar arquivo de configuração"),
                          TituloConfigurador, Icone::Nenhum, Botoes::Ok);
    MontaComboEmpresa();
    m_tree->setEnabled(false);
    m_pageControl->hide();
    m_catalogo.CarregaModulos();
    AvisaModulos();
}

void TFrmPrinc::AvisaModulos() {
    QString texto;
    if (m_catalogo.ConsultaIndisponivel())
        texto = QStringLiteral("Não foi possível consultar os módulos de rede: o programa %1 não "
                               "pôde ser executado. As redes ficam sem módulo.")
                    .arg(QDir::toNativeSeparators(ExecutavelConsulta()));
    if (!m_catalogo.ModulosRecusados().isEmpty()) {
        if (!texto.isEmpty()) texto += QStringLiteral("\n\n");
        texto += QStringLiteral("Módulos de rede ignorados:");
        for (const CatalogoRedes::Recusado &r : m_catalogo.ModulosRecusados())
            texto += QStringLiteral("\n%1: %2").arg(QDir::toNativeSeparators(r.caminho), r.motivo);
    }
    if (!texto.isEmpty())
        Caixas().Mensagem(this, texto, TituloConfigurador, Icone::Exclamacao, Botoes::Ok);
}

void TFrmPrinc::TreeView_OpcoesClick() {
    // Edits of the page shown are not dropped without the question "Retornar" asks; on Cancel
    // the page stays and so does its node.
    if (m_abaAberta >= 0 && !PerguntaGravar()) {
        const QSignalBlocker bloqueio(m_tree);
        m_tree->setCurrentItem(m_tree->topLevelItem(m_abaAberta));
        return;
    }
    // Without a company found there is no table for a page to edit or a save to write.
    if (!cb_empresaChange()) {
        FechaPaginas();
        return;
    }
    m_pageControl->show();
    m_sair->setEnabled(false);
    m_cbEmpresa->setEnabled(false);
    QTreeWidgetItem *atual = m_tree->currentItem();
    const int indice = atual ? m_tree->indexOfTopLevelItem(atual) : -1;
    if (indice >= 0) MostraSomenteAba(indice);
    m_abaAberta = m_pageControl->currentIndex();
}

bool TFrmPrinc::eventFilter(QObject *objeto, QEvent *evento) {
    if (objeto != m_tree) return QMainWindow::eventFilter(objeto, evento);
    // Only a key that moves to another node opens its page: not a click's press (the click
    // opens it), nor the node the tree makes current when it takes the focus.
    if (evento->type() == QEvent::KeyRelease || evento->type() == QEvent::FocusOut)
        m_teclaNaArvore = false;
    if (evento->type() != QEvent::KeyPress) return false;
    const int tecla = static_cast<QKeyEvent *>(evento)->key();
    if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_Space) &&
        m_tree->currentItem()) {
        TreeView_OpcoesClick();
        if (m_abaAberta >= 0) m_paginas[m_abaAberta]->Grade()->setFocus(Qt::TabFocusReason);
        return true;
    }
    m_teclaNaArvore = true;
    return false;
}

void TFrmPrinc::AtualizaSituacao() {
    const bool alterada = Cartoes().Alterada();
    setWindowModified(alterada);
    m_statusTabela->setText(CaminhoTabRot().isEmpty()
                                ? QStringLiteral("Nenhuma tabela carregada")
                                : QStringLiteral("Tabela: %1").arg(m_documento.Empresa()));
    m_statusEntradas->setText(
        CaminhoTabRot().isEmpty()
            ? QString()
            : QStringLiteral("Entradas: %1 de %2").arg(Cartoes().Entradas()).arg(MaxCartoes));
    m_statusAlterada->setText(alterada ? QStringLiteral("Alterações não gravadas") : QString());
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

// --- Companies and the routing switch -------------------------------------------------------

void TFrmPrinc::MontaComboEmpresa() {
    const QSignalBlocker bloqueio(m_cbEmpresa);
    m_cbEmpresa->clear();
    m_cbEmpresa->setEditText(QString());
    QStringList empresas;
    ListaEmpresas(Raiz(), empresas);
    m_cbEmpresa->addItems(empresas);
    m_cbEmpresa->addItem(QStringLiteral("TODAS"));
    m_cbEmpresa->setCurrentIndex(-1);
    m_cbEmpresa->setEditText(QString());
}

bool TFrmPrinc::cb_empresaChange() {
    for (PaginaCartoes *p : m_paginas)
        p->LimpaGrade();
    Cartoes().Limpa();
    m_tree->setEnabled(true);
    const QString texto = m_cbEmpresa->currentText();
    const int indice = m_cbEmpresa->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (indice < 0) {
        Caixas().Mensagem(this, QStringLiteral("Empresa não encontrada"), TituloConfiguracao,
                          Icone::Erro, Botoes::Ok);
        const QSignalBlocker bloqueio(m_cbEmpresa);
        m_cbEmpresa->setEditText(QString());
        // The table read before is no longer the one in use: nothing may be saved over it.
        m_documento.Esquece();
        AtualizaSituacao();
        return false;
    }
    for (PaginaCartoes *p : m_paginas)
        p->MontaRedes();
    CarregaInformacoes(texto);
    m_pageControl->setCurrentIndex(0);
    AtualizaSituacao();
    return true;
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

// --- Loading and saving -----------------------------------------------------------------------

void TFrmPrinc::CarregaInformacoes(const QString &empresa) {
    for (PaginaCartoes *p : m_paginas) {
        {
            const QSignalBlocker bloqueio(p->CheckPadrao());
            p->CheckPadrao()->setChecked(false);
        }
        p->CB_Rede_PadraoClick();
    }
    for (PaginaCartoes *p : m_paginas)
        p->Grade()->setUpdatesEnabled(false);
    DocumentoTabela::Carga carga = DocumentoTabela::Carga::Nova;
    try {
        carga = empresa.isEmpty() ? m_documento.Recarrega() : m_documento.Carrega(empresa);
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
    }
    for (PaginaCartoes *p : m_paginas) {
        if (carga == DocumentoTabela::Carga::Lida) p->MostraPadrao();
        p->Grade()->setUpdatesEnabled(true);
    }
    if (carga == DocumentoTabela::Carga::Ilegivel)
        Erro(QStringLiteral("Não foi possível ler o arquivo %1").arg(CaminhoTabRot()),
             TituloConfigurador);
}

Resposta TFrmPrinc::PerguntaArquivoAlterado() {
    return Caixas().Mensagem(
        this,
        QStringLiteral("O arquivo %1 foi alterado por outro programa depois de carregado.\n\n"
                       "Sim: gravar por cima da outra alteração\n"
                       "Não: descartar as alterações desta página e ler o arquivo de novo\n"
                       "Cancelar: voltar à página, mantendo as alterações")
            .arg(QDir::toNativeSeparators(CaminhoTabRot())),
        TituloConfigurador, Icone::Pergunta, Botoes::SimNaoCancelar);
}

bool TFrmPrinc::SalvaConfig() {
    using Tipo = DocumentoTabela::Resultado::Tipo;
    DocumentoTabela::Pedido pedido;
    try {
        for (;;) {
            const DocumentoTabela::Resultado r = m_documento.Grava(pedido);
            switch (r.tipo) {
            case Tipo::Gravada:
                m_historico->ComoNoArquivo();
                return true;
            case Tipo::Recusada:
                Erro(r.texto, TituloConfigurador);
                return false;
            case Tipo::ConflitosNovos:
                if (!AceitaConflitosNovos(r.conflitos)) return false;
                pedido.aceitaConflitos = true;
                break;
            case Tipo::AlteradaNoDisco:
                if (!AceitaSobrescrever()) return false;
                pedido.sobrescreve = r.marca;
                break;
            case Tipo::Falhou:
                // The operator must know which file and why, to mend it and save again.
                Caixas().Mensagem(this,
                                  QStringLiteral("Erro na gravação do arquivo\n%1: %2")
                                      .arg(QDir::toNativeSeparators(CaminhoTabRot()), r.texto),
                                  TituloConfigurador, Icone::Nenhum, Botoes::Ok);
                return false;
            }
        }
    } catch (const ErroES &e) {
        Erro(e.texto(), TituloConfigurador);
        return false;
    }
}

// "Não" drops the page's edits and reads the file again; "Cancelar" keeps them.
bool TFrmPrinc::AceitaSobrescrever() {
    switch (PerguntaArquivoAlterado()) {
    case Resposta::Sim:
        return true;
    case Resposta::Nao:
        Caixas().Mensagem(this,
                          QStringLiteral("As alterações desta página serão descartadas e a "
                                         "tabela será lida de novo do arquivo."),
                          TituloConfigurador, Icone::Exclamacao, Botoes::Ok);
        m_historico->ComoNoArquivo();
        CarregaInformacoes();
        return false;
    default:
        return false;
    }
}

bool TFrmPrinc::PerguntaGravar() {
    if (!Cartoes().Alterada()) return true;
    const Resposta r =
        Caixas().Mensagem(this, QStringLiteral("Deseja gravar a configuração ? "),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNaoCancelar);
    if (r == Resposta::Cancelar) return false;
    // A failed save keeps the page, so the operator can mend the cause and try again.
    return r != Resposta::Sim || SalvaConfig();
}

void TFrmPrinc::FechaPaginas() {
    m_tree->setEnabled(true);
    m_cbEmpresa->setEnabled(true);
    m_pageControl->hide();
    m_sair->setEnabled(true);
    m_abaAberta = -1;
}

void TFrmPrinc::bt_sair_credClick() {
    if (!PerguntaGravar()) return;
    Pagina(TipoGrade::Credito)->LimpaGrade();
    FechaPaginas();
    cb_empresaChange();
}

// A conflict the file on disk did not have is the operator's to accept; answering No keeps the
// page and its edits.
bool TFrmPrinc::AceitaConflitosNovos(const QList<Achado> &novos) {
    const QString tabela = m_cbEmpresa->currentText();
    QStringList linhas;
    constexpr int Mostrados = 5;
    for (qsizetype i = 0; i < novos.size() && i < Mostrados; ++i)
        linhas.append(
            DeCp1252(LinhaAchado(ParaCp1252(tabela), novos[i], NomeRedeDoCatalogo(m_catalogo))));
    if (novos.size() > Mostrados)
        linhas.append(QStringLiteral("e mais %1").arg(novos.size() - Mostrados));
    const QString texto =
        (novos.size() == 1
             ? QStringLiteral("A tabela %1 passa a ter um conflito que a tabela gravada não tinha:")
                   .arg(tabela)
             : QStringLiteral("A tabela %1 passa a ter %2 conflitos que a tabela gravada não "
                              "tinha:")
                   .arg(tabela)
                   .arg(novos.size())) +
        QStringLiteral("\n\n") + linhas.join(QLatin1Char('\n')) +
        QStringLiteral("\n\nDeseja gravar assim mesmo ?");
    return Caixas().Mensagem(this, texto, TituloConfigurador, Icone::Pergunta, Botoes::SimNao) ==
           Resposta::Sim;
}

// --- Commands over the installation --------------------------------------------------------

void TFrmPrinc::VerificarBins1Click() {
    m_comandos->VerificaBins(m_cbEmpresa->currentText());
}

void TFrmPrinc::Importar1Click() {
    // The run reached its end: the selector then lists the companies anew, none chosen.
    if (m_comandos->Importa()) MontaComboEmpresa();
}

void TFrmPrinc::Exportar1Click() {
    m_comandos->Exporta(m_memo);
}

void TFrmPrinc::Erro(const QString &texto, const QString &titulo) {
    Caixas().Mensagem(this, texto, titulo, Icone::Erro, Botoes::Ok);
}
