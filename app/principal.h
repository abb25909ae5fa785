#pragma once
// The main window: company selector, option tree, one page per card type with its grid, its
// commands and its default-network controls, the routing switch and the import/export menu.

#include "app/estado.h"
#include "env/redes.h"

#include <QHash>
#include <QMainWindow>
#include <QString>

#include <array>
#include <cstdint>

class PainelBotao;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class TFrmIncluiCartao;

class TFrmPrinc : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmPrinc(QWidget *pai = nullptr);
    ~TFrmPrinc() override;

    EstadoEdicao &Estado() { return m_estado; }
    CatalogoRedes &Catalogo() { return m_catalogo; }

    // Grade_cred, grade_deb, Grade_comb.
    QTableWidget *Grade(TipoGrade tipo) const;
    QCheckBox *CheckPadrao(TipoGrade tipo) const;
    QGroupBox *GrupoPadrao(TipoGrade tipo) const;
    QComboBox *ComboPadrao(TipoGrade tipo) const;
    QComboBox *ComboEmpresa() const { return m_cbEmpresa; }
    TFrmIncluiCartao *Dialogo(TipoGrade tipo) const { return m_dialogos[int(tipo)]; }

    // Routines the card edit dialog writes its result with. Neither checks the row nor sets
    // the changed flag.
    void IncluiDadosNaGrade(QTableWidget *grade, int linha, const QString &nome,
                            const QString &rede, const QString &bins);
    void IncluiDadosAlteradosNaGrade(QTableWidget *grade, int linha, const QString &nome,
                                     const QString &rede, const QString &bins);
    void RegistraDialogos(TFrmIncluiCartao *cred, TFrmIncluiCartao *deb, TFrmIncluiCartao *comb);

    // Creation and first show.
    void FormCreate();
    void FormShow();
    void MontaTituloGrade(QTableWidget *grade);
    void TreeView_OpcoesClick();

    // Companies and networks.
    void MontaComboEmpresa();
    void cb_empresaChange();
    void LimpaGrade(QTableWidget *grade);
    void MostraRoteamento(PainelBotao *painel, bool alternar);
    void PintaPainel(PainelBotao *painel, const QColor &cor);
    void MontaRedes(TipoGrade tipo);
    void MontaRedesCred() { MontaRedes(TipoGrade::Credito); }
    void MontaRedesDeb() { MontaRedes(TipoGrade::Debito); }
    void MontaRedesComb() { MontaRedes(TipoGrade::Combustivel); }

    // Loading and saving the table through the grids.
    void CarregaInformacoes();
    QString CarregaBins(int entrada);
    // False when the table was not written; the page and the changed flag then stay as they
    // were.
    bool SalvaConfig();
    bool GravaConfDefault(QTableWidget *grade);
    bool InclusaoCartao(QTableWidget *grade);
    bool GradePreenchida(QTableWidget *grade) const;
    // Display name of a stored network code, and the code a display name stands for.
    QString NomeExibido(std::uint16_t codigo) const;
    std::uint16_t CodigoExibido(const QString &nome) const;

    // Commands of a page.
    void Incluir(TipoGrade tipo);
    void Alterar(TipoGrade tipo, const QString &semLinha);
    void Excluir(TipoGrade tipo, bool pelaTecla);
    void OrdenaGrade(QTableWidget *grade, int coluna, int primeira, int ultima);
    void OrdenaPeloTitulo(TipoGrade tipo, int coluna);
    void bt_sair_credClick();
    void CB_Rede_PadraoClick(TipoGrade tipo);
    void pnAtivaRoteamentoClick();
    void Sair1Click();
    void Importar1Click();
    void Exportar1Click();

    // The card rows of the three grids plus the default networks set: what a save would store.
    int EntradasNaTela() const;

protected:
    void showEvent(QShowEvent *evento) override;
    void changeEvent(QEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    struct Pagina {
        QWidget *aba = nullptr;
        QString titulo;
        PainelBotao *incluir = nullptr;
        PainelBotao *alterar = nullptr;
        PainelBotao *excluir = nullptr;
        PainelBotao *retornar = nullptr;
        QTableWidget *grade = nullptr;
        QCheckBox *check = nullptr;
        QGroupBox *grupo = nullptr;
        QComboBox *combo = nullptr;
    };

    void MontaControles();
    void AplicaCoresDeTexto();
    // Within the screen's available geometry, centred, at most the size it asks for.
    void PoeDentroDaTela();
    void MontaPagina(TipoGrade tipo);
    void MontaMenu();
    TipoGrade TipoDaGrade(const QTableWidget *grade) const;
    void SelecaoMudou(TipoGrade tipo);
    void MostraSomenteAba(int indice);
    void PoeTextoCombo(QComboBox *combo, const QString &texto);
    bool TabelaDaTela(TTabRot &tabela, QString &recusa);
    void TrocaLinhas(QTableWidget *grade, int a, int b);
    void Erro(const QString &texto, const QString &titulo);

    EstadoEdicao m_estado;
    CatalogoRedes m_catalogo;
    std::array<Pagina, 3> m_paginas;
    std::array<TFrmIncluiCartao *, 3> m_dialogos{};
    // Codes without a module, by the name shown for them.
    mutable QHash<QString, std::uint16_t> m_codigosSemModulo;

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
    QAction *m_sair = nullptr;
    bool m_mostrada = false;
    bool m_saindo = false;
};

// The main window of the running program (set as soon as it is created).
TFrmPrinc *FrmPrinc();
