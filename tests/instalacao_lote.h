#pragma once
// Test installations for the import and export tests: a drive in a temporary directory, company
// files, and TabRot.bin files spelt out byte by byte (independent of the core's writer).

#include "arquivos_teste.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdint>

namespace lote {

struct Cartao {
    QByteArray nome;
    std::uint16_t rede;
    std::uint8_t tipo;
    QList<QByteArray> bins;
};

inline void Poe16(QByteArray &b, unsigned v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

inline QByteArray Campo(const QByteArray &texto, int tamanho) {
    QByteArray c = texto.left(tamanho);
    c.append(QByteArray(tamanho - c.size(), '\0'));
    return c;
}

// The file of a table whose entries were built on a zeroed table.
inline QByteArray Arquivo(const QList<Cartao> &cartoes) {
    QByteArray b;
    Poe16(b, 1);
    Poe16(b, unsigned(cartoes.size()));
    for (const Cartao &c : cartoes) {
        b += Campo(c.nome, 31);
        Poe16(b, c.rede);
        b.append(char(c.tipo));
        Poe16(b, unsigned(c.bins.size()));
        for (const QByteArray &bin : c.bins)
            b += Campo(bin, 20);
    }
    return b;
}

using teste::Le;

inline bool Escreve(const QString &caminho, const QByteArray &bytes) {
    QDir().mkpath(caminho.left(caminho.lastIndexOf(QLatin1Char('/'))));
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// UTF-8 source text to the Windows-1252 bytes of the files.
inline QByteArray W(const char *utf8) {
    QStringEncoder enc("windows-1252");
    return enc.encode(QString::fromUtf8(utf8));
}

// Lines of a status file, CRLF ended; the last line end is required.
inline QList<QByteArray> Linhas(const QByteArray &texto) {
    QList<QByteArray> linhas = texto.split('\n');
    if (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    else
        linhas.append("<sem fim de linha>");
    for (QByteArray &l : linhas) {
        if (l.endsWith('\r'))
            l.chop(1);
        else
            l += "<sem CR>";
    }
    return linhas;
}

// An installation under `unidade`: <unidade>/Vardo/config with Empresas, and the given companies.
struct Instalacao {
    QString unidade;
    QString config() const { return unidade + QStringLiteral("/Vardo/config"); }
    QString todas() const { return config() + QStringLiteral("/TabRot.bin"); }
    QString empresa(const QString &codigo) const {
        return config() + QStringLiteral("/Empresas/") + codigo + QStringLiteral("/TabRot.bin");
    }
    bool cria(const QStringList &empresas = {}) const {
        if (!QDir().mkpath(config() + QStringLiteral("/Empresas"))) return false;
        for (const QString &e : empresas)
            if (!Escreve(config() + QLatin1Char('/') + e + QStringLiteral(".cnf"),
                         QByteArray("\x10\x01", 2) + QByteArray(128, 'x')))
                return false;
        return true;
    }
};

} // namespace lote
