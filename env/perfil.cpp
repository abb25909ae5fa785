#include "env/perfil.h"

#include "env/erro.h"
#include "env/gravacao_atomica.h"
#include "env/leitura.h"
#include "env/texto.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <optional>
#include <vector>

namespace {

bool EhBranco(char c) {
    return c == ' ' || c == '\t';
}

struct Linha {
    qsizetype inicio = 0;  // first byte of the line
    qsizetype fim = 0;     // end of its text, before the line end
    qsizetype proxima = 0; // first byte after the line end
};

std::vector<Linha> Linhas(const QByteArray &c) {
    std::vector<Linha> linhas;
    qsizetype i = 0;
    const qsizetype n = c.size();
    while (i < n) {
        Linha l;
        l.inicio = i;
        while (i < n && c[i] != '\r' && c[i] != '\n')
            ++i;
        l.fim = i;
        if (i < n && c[i] == '\r') ++i;
        if (i < n && c[i] == '\n' && (i == l.fim || c[i - 1] == '\r')) ++i;
        l.proxima = i;
        linhas.push_back(l);
    }
    return linhas;
}

struct Trecho {
    qsizetype a = 0, b = 0; // [a, b)
};

Trecho Apara(const QByteArray &c, qsizetype a, qsizetype b) {
    while (a < b && EhBranco(c[a]))
        ++a;
    while (b > a && EhBranco(c[b - 1]))
        --b;
    return {a, b};
}

bool MesmoNome(const QByteArray &c, Trecho t, const QByteArray &nome) {
    return DeCp1252(c.mid(t.a, t.b - t.a)).compare(DeCp1252(nome).trimmed(), Qt::CaseInsensitive) ==
           0;
}

std::optional<Trecho> NomeDeSecao(const QByteArray &c, const Linha &l) {
    const Trecho t = Apara(c, l.inicio, l.fim);
    if (t.a >= t.b || c[t.a] != '[') return std::nullopt;
    qsizetype fecha = c.indexOf(']', t.a + 1);
    if (fecha < 0 || fecha > l.fim) fecha = l.fim;
    return Apara(c, t.a + 1, fecha);
}

struct Chave {
    Trecho nome;
    Trecho valor; // blanks trimmed, quotes kept
};

std::optional<Chave> ChaveDaLinha(const QByteArray &c, const Linha &l) {
    const Trecho t = Apara(c, l.inicio, l.fim);
    if (t.a >= t.b || c[t.a] == ';' || c[t.a] == '[') return std::nullopt;
    const qsizetype igual = c.indexOf('=', t.a);
    if (igual < 0 || igual >= t.b) return std::nullopt;
    return Chave{Apara(c, t.a, igual), Apara(c, igual + 1, t.b)};
}

// Where a key stands in the file: its line and value, or where its section ends.
struct Local {
    std::optional<qsizetype> linhaSecao;
    std::optional<qsizetype> linhaUltimaChave;
    std::optional<Chave> chave;
};

Local Localiza(const QByteArray &c, const std::vector<Linha> &linhas, const QByteArray &secao,
               const QByteArray &nome) {
    Local r;
    bool dentro = false;
    for (qsizetype i = 0; i < qsizetype(linhas.size()); ++i) {
        if (const auto s = NomeDeSecao(c, linhas[i])) {
            if (dentro) break; // only the first of equal sections counts
            if (MesmoNome(c, *s, secao)) {
                dentro = true;
                r.linhaSecao = i;
            }
            continue;
        }
        if (!dentro) continue;
        if (const auto k = ChaveDaLinha(c, linhas[i])) {
            r.linhaUltimaChave = i;
            if (MesmoNome(c, k->nome, nome)) {
                r.chave = k;
                return r;
            }
        }
    }
    return r;
}

// A profile file above the bound is told once per file, then read as missing.
void AvisaGrande(const QString &arquivo, const QString &motivo) {
    static QMutex mutex;
    static QSet<QString> avisados;
    const QMutexLocker guarda(&mutex);
    if (avisados.contains(arquivo)) return;
    avisados.insert(arquivo);
    AvisaErro(QStringLiteral("%1 ignorado: %2").arg(arquivo, motivo));
}

std::optional<QByteArray> LeArquivo(const QString &arquivo) {
    QByteArray bytes;
    QString motivo;
    const Leitura l = LeArquivoInteiro(arquivo, TamMaxPerfil, bytes, &motivo);
    if (l == Leitura::Grande) AvisaGrande(arquivo, motivo);
    if (l != Leitura::Ok) return std::nullopt;
    return bytes;
}

} // namespace

QByteArray PerfilTexto(const QByteArray &c, const QByteArray &secao, const QByteArray &chave,
                       const QByteArray &padrao) {
    const auto linhas = Linhas(c);
    const Local l = Localiza(c, linhas, secao, chave);
    if (!l.chave) return padrao;
    QByteArray v = c.mid(l.chave->valor.a, l.chave->valor.b - l.chave->valor.a);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

bool TextoParaInteiro(const QByteArray &texto, int &valor) {
    qsizetype i = 0;
    const qsizetype n = texto.size();
    bool negativo = false;
    if (i < n && (texto[i] == '-' || texto[i] == '+')) negativo = texto[i++] == '-';
    int base = 10;
    if (i + 1 < n && texto[i] == '0' && (texto[i + 1] == 'x' || texto[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    quint64 v = 0;
    qsizetype digitos = 0;
    for (; i < n; ++i, ++digitos) {
        const char ch = texto[i];
        int d;
        if (ch >= '0' && ch <= '9')
            d = ch - '0';
        else if (base == 16 && ch >= 'a' && ch <= 'f')
            d = ch - 'a' + 10;
        else if (base == 16 && ch >= 'A' && ch <= 'F')
            d = ch - 'A' + 10;
        else
            break;
        v = (v * base + d) & 0xFFFFFFFFu; // wraps like the 32-bit Windows result
    }
    if (digitos == 0) return false;
    const quint32 u = quint32(v);
    valor = negativo ? int(0u - u) : int(u);
    return true;
}

int PerfilInteiro(const QByteArray &c, const QByteArray &secao, const QByteArray &chave,
                  int padrao) {
    int v;
    const QByteArray t = PerfilTexto(c, secao, chave, QByteArray());
    return TextoParaInteiro(t, v) ? v : padrao;
}

QByteArray LePerfilTexto(const QString &arquivo, const QByteArray &secao, const QByteArray &chave,
                         const QByteArray &padrao) {
    const auto c = LeArquivo(arquivo);
    return c ? PerfilTexto(*c, secao, chave, padrao) : padrao;
}

int LePerfilInteiro(const QString &arquivo, const QByteArray &secao, const QByteArray &chave,
                    int padrao) {
    const auto c = LeArquivo(arquivo);
    return c ? PerfilInteiro(*c, secao, chave, padrao) : padrao;
}

QByteArray PerfilComChave(const QByteArray &c, const QByteArray &secao, const QByteArray &chave,
                          const QByteArray &valor) {
    const auto linhas = Linhas(c);
    const Local l = Localiza(c, linhas, secao, chave);
    if (l.chave) {
        QByteArray r = c;
        r.replace(l.chave->valor.a, l.chave->valor.b - l.chave->valor.a, valor);
        return r;
    }
    const QByteArray novaLinha = chave + '=' + valor + "\r\n";
    if (l.linhaSecao) {
        const Linha &depois = linhas[l.linhaUltimaChave.value_or(*l.linhaSecao)];
        QByteArray r = c;
        QByteArray inserir = novaLinha;
        if (depois.proxima == depois.fim) inserir.prepend("\r\n"); // last line had no line end
        r.insert(depois.proxima, inserir);
        return r;
    }
    QByteArray r = c;
    if (!r.isEmpty() && !r.endsWith('\n') && !r.endsWith('\r')) r += "\r\n";
    r += '[' + secao + "]\r\n" + novaLinha;
    return r;
}

void GravaPerfilTexto(const QString &arquivo, const QByteArray &secao, const QByteArray &chave,
                      const QByteArray &valor) {
    const ErroES erro(QStringLiteral("Unable to write to %1").arg(arquivo));
    QByteArray atual;
    if (QFileInfo::exists(arquivo)) {
        const auto c = LeArquivo(arquivo);
        if (!c) throw erro;
        atual = *c;
    }
    if (GravaArquivoAtomico(arquivo, PerfilComChave(atual, secao, chave, valor)) != Gravacao::Ok)
        throw erro;
}
