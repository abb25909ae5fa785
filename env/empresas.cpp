#include "env/empresas.h"

#include "env/caminhos.h"
#include "env/leitura.h"
#include "env/listagem.h"

#include <QFile>
#include <QFileInfo>

static bool Alfanumerico8(const QString &t) {
    if (t.size() != 8) return false;
    for (const QChar c : t)
        if (!(c.unicode() < 128 && c.isLetterOrNumber())) return false;
    return true;
}

bool EhCodigoEmpresa(const QString &texto) {
    return texto.compare(QLatin1String("TODAS"), Qt::CaseInsensitive) == 0 || Alfanumerico8(texto);
}

int ListaEmpresas(const QString &raiz, QStringList &lista) {
    lista.clear();
    QStringList arquivos;
    ListaArquivos(Caminhos::MascaraEmpresas(AjustaBarras(raiz)), false, arquivos);
    for (const QString &caminho : arquivos) {
        const QString base = QFileInfo(caminho).completeBaseName();
        if (!Alfanumerico8(base)) continue;
        // Only a regular file can be a company; one that cannot be read hides no other company.
        QByteArray inicio;
        if (LeInicioArquivo(caminho, 2, inicio) != Leitura::Ok) continue;
        const QString codigo = base.toUpper();
        // Linux may hold abcdefgh.cnf beside ABCDEFGH.cnf; both name the one company directory.
        if (inicio.size() == 2 && inicio[0] == '\x10' && inicio[1] == '\x01' &&
            !lista.contains(codigo))
            lista.append(codigo);
    }
    return int(lista.size());
}

QList<TabelaDaInstalacao> TabelasDaInstalacao(const QString &raiz) {
    QStringList selecao;
    ListaEmpresas(raiz, selecao);
    selecao.append(QStringLiteral("TODAS"));
    QList<TabelaDaInstalacao> tabelas;
    for (const QString &entrada : std::as_const(selecao)) {
        const QString caminho = Caminhos::TabRot(raiz, entrada);
        if (QFileInfo::exists(caminho)) tabelas.append({entrada, caminho});
    }
    return tabelas;
}
