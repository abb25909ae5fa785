#include "app/comandos_instalacao.h"

#include "app/preferencias.h"
#include "app/relatorio_bins.h"
#include "batch/exportacao.h"
#include "batch/importacao.h"
#include "batch/verificacao.h"
#include "env/erro.h"
#include "env/texto.h"
#include "env/trace.h"
#include "routing/documento_tabela.h"
#include "routing/sobreposicao.h"
#include "widgets/caixas.h"
#include "widgets/progresso.h"

#include <QDir>
#include <QPlainTextEdit>

#include <memory>

ComandosInstalacao::ComandosInstalacao(QWidget *janela, DocumentoTabela &documento,
                                       const CatalogoRedes &catalogo)
    : m_janela(janela), m_documento(documento), m_catalogo(catalogo) {}

void ComandosInstalacao::Erro(const QString &texto) {
    Caixas().Mensagem(m_janela, texto, TituloConfigurador, Icone::Erro, Botoes::Ok);
}

void ComandosInstalacao::VerificaBins(const QString &nome) {
    QString recusa;
    const auto tabela = std::make_unique<TTabRot>();
    LimpaTabRot(*tabela);
    if (!m_documento.Cartoes().ParaTabRot(*tabela, recusa)) {
        Erro(recusa);
        return;
    }
    QStringList linhas;
    for (const QByteArray &l :
         LinhasExame(ParaCp1252(nome), ExaminaTabRot(*tabela), NomeRedeDoCatalogo(m_catalogo)))
        linhas.append(DeCp1252(l));
    auto *relatorio = new TFrmRelatorioBins(m_janela, nome, linhas);
    relatorio->setAttribute(Qt::WA_DeleteOnClose);
    relatorio->open();
}

bool ComandosInstalacao::Importa() {
    try {
        GravaTrace(cp1252("Entrou na rotina de importar"));
    } catch (const ErroES &e) {
        Erro(e.texto());
        return false;
    }
    if (Caixas().Mensagem(m_janela, QStringLiteral("Deseja realizar a importação ?"),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) != Resposta::Sim)
        return false;
    const QString arquivo = Caixas().AbreArquivo(m_janela, QStringLiteral("Importar"),
                                                 DiretorioLembrado(UsoDiretorio::Importacao));
    if (!arquivo.isEmpty()) {
        LembraDiretorio(UsoDiretorio::Importacao, arquivo);
        try {
            // Shown only when the run looks like taking more than about half a second.
            ProgressoSemCancelar progresso(
                QStringLiteral("Importando %1").arg(QDir::toNativeSeparators(arquivo)),
                TituloConfigurador, m_janela);
            ExecutaImportacao(arquivo, m_documento.Tabela(),
                              [&](int feitos, int total) { progresso.Avanca(feitos, total); });
        } catch (const ErroES &e) {
            // The run ended early: no closing message, the selector as it was.
            Erro(e.texto());
            return false;
        }
    }
    Caixas().Mensagem(m_janela, QStringLiteral("Importação encerrada"), TituloConfiguracao,
                      Icone::Exclamacao, Botoes::Ok);
    return true;
}

void ComandosInstalacao::Exporta(QPlainTextEdit *memo) {
    memo->clear();
    if (Caixas().Mensagem(m_janela, QStringLiteral("Deseja realizar a exportação ?"),
                          TituloConfigurador, Icone::Pergunta, Botoes::SimNao) != Resposta::Sim) {
        Caixas().Mensagem(m_janela, QStringLiteral("Arquivo não exportado"), TituloConfiguracao,
                          Icone::Exclamacao, Botoes::Ok);
        return;
    }
    QByteArray linhas;
    try {
        linhas = LinhasExportacao(m_documento.Tabela());
    } catch (const ErroES &e) {
        Erro(e.texto());
        return;
    }
    memo->setPlainText(DeCp1252(linhas));
    const QString arquivo = Caixas().SalvaArquivo(m_janela, QStringLiteral("Exportar"),
                                                  DiretorioLembrado(UsoDiretorio::Exportacao));
    if (arquivo.isEmpty()) {
        Caixas().Mensagem(m_janela, QStringLiteral("Arquivo não exportado"), TituloConfiguracao,
                          Icone::Exclamacao, Botoes::Ok);
        return;
    }
    LembraDiretorio(UsoDiretorio::Exportacao, arquivo);
    try {
        GravaExportacao(arquivo, linhas);
    } catch (const ErroES &e) {
        Erro(e.texto());
        return;
    }
    Caixas().Mensagem(m_janela, QStringLiteral("Arquivo exportado com sucesso"), TituloConfiguracao,
                      Icone::Exclamacao, Botoes::Ok);
}
