#include "env/listagem.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

QString Extensao(const QString &nome) {
    const int ponto = nome.lastIndexOf(QLatin1Char('.'));
    return ponto < 0 ? QString() : nome.mid(ponto + 1).toLower();
}

QFileInfoList EmOrdemDeNome(QFileInfoList entradas) {
    std::sort(entradas.begin(), entradas.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const int c = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName() < b.fileName();
    });
    return entradas;
}

} // namespace

void ListaArquivos(const QString &mascara, bool recursivo, QStringList &lista) {
    const int barra = mascara.lastIndexOf(QLatin1Char('/'));
    const QString dir = mascara.left(barra + 1);
    const QString padrao = mascara.mid(barra + 1);
    const QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QString ext = Extensao(padrao);

    const QFileInfoList arquivos = EmOrdemDeNome(
        d.entryInfoList({padrao}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort));
    for (const QFileInfo &f : arquivos)
        if (Extensao(f.fileName()) == ext) lista.append(dir + f.fileName());

    if (!recursivo) return;
    const QFileInfoList subdirs =
        EmOrdemDeNome(d.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort));
    for (const QFileInfo &s : subdirs)
        if (!s.fileName().startsWith(QLatin1Char('.')))
            ListaArquivos(dir + s.fileName() + QLatin1Char('/') + padrao, recursivo, lista);
}
