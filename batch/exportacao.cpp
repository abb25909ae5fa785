#include "batch/exportacao.h"

#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/erro.h"
#include "env/gravacao_atomica.h"
#include "env/plataforma.h"
#include "env/texto.h"
#include "routing/tipos_cartao.h"

#include <QFileInfo>

namespace {

char LetraDoTipo(std::uint8_t tipo) {
    const auto t = TipoDoCartao(tipo);
    return t ? TipoDe(*t).letra : '\0';
}

} // namespace

QByteArray LinhasExportacao(TTabRot &tabela, QStringList *deFora) {
    QByteArray linhas;
    for (const TabelaDaInstalacao &t : TabelasDaInstalacao(Raiz())) {
        if (!LeTabRot(t.caminho, tabela)) {
            if (deFora && QFileInfo::exists(t.caminho)) deFora->append(t.entrada);
            continue;
        }
        if (tabela.Qtd == 0) continue;
        const QByteArray empresa = ParaCp1252(t.entrada);
        const int qtd = qMin<int>(tabela.Qtd, MaxCartoes);
        for (int i = 0; i < qtd; ++i) {
            const TCartao &c = tabela.Cartoes[i];
            // Default-network entries have no name, BINs or type letter; the import refuses them.
            if (TipoDoPadrao(c.Tipo)) continue;
            linhas += empresa;
            linhas += ';';
            linhas += CopiaCampoParaTexto(c.Nome, TamNome);
            linhas += ';';
            linhas += BinsDoCartao(c).join(',');
            linhas += ';';
            linhas += QByteArray::number(c.CodRede);
            linhas += ';';
            if (const char letra = LetraDoTipo(c.Tipo)) linhas += letra;
            linhas += ";\r\n";
        }
    }
    return linhas;
}

void GravaExportacao(const QString &arquivo, const QByteArray &linhas) {
    // Text for people and for the import, never written over the files the payment server
    // reads (a table, COMUNIC.cnf): the installation's config tree is refused, links followed.
    const QString config = CaminhoReal(Caminhos::Config(Raiz()));
    const QString real = CaminhoReal(arquivo);
    if (real == config || real.startsWith(config + QLatin1Char('/')))
        throw ErroES(QStringLiteral("Erro de E/S ao gravar o arquivo %1: o arquivo fica na "
                                    "configuração da instalação (%2)")
                         .arg(arquivo, config));
    QString motivo;
    if (GravaArquivoAtomico(arquivo, linhas, &motivo) != Gravacao::Ok)
        throw ErroES(QStringLiteral("Erro de E/S ao gravar o arquivo %1: %2").arg(arquivo, motivo));
}
