#include "dialogs/dialogo_cartao.h"

#include <QCloseEvent>
#include <QComboBox>

// First cut: the dialog exists, takes the network list and opens and closes; its controls
// follow.

namespace {

const DadosDialogoCartao tiposCartao[3] = {
    {TipoGrade::Credito, "FrmIncluiCartaoCred", "ed_nome_cartao_cred", "CB_RedeDestino_Cred",
     "ed_bin_cred", "LB_Bins_cred", "bt_conf_incluir_cred", "bt_encerra_incluir_cred",
     "Inclusão de Cartão de Crédito", "Alteração de Cartão de Crédito", "MS Sans Serif", "Arial",
     361, 318},
    {TipoGrade::Debito, "FrmIncluiCartaoDeb", "ed_nome_cartao_deb", "CB_RedeDestino_deb",
     "ed_bin_deb", "LB_Bins_deb", "bt_conf_incluir_deb", "bt_encerra_incluir_deb",
     "Inclusão de Cartão de Débito", "Alteração de Cartão de Débito", "Arial", "Arial", 365, 318},
    {TipoGrade::Combustivel, "FrmIncluiCartaoComb", "ed_nome_cartao_comb", "CB_RedeDestino_comb",
     "ed_bin_comb", "LB_Bins_comb", "bt_conf_incluir_deb", "bt_encerra_incluir_deb",
     "Inclusão de Cartão Combustível", "Alteração de Cartão Combustível", "Tahoma", "Tahoma", 365,
     318},
};

} // namespace

const DadosDialogoCartao &DadosDoTipo(TipoGrade tipo) { return tiposCartao[int(tipo)]; }

TFrmIncluiCartao::TFrmIncluiCartao(const DadosDialogoCartao &dados, TFrmPrinc *)
    : TFrmIncluiCartao(dados, Destino{}) {}

TFrmIncluiCartao::TFrmIncluiCartao(const DadosDialogoCartao &dados, Destino destino)
    : QDialog(nullptr), m_dados(dados), m_destino(std::move(destino)) {
    setObjectName(QString::fromUtf8(dados.nomeForm));
    m_comboRede = new QComboBox(this);
    m_comboRede->setObjectName(QString::fromUtf8(dados.comboRede));
}

TFrmIncluiCartao::~TFrmIncluiCartao() = default;

void TFrmIncluiCartao::FormActivate() {}
void TFrmIncluiCartao::LimpaCampos() {}
void TFrmIncluiCartao::MostraDadosInclusao(int) {}
bool TFrmIncluiCartao::ExisteNome(const QString &) const { return false; }
int TFrmIncluiCartao::LinhaAIncluir() const { return 1; }
bool TFrmIncluiCartao::procura_bin(const QString &) const { return false; }
void TFrmIncluiCartao::bt_inclui_binClick() {}
void TFrmIncluiCartao::bt_exclui_binClick() {}
void TFrmIncluiCartao::bt_conf_incluirClick() { FechaDialogoCartao(this); }
void TFrmIncluiCartao::bt_encerra_incluirClick() { FechaDialogoCartao(this); }
QStringList TFrmIncluiCartao::Bins() const { return {}; }
bool TFrmIncluiCartao::eventFilter(QObject *o, QEvent *e) { return QDialog::eventFilter(o, e); }
void TFrmIncluiCartao::closeEvent(QCloseEvent *e) { e->ignore(); }
void TFrmIncluiCartao::hideEvent(QHideEvent *e) { QDialog::hideEvent(e); }

TFrmIncluiCartaoCred::TFrmIncluiCartaoCred(TFrmPrinc *p)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Credito), p) {}
TFrmIncluiCartaoCred::TFrmIncluiCartaoCred(Destino d)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Credito), std::move(d)) {}
TFrmIncluiCartaoDeb::TFrmIncluiCartaoDeb(TFrmPrinc *p)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Debito), p) {}
TFrmIncluiCartaoDeb::TFrmIncluiCartaoDeb(Destino d)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Debito), std::move(d)) {}
TFrmIncluiCartaoComb::TFrmIncluiCartaoComb(TFrmPrinc *p)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Combustivel), p) {}
TFrmIncluiCartaoComb::TFrmIncluiCartaoComb(Destino d)
    : TFrmIncluiCartao(DadosDoTipo(TipoGrade::Combustivel), std::move(d)) {}

void AbreDialogoCartao(QWidget *form) {
    form->show();
    form->raise();
}

void FechaDialogoCartao(QWidget *form) { form->hide(); }
