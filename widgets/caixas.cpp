#include "widgets/caixas.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class CaixasReais : public InterfaceCaixas {
public:
    Resposta Mensagem(QWidget *pai, const QString &texto, const QString &titulo, Icone icone,
                      Botoes botoes) override {
        QMessageBox caixa(pai);
        caixa.setWindowTitle(titulo);
        caixa.setText(texto);
        switch (icone) {
        case Icone::Nenhum:
            caixa.setIcon(QMessageBox::NoIcon);
            break;
        case Icone::Erro:
            caixa.setIcon(QMessageBox::Critical);
            break;
        case Icone::Pergunta:
            caixa.setIcon(QMessageBox::Question);
            break;
        case Icone::Exclamacao:
            caixa.setIcon(QMessageBox::Warning);
            break;
        case Icone::Informacao:
            caixa.setIcon(QMessageBox::Information);
            break;
        }
        switch (botoes) {
        case Botoes::Ok:
            caixa.setStandardButtons(QMessageBox::Ok);
            break;
        case Botoes::SimNao:
            caixa.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Botoes::SimNaoCancelar:
            caixa.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        switch (caixa.exec()) {
        case QMessageBox::Yes:
            return Resposta::Sim;
        case QMessageBox::No:
            return Resposta::Nao;
        case QMessageBox::Cancel:
            return Resposta::Cancelar;
        default:
            return botoes == Botoes::Ok ? Resposta::Ok : Resposta::Cancelar;
        }
    }
    QString AbreArquivo(QWidget *pai, const QString &titulo, const QString &diretorio) override {
        return QFileDialog::getOpenFileName(pai, titulo, diretorio);
    }
    QString SalvaArquivo(QWidget *pai, const QString &titulo, const QString &diretorio) override {
        return QFileDialog::getSaveFileName(pai, titulo, diretorio, QString(), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
};

CaixasReais reais;
InterfaceCaixas *atual = &reais;

} // namespace

InterfaceCaixas &Caixas() {
    return *atual;
}
void InstalaCaixas(InterfaceCaixas *caixas) {
    atual = caixas ? caixas : &reais;
}
