#pragma once
// The main window: header with the routing switch, company selector, option tree, one page per
// card type (PaginaCartoes) over the card table, and the import/export menu.

#include "env/redes.h"
#include "routing/documento_tabela.h"
#include "widgets/caixas.h"

#include <QMainWindow>
#include <QString>

#include <array>
#include <memory>

class ComandosInstalacao;
class HistoricoCartoes;
class PaginaCartoes;
class PainelBotao;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;

class TFrmPrinc : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmPrinc(QWidget *pai = nullptr);
    ~TFrmPrinc() override;

    CatalogoRedes &Catalogo() { return m_catalogo; }
    TabelaCartoes &Cartoes() { return m_documento.Cartoes(); }
    const QString &CaminhoTabRot() const { return m_documento.CaminhoTabRot(); }
    PaginaCartoes *Pagina(TipoGrade tipo) const { return m_paginas[Indice(tipo)]; }
    QComboBox *ComboEmpresa() const { return m_cbEmpresa; }

    // False when the selector's text is no company: then no table is in use.
    bool cb_empresaChange();
    // False when the table was not written; the page and the changed flag then stay as they
    // were. A file changed on disk since it was loaded is not overwritten without asking:
    // overwrite, reload (dropping the page's edits) or cancel (keeping them).
    bool SalvaConfig();

private:
    // Creation and first show.
    void FormCreate();
    void FormShow();
    void TreeView_OpcoesClick();

    void MontaComboEmpresa();
    void MostraRoteamento(PainelBotao *painel, bool alternar);
    void PintaPainel(PainelBotao *painel, const QColor &cor);
    // Reads the table of the company (or TODAS) chosen, or the one in use again.
    void CarregaInformacoes(const QString &empresa = QString());

    void bt_sair_credClick();
    void pnAtivaRoteamentoClick();
    void Sair1Click();
    void Importar1Click();
    void Exportar1Click();
    // The report of the BINs that two cards of one type cover, for the table on screen.
    void VerificarBins1Click();

    Resposta PerguntaArquivoAlterado();
    bool AceitaSobrescrever();
    // Once after start-up: the modules left out and why, or that the helper could not run.
    void AvisaModulos();

protected:
    void showEvent(QShowEvent *evento) override;
    void changeEvent(QEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void MontaControles();
    void AplicaCoresDeTexto();
    // Within the screen's available geometry, centred, at most the size it asks for.
    void PoeDentroDaTela();
    void MontaCabecalho(QWidget *central);
    void MontaMenu();
    // Undo and redo of the page's edits: the menu and the keys over the history.
    void MontaDesfazer();
    void MostraSomenteAba(int indice);
    // The "Retornar" question when the page has unsaved edits: false to stay on the page.
    bool PerguntaGravar();
    void FechaPaginas();
    // The title's modified marker and the status bar.
    void AtualizaSituacao();
    void Erro(const QString &texto, const QString &titulo);
    bool AceitaConflitosNovos(const QList<Achado> &novos);

    // The table in use, with the process-wide routing table that the import and the export
    // work in too.
    DocumentoTabela m_documento;
    CatalogoRedes m_catalogo;
    std::array<PaginaCartoes *, 3> m_paginas{};

    QWidget *m_panel4 = nullptr;
    QLabel *m_image1 = nullptr;
    QGroupBox *m_groupBox3 = nullptr;
    PainelBotao *m_pnAtivaRoteamento = nullptr;
    QGroupBox *m_groupBox2 = nullptr;
    QLabel *m_label1 = nullptr;
    QComboBox *m_cbEmpresa = nullptr;
    QTreeWidget *m_tree = nullptr;
    QTabWidget *m_pageControl = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QAction *m_arquivo = nullptr;
    QAction *m_importar = nullptr;
    QAction *m_exportar = nullptr;
    QAction *m_verificar = nullptr;
    QAction *m_gravar = nullptr;
    QAction *m_sair = nullptr;
    bool m_mostrada = false;
    bool m_saindo = false;
    bool m_teclaNaArvore = false;
    int m_abaAberta = -1; // the page shown, by tree node
    QLabel *m_statusTabela = nullptr;
    QLabel *m_statusEntradas = nullptr;
    QLabel *m_statusAlterada = nullptr;

    // The one owner of the changed flag within the window.
    HistoricoCartoes *m_historico = nullptr;
    std::unique_ptr<ComandosInstalacao> m_comandos;
};
