#pragma once
// The page of one card type: its commands, its grid over the card table, its default network
// and "Retornar", and the card dialog that edits its cards.

#include "dialogs/dialogo_cartao.h"
#include "routing/tabela_cartoes.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class CatalogoRedes;
class HistoricoCartoes;
class ModeloCartoes;
class PainelBotao;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QTableView;

class PaginaCartoes : public QWidget {
    Q_OBJECT
public:
    // Every edit of the page goes through the history, one step per action.
    PaginaCartoes(TipoGrade tipo, TabelaCartoes &tabela, HistoricoCartoes &historico,
                  const CatalogoRedes &catalogo, QWidget *pai = nullptr);
    ~PaginaCartoes() override;

    TipoGrade Tipo() const { return m_tipo; }
    QString Titulo() const;
    QTableView *Grade() const { return m_grade; }
    ModeloCartoes *Modelo() const { return m_modelo; }
    TFrmIncluiCartao *Dialogo() const { return m_dialogo.get(); }
    QCheckBox *CheckPadrao() const { return m_check; }
    QGroupBox *GrupoPadrao() const { return m_grupo; }
    QComboBox *ComboPadrao() const { return m_combo; }
    PainelBotao *PainelIncluir() const { return m_incluir; }
    // The card of the selected row; nothing when no card row is selected.
    std::optional<int> Selecionado() const { return m_selecionado; }

    // Routines the card dialog's result is written with, each one step of the history; false
    // (after the message) when the table cannot take the card. Neither sets the changed flag:
    // the dialog has.
    bool IncluiDadosNaGrade(const QString &nome, const QString &rede, const QStringList &bins);
    bool IncluiDadosAlteradosNaGrade(int linha, const QString &nome, const QString &rede,
                                     const QStringList &bins);

    // The networks of the type, for the default list and the dialog.
    void MontaRedes();
    void LimpaGrade();
    // The default network of the table shown, the check set where there is one.
    void MostraPadrao();
    // The default as given: the check box, the list and the table's default network.
    void PoePadrao(bool marcada, std::optional<std::uint16_t> rede);
    void CB_Rede_PadraoClick();
    // After the table changed under the page (an undo or a redo): the selected card as the grid
    // now has it.
    void AcompanhaTabela();
    // Text colours for the palette in use (again after a theme change).
    void AplicaCoresDeTexto();

    void Incluir();
    void Alterar(const QString &semLinha);
    void Excluir(bool pelaTecla);
    void OrdenaPeloTitulo(int coluna);

signals:
    void retornar();

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    // What "Alterar" says with no row chosen, from the panel and from a double click.
    static inline const QString SemLinha = QStringLiteral("Clique no bin desejado");
    static inline const QString SemLinhaDuplo =
        QStringLiteral("Clique para alterar no bin desejado");

    void MontaControles();
    // Each tick, untick and choice of the default network is one step of the history.
    void LigaRedePadrao();
    void MontaGrade(QWidget *grupo);
    void SelecaoMudou();
    void PoeTextoCombo(const QString &texto, std::optional<std::uint16_t> codigo);
    void Confirmado(Operacao operacao, const CartaoEditado &cartao);
    bool ExisteNome(const QString &nome) const;
    // Why the table cannot take the card; empty when it can.
    QString Recusa(Operacao operacao, const CartaoEditado &cartao) const;
    std::optional<TCartao> CartaoDoDialogo(const QString &nome, std::uint16_t rede,
                                           const QStringList &bins) const;
    std::uint16_t CodigoDaRede(const QString &rede, std::optional<int> cartaoAtual) const;
    void Erro(const QString &texto);

    const TipoGrade m_tipo;
    TabelaCartoes &m_tabela;
    HistoricoCartoes &m_historico;
    const CatalogoRedes &m_catalogo;
    ModeloCartoes *m_modelo = nullptr;
    std::unique_ptr<TFrmIncluiCartao> m_dialogo;
    std::optional<int> m_selecionado;

    PainelBotao *m_incluir = nullptr;
    PainelBotao *m_alterar = nullptr;
    PainelBotao *m_excluir = nullptr;
    PainelBotao *m_retornar = nullptr;
    QTableView *m_grade = nullptr;
    QCheckBox *m_check = nullptr;
    QGroupBox *m_grupo = nullptr;
    QComboBox *m_combo = nullptr;
};
