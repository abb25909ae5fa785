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

#include <QApplication>
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
    // The window opens with no control chosen: the first Tab reaches the company selector, and
    // no key acts on the routing switch above it.
    m_label1->setFocus(Qt::OtherFocusReason);
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
    // An import rebuilds the selector under the page and its table.
    m_importar->setEnabled(false);
    m_gravar->setEnabled(true);
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
    m_verificar->setEnabled(!CaminhoTabRot().isEmpty());
}

void TFrmPrinc::MostraSomenteAba(int indice) {
    m_pageControl->setTabVisible(indice, true);
    m_pageControl->setCurrentIndex(indice);
    for (int i = 0; i < 3; ++i)
        if (i != indice) m_pageControl->setTabVisible(i, false);
}

void TFrmPrinc::closeEvent(QCloseEvent *evento) {
    // A Linux window manager shows its close button whatever the window asks: its request ends
    // the program as "&Sair" does, after the question "Retornar" asks over unsaved edits.
    if (m_saindo || m_abaAberta < 0 || PerguntaGravar()) {
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
    // A ticked box is the operator's word that the type has a default: saved without one, the
    // table would lose it silently.
    for (const PaginaCartoes *p : m_paginas) {
        if (p->CheckPadrao()->isChecked() && !Cartoes().RedePadrao(p->Tipo())) {
            Erro(QStringLiteral("A rede padrão do %1 está marcada sem rede escolhida. Escolha a "
                                "rede ou desmarque \"Rede Padrão\". A configuração não foi "
                                "gravada.")
                     .arg(p->Titulo()),
                 TituloConfigurador);
            return false;
        }
    }
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
    // Hidden with the focus, the page would pass it on as a Tab does, to whatever comes next.
    if (m_pageControl->isAncestorOf(QApplication::focusWidget()))
        m_cbEmpresa->setFocus(Qt::OtherFocusReason);
    m_pageControl->hide();
    m_sair->setEnabled(true);
    m_importar->setEnabled(true);
    m_gravar->setEnabled(false);
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
