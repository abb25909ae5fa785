#include "batch/exportacao.h"

#include "env/arquivos.h"
#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/erro.h"
#include "env/texto.h"

#include <QFileInfo>
#include <QStringList>

namespace {

// The grids' BIN list text with "," between the BINs instead of ";" after each.
QByteArray ListaBins(TCartao &c) {
    QByteArray lista = CarregaBins(c);
    lista.replace(';', ',');
    lista.chop(1);
    return lista;
}

char LetraDoTipo(std::uint8_t tipo) {
    switch (tipo) {
    case TipoCredito:
        return 'C';
    case TipoDebito:
        return 'D';
    case TipoCombustivel:
        return 'F';
    default:
        return '\0';
    }
}

bool EhRedePadrao(std::uint8_t tipo) {
    return tipo == TipoPadraoCredito || tipo == TipoPadraoDebito || tipo == TipoPadraoCombustivel;
}

} // namespace

QByteArray LinhasExportacao(TTabRot &tabela) {
    const QString raiz = Raiz();
    QStringList selecao;
    ListaEmpresas(raiz, selecao);
    selecao.append(QStringLiteral("TODAS"));

    QByteArray linhas;
    for (const QString &entrada : selecao) {
        const QString caminho = entrada == QLatin1String("TODAS")
                                    ? Caminhos::TabRotTodas(raiz)
                                    : Caminhos::TabRotEmpresa(raiz, entrada);
        if (!QFileInfo::exists(caminho)) continue;
        if (!LeTabRot(caminho, tabela) || tabela.Qtd == 0) continue;
        const QByteArray empresa = ParaCp1252(entrada);
        const int qtd = qMin<int>(tabela.Qtd, MaxCartoes);
        for (int i = 0; i < qtd; ++i) {
            TCartao &c = tabela.Cartoes[i];
            // Default-network entries have no name, BINs or type letter; the import refuses them.
            if (EhRedePadrao(c.Tipo)) continue;
            linhas += empresa;
            linhas += ';';
            linhas += CopiaCampoParaTexto(c.Nome, TamNome);
            linhas += ';';
            linhas += ListaBins(c);
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
    QString motivo;
    if (GravaArquivoAtomico(arquivo, linhas, &motivo) != Gravacao::Ok)
        throw ErroES(QStringLiteral("Erro de E/S ao gravar o arquivo %1: %2").arg(arquivo, motivo));
}
