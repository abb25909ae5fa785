#include "env/mensagens.h"

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/leitura.h"
#include "env/perfil.h"
#include "env/texto.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace {

// The catalogue is kept in the source tree as one UTF-8 file, "number<TAB>key<TAB>text" a line,
// with \n, \t and \\ in the texts; it is built into the program as a resource.
QByteArray Desescapa(const QByteArray &t) {
    QByteArray r;
    r.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char c = i + 1 < t.size() && t[i] == '\\' ? t[i + 1] : '\0';
        if (c == 'n' || c == 't' || c == '\\') {
            r += c == 'n' ? '\n' : c == 't' ? '\t' : '\\';
            ++i;
        } else {
            r += t[i];
        }
    }
    return r;
}

struct Catalogo {
    std::vector<QByteArray> chaves, padroes; // index 0 is entry 1

    Catalogo() : chaves(Mensagens::Quantidade), padroes(Mensagens::Quantidade) {
        QFile f(QStringLiteral(":/mensagens/mensagens.tsv"));
        if (!f.open(QIODevice::ReadOnly)) return;
        const QByteArray todo = f.readAll();
        for (const QByteArray &linha : todo.split('\n')) {
            const QList<QByteArray> campos = linha.split('\t');
            if (campos.size() < 2) continue;
            bool ok = false;
            const int n = campos[0].toInt(&ok);
            if (!ok || n < 1 || n > Mensagens::Quantidade) continue;
            chaves[n - 1] = campos[1];
            if (campos.size() > 2)
                padroes[n - 1] = ParaCp1252(QString::fromUtf8(Desescapa(campos.mid(2).join('\t'))));
        }
    }
};

const Catalogo &ODoPrograma() {
    static const Catalogo c;
    return c;
}

bool NaTabela(int numero) {
    return numero >= 1 && numero <= Mensagens::Quantidade;
}

struct TabelaDoProcesso {
    QMutex trava;
    Mensagens::Tabela tabela;
};

TabelaDoProcesso &DoProcesso() {
    static TabelaDoProcesso t;
    return t;
}

} // namespace

namespace Mensagens {

QByteArray Chave(int numero) {
    return NaTabela(numero) ? ODoPrograma().chaves[numero - 1] : QByteArray();
}

QByteArray Padrao(int numero) {
    return NaTabela(numero) ? ODoPrograma().padroes[numero - 1] : QByteArray();
}

Tabela::Tabela() : m_textos(ODoPrograma().padroes) {}

QByteArray Tabela::Texto(int numero) const {
    return NaTabela(numero) ? m_textos[numero - 1] : QByteArray();
}

void Tabela::AplicaTraducao(const QString &raiz) {
    const QByteArray nome = Corta255(
        LePerfilTexto(Caminhos::TabTraducao(raiz), "CfVardo", "NomeArqTraducao", QByteArray()));
    if (nome.isEmpty()) return;
    const QString arquivo = NaUnidade(AjustaBarras(DeCp1252(nome)));
    QByteArray conteudo;
    QString motivo;
    switch (LeArquivoInteiro(arquivo, TamMaxPerfil, conteudo, &motivo)) {
    case Leitura::Ok:
        break;
    case Leitura::Grande:
        AvisaErro(QStringLiteral("%1 ignorado: %2").arg(arquivo, motivo));
        return;
    default:
        return;
    }
    for (int n = 1; n <= Quantidade; ++n) {
        const QByteArray t = Corta255(PerfilTexto(conteudo, "TabTraducao", Chave(n), QByteArray()));
        if (!t.isEmpty()) m_textos[n - 1] = t;
    }
}

void Carrega() {
    const QString raiz = Raiz();
    TabelaDoProcesso &p = DoProcesso();
    const QMutexLocker trava(&p.trava);
    p.tabela.AplicaTraducao(raiz);
}

QByteArray Le(int numero) {
    TabelaDoProcesso &p = DoProcesso();
    const QMutexLocker trava(&p.trava);
    return p.tabela.Texto(numero);
}

} // namespace Mensagens
