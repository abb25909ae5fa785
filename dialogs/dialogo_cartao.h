#pragma once
// The card edit dialog: one implementation for credit, debit and fuel cards. The three classes
// differ only by the data of DadosDialogoCartao (names, captions, font, size, grid).

#include "routing/tipos_cartao.h"

#include <QDialog>
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

    ~TFrmIncluiCartao() override;

    QComboBox *ComboRede() const { return m_comboRede; }
    const DadosDialogoCartao &Dados() const { return m_dados; }

    // Shows the dialog for the operation (the card only for an alteration) with every other
    // window disabled, and returns at once; the result comes through `confirmado`.
    void Abre(Operacao operacao, const CartaoEditado &cartao = {});
    // The operation the dialog was last opened with; nothing before its first opening.
    std::optional<Operacao> OperacaoAtual() const { return m_operacao; }

    // Handlers and routines of the dialog (the credit names; the other classes add theirs).
    void FormActivate();
    void LimpaCampos();
    void MostraDadosInclusao(const CartaoEditado &cartao);
    bool ExisteNome(const QString &nome) const;
    bool procura_bin(const QString &bin) const;
    void bt_inclui_binClick();
    void bt_exclui_binClick();
    void bt_conf_incluirClick();
    void bt_encerra_incluirClick();

    // The BIN list as it stands.
    QStringList Bins() const;
    bool ApagouUltimo() const { return m_apagou; }

signals:
    // "Confirma" accepted the card; the dialog closes right after.
    void confirmado(Operacao operacao, const CartaoEditado &cartao);
    // Something the operator did counts as a change of the configuration.
    void alterou();

protected:
    TFrmIncluiCartao(const DadosDialogoCartao &dados, ExisteNomeFn existeNome);

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

    const DadosDialogoCartao &m_dados;
    ExisteNomeFn m_existeNome;
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
    explicit TFrmIncluiCartaoCred(ExisteNomeFn existeNome);
};

class TFrmIncluiCartaoDeb : public TFrmIncluiCartao {
    Q_OBJECT
public:
    explicit TFrmIncluiCartaoDeb(ExisteNomeFn existeNome);
    void MostraDadosInclusaoDeb(const CartaoEditado &c) { MostraDadosInclusao(c); }
    bool ExisteNomeDeb(const QString &nome) const { return ExisteNome(nome); }
    bool procura_bin_Deb(const QString &bin) const { return procura_bin(bin); }
};

class TFrmIncluiCartaoComb : public TFrmIncluiCartao {
    Q_OBJECT
public:
    explicit TFrmIncluiCartaoComb(ExisteNomeFn existeNome);
    void MostraDadosInclusaoComb(const CartaoEditado &c) { MostraDadosInclusao(c); }
    bool ExisteNomeComb(const QString &nome) const { return ExisteNome(nome); }
    bool procura_bin_comb(const QString &bin) const { return procura_bin(bin); }
};

// The dialog of a card type, owned by the caller.
std::unique_ptr<TFrmIncluiCartao> CriaDialogoCartao(TipoGrade tipo,
                                                    TFrmIncluiCartao::ExisteNomeFn existeNome);

// Shows the dialog with every other window of the program disabled and returns at once.
void AbreDialogoCartao(QWidget *form);
// Gives the disabled windows back their input and hides the dialog.
void FechaDialogoCartao(QWidget *form);
