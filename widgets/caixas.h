#pragma once
// Message boxes and file dialogs go through this one interface, so tests can script the answers
// and record what the operator would have seen.

#include <QString>

class QWidget;

enum class Icone { Nenhum, Erro, Pergunta, Exclamacao, Informacao };
enum class Botoes { Ok, SimNao, SimNaoCancelar };
enum class Resposta { Ok, Sim, Nao, Cancelar };

class InterfaceCaixas {
public:
    virtual ~InterfaceCaixas() = default;
    virtual Resposta Mensagem(QWidget *pai, const QString &texto, const QString &titulo,
                              Icone icone, Botoes botoes) = 0;
    // The chosen path, or empty when the operator cancelled. The dialog opens in `diretorio`,
    // or in the working directory when it is empty.
    virtual QString AbreArquivo(QWidget *pai, const QString &titulo,
                                const QString &diretorio = {}) = 0;
    virtual QString SalvaArquivo(QWidget *pai, const QString &titulo,
                                 const QString &diretorio = {}) = 0;
};

// The interface in use: QMessageBox and QFileDialog unless a test installed its own.
InterfaceCaixas &Caixas();
// nullptr puts the real boxes back.
void InstalaCaixas(InterfaceCaixas *caixas);

// Titles of the boxes.
inline const QString TituloConfigurador = QStringLiteral("Configurador Roteamento");
inline const QString TituloConfiguracao = QStringLiteral("Configuração de Roteamento");
