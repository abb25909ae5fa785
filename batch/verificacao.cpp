#include "batch/verificacao.h"

#include "env/caminhos.h"
#include "env/empresas.h"
#include "env/redes.h"
#include "env/texto.h"

NomeRedeAchado NomeRedeDoCatalogo(const CatalogoRedes &catalogo) {
    return [&catalogo](std::uint16_t rede) {
        const QByteArray nome = catalogo.NomeDaRede(rede);
        return nome.isEmpty() ? RedeNumerada(rede) : nome;
    };
}

VerificacaoInstalacao VerificaInstalacao(TTabRot &tabela, const NomeRedeAchado &nomeRede) {
    VerificacaoInstalacao v;
    for (const TabelaDaInstalacao &t : TabelasDaInstalacao(Raiz())) {
        const QString &caminho = t.caminho;
        const QByteArray nome = ParaCp1252(t.entrada);
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
