#include "batch/verificacao.h"

#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/redes.h"
#include "env/texto.h"

#include <QFileInfo>
#include <QStringList>

NomeRedeAchado NomeRedeDoCatalogo(const CatalogoRedes &catalogo) {
    return [&catalogo](std::uint16_t rede) {
        const QByteArray nome = catalogo.NomeDaRede(rede);
        return nome.isEmpty() ? RedeNumerada(rede) : nome;
    };
}

VerificacaoInstalacao VerificaInstalacao(TTabRot &tabela, const NomeRedeAchado &nomeRede) {
    const QString raiz = Raiz();
    QStringList selecao;
    ListaEmpresas(raiz, selecao);
    selecao.append(QStringLiteral("TODAS"));

    VerificacaoInstalacao v;
    for (const QString &entrada : selecao) {
        const QString caminho = Caminhos::TabRot(raiz, entrada);
        const QByteArray nome = ParaCp1252(entrada);
        if (!QFileInfo::exists(caminho)) continue;
        if (!LeTabRot(caminho, tabela)) {
            ++v.danificadas;
            v.linhas.append(nome + cp1252(": tabela danificada ou ilegível, não examinada (") +
                            ParaCp1252(caminho) + ')');
            continue;
        }
        ++v.examinadas;
        const ExameTabRot exame = ExaminaTabRot(tabela);
        v.conflitos += exame.Total(TipoAchado::Conflito);
        v.redundancias += exame.Total(TipoAchado::Redundancia);
        v.incomparaveis += exame.Total(TipoAchado::Incomparavel);
        v.linhas += LinhasExame(nome, exame, nomeRede);
    }
    return v;
}

QByteArray ResumoVerificacao(const VerificacaoInstalacao &v) {
    return cp1252("Tabelas examinadas: ") + QByteArray::number(v.examinadas) +
           "; conflitos: " + QByteArray::number(v.conflitos) + cp1252("; redundâncias: ") +
           QByteArray::number(v.redundancias) + cp1252("; bins não comparáveis: ") +
           QByteArray::number(v.incomparaveis) +
           "; tabelas danificadas: " + QByteArray::number(v.danificadas);
}
