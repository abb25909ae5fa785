#pragma once
// The card edit dialog: one implementation for credit, debit and fuel cards. The three classes
// differ only by the data of DadosDialogoCartao (names, captions, font, size, grid).

#include "app/estado.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;
class QToolButton;
class PainelBotao;
class TFrmPrinc;

// What tells the card types apart. Texts are UTF-8 literals.
struct DadosDialogoCartao {
    TipoGrade tipo;
    const char *nomeForm;
    const char *edNome;
    const char *comboRede;
    const char *edBin;
    const char *listaBins;
    const char *painelConfirma;
    const char *painelEncerra;
    const char *captionInclusao;
    const char *captionAlteracao;
    int largura;
    int altura;
};

const DadosDialogoCartao &DadosDoTipo(TipoGrade tipo);

class TFrmIncluiCartao : public QDialog {
    Q_OBJECT
public:
    // Where the dialog's result goes: the main window's state, the card type's grid and the two
    // grid routines. The main window gives its own; tests may give a plain grid.
    struct Destino {
        std::function<EstadoEdicao &()> estado;
        std::function<QTableWidget *()> grade;
        std::function<void(QTableWidget *, int, const QString &, const QString &, const QString &)>
            incluiDadosNaGrade;
        std::function<void(QTableWidget *, int, const QString &, const QString &, const QString &)>
            incluiDadosAlteradosNaGrade;
    };

    ~TFrmIncluiCartao() override;

    QComboBox *ComboRede() const { return m_comboRede; }
    const DadosDialogoCartao &Dados() const { return m_dados; }

    // Handlers and routines of the dialog (the credit names; the other classes add theirs).
    void FormActivate();
    void LimpaCampos();
    void MostraDadosInclusao(int linha);
    bool ExisteNome(const QString &nome) const;
    int LinhaAIncluir() const;
    bool procura_bin(const QString &bin) const;
    void bt_inclui_binClick();
    void bt_exclui_binClick();
    void bt_conf_incluirClick();
    void bt_encerra_incluirClick();

    // The BIN list as it stands.
    QStringList Bins() const;
    bool ApagouUltimo() const { return m_apagou; }

protected:
    // Owned by the main window: deleted with it unless deleted before.
    TFrmIncluiCartao(const DadosDialogoCartao &dados, TFrmPrinc *principal);
    TFrmIncluiCartao(const DadosDialogoCartao &dados, Destino destino);

    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

public:
    // Escape must not leave the dialog: only "Confirma" and "Encerra" do.
    void reject() override {}

private:
    void MontaControles();
    void FormCreate();
    void ed_binChange(const QString &texto);
    bool ed_binKeyPress(QKeyEvent *tecla);
    void LB_BinsKeyUp(QKeyEvent *tecla);
    void RecusaBin(const QString &mensagem);
    void ExcluiBinSelecionado();
    int BinSelecionado() const;

    EstadoEdicao &Estado() const { return m_destino.estado(); }
    QTableWidget *Grade() const { return m_destino.grade(); }

    const DadosDialogoCartao &m_dados;
    Destino m_destino;
    bool m_apagou = false; // erase-key flag

    QWidget *m_painel = nullptr;
    QGroupBox *m_grupoNome = nullptr;
    QGroupBox *m_grupoRede = nullptr;
    QGroupBox *m_grupoBins = nullptr;
    QLabel *m_rotuloBin = nullptr;
    QLineEdit *m_edNome = nullptr;
    QComboBox *m_comboRede = nullptr;
    QLineEdit *m_edBin = nullptr;
    QToolButton *m_btIncluiBin = nullptr;
    QToolButton *m_btExcluiBin = nullptr;
    QListWidget *m_listaBins = nullptr;
    PainelBotao *m_btConfirma = nullptr;
    PainelBotao *m_btEncerra = nullptr;
};

class TFrmIncluiCartaoCred : public TFrmIncluiCartao {
    Q_OBJECT
public:
    explicit TFrmIncluiCartaoCred(TFrmPrinc *principal);
    explicit TFrmIncluiCartaoCred(Destino destino);
};

class TFrmIncluiCartaoDeb : public TFrmIncluiCartao {
    Q_OBJECT
public:
    explicit TFrmIncluiCartaoDeb(TFrmPrinc *principal);
    explicit TFrmIncluiCartaoDeb(Destino destino);
    void MostraDadosInclusaoDeb(int linha) { MostraDadosInclusao(linha); }
    bool ExisteNomeDeb(const QString &nome) const { return ExisteNome(nome); }
    int LinhaAIncluirDeb() const { return LinhaAIncluir(); }
    bool procura_bin_Deb(const QString &bin) const { return procura_bin(bin); }
};

class TFrmIncluiCartaoComb : public TFrmIncluiCartao {
    Q_OBJECT
public:
    explicit TFrmIncluiCartaoComb(TFrmPrinc *principal);
    explicit TFrmIncluiCartaoComb(Destino destino);
    void MostraDadosInclusaoComb(int linha) { MostraDadosInclusao(linha); }
    bool ExisteNomeComb(const QString &nome) const { return ExisteNome(nome); }
    int LinhaAIncluirComb() const { return LinhaAIncluir(); }
    bool procura_bin_comb(const QString &bin) const { return procura_bin(bin); }
};

// Shows the dialog with every other window of the program disabled and returns at once; the
// dialog's result reaches the grid through the main window's grid routines.
void AbreDialogoCartao(QWidget *form);
// Gives the disabled windows back their input and hides the dialog.
void FechaDialogoCartao(QWidget *form);
