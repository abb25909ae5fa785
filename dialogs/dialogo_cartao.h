#pragma once
// The card edit dialog: one implementation for credit, debit and fuel cards. The three classes
// differ only by the data of DadosDialogoCartao (names, captions, font, size, grid).

#include "routing/tipos_cartao.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class PainelBotao;

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

// How the dialog was opened: a new card, or the card of the selected row.
enum class Operacao { Inclusao, Alteracao };

// A card as the dialog shows and returns it: texts, with the network by its display name.
struct CartaoEditado {
    QString nome;
    QString rede;
    QStringList bins;
};

class TFrmIncluiCartao : public QDialog {
    Q_OBJECT
public:
    // Whether a card of the type already has this name (the dialog's own rule folds the case).
    using ExisteNomeFn = std::function<bool(const QString &nome)>;
    // Why the owner cannot take the card (shown as an error); empty when it can.
    using RecusaFn = std::function<QString(Operacao operacao, const CartaoEditado &cartao)>;

    ~TFrmIncluiCartao() override;

    QComboBox *ComboRede() const { return m_comboRede; }
    const DadosDialogoCartao &Dados() const { return m_dados; }

    // Shows the dialog for the operation (the card only for an alteration) with every other
    // window disabled, and returns at once; the result comes through `confirmado`.
    void Abre(Operacao operacao, const CartaoEditado &cartao = {});
    // The operation the dialog was last opened with; nothing before its first opening.
    std::optional<Operacao> OperacaoAtual() const { return m_operacao; }

    // Handlers and routines of the dialog, under the credit names for all three classes.
    void FormActivate();
    void LimpaCampos();
    void MostraDadosInclusao(const CartaoEditado &cartao);
    bool ExisteNome(const QString &nome) const;
    void bt_inclui_binClick();
    void bt_exclui_binClick();
    void bt_conf_incluirClick();
    void bt_encerra_incluirClick();

    // The BIN list as it stands.
    QStringList Bins() const;

signals:
    // "Confirma" accepted the card, which the owner takes; the dialog closes right after.
    void confirmado(Operacao operacao, const CartaoEditado &cartao);
    // Something the operator did counts as a change of the configuration.
    void alterou();

protected:
    TFrmIncluiCartao(const DadosDialogoCartao &dados, ExisteNomeFn existeNome, RecusaFn recusa);

    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

public:
    // Escape must not leave the dialog: only "Confirma" and "Encerra" do.
    void reject() override {}

private:
    friend void AbreDialogoCartao(TFrmIncluiCartao *form);
    friend void FechaDialogoCartao(TFrmIncluiCartao *form);
    void ReabilitaJanelas();
    void MontaControles();
    void FormCreate();
    void ed_binChange(const QString &texto);
    bool ed_binKeyPress(QKeyEvent *tecla);
    void LB_BinsKeyUp(QKeyEvent *tecla);
    void RecusaBin(const QString &mensagem);
    void ExcluiBinSelecionado();
    int BinSelecionado() const;

    const DadosDialogoCartao &m_dados;
    ExisteNomeFn m_existeNome;
    RecusaFn m_recusa;
    // While open: the windows it disabled (the window list), and where the keyboard was, since
    // disabling the window takes the focus away.
    bool m_aberto = false;
    QList<QPointer<QWidget>> m_desabilitadas;
    QPointer<QWidget> m_focoAntes;
    std::optional<Operacao> m_operacao;
    CartaoEditado m_cartao; // the card of an alteration
    bool m_apagou = false;  // erase-key flag

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
    TFrmIncluiCartaoCred(ExisteNomeFn existeNome, RecusaFn recusa);
};

class TFrmIncluiCartaoDeb : public TFrmIncluiCartao {
    Q_OBJECT
public:
    TFrmIncluiCartaoDeb(ExisteNomeFn existeNome, RecusaFn recusa);
};

class TFrmIncluiCartaoComb : public TFrmIncluiCartao {
    Q_OBJECT
public:
    TFrmIncluiCartaoComb(ExisteNomeFn existeNome, RecusaFn recusa);
};

// The dialog of a card type, owned by the caller. Without `recusa` every card that passes the
// dialog's own checks is accepted.
std::unique_ptr<TFrmIncluiCartao> CriaDialogoCartao(TipoGrade tipo,
                                                    TFrmIncluiCartao::ExisteNomeFn existeNome,
                                                    TFrmIncluiCartao::RecusaFn recusa = {});

// Shows the dialog with every other window of the program disabled and returns at once.
void AbreDialogoCartao(TFrmIncluiCartao *form);
// Gives the windows the dialog disabled back their input and hides the dialog.
void FechaDialogoCartao(TFrmIncluiCartao *form);
