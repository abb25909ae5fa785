#include "env/listagem.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

// `visitados` holds the real paths of the directories already searched: a symbolic link back
// up the tree would otherwise recurse without end. `base` is the real path of the directory the
// search started in: a link out of it (to "/", say) is not followed.
void Lista(const QString &mascara, bool recursivo, QStringList &lista, QSet<QString> &visitados,
           QString base) {
    const int barra = mascara.lastIndexOf(QLatin1Char('/'));
    const QString dir = mascara.left(barra + 1);
    const QString padrao = mascara.mid(barra + 1);
    const QDir d(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QString ext = Extensao(padrao);

    const QString real = d.canonicalPath();
    if (real.isEmpty() || visitados.contains(real)) return;
    if (base.isEmpty()) base = real;
    if (real != base && !real.startsWith(base + QLatin1Char('/')) && base != QLatin1String("/"))
        return;
    visitados.insert(real);

    const QFileInfoList arquivos = EmOrdemDeNome(
        d.entryInfoList({padrao}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort));
    for (const QFileInfo &f : arquivos)
        if (Extensao(f.fileName()) == ext) lista.append(dir + f.fileName());

    if (!recursivo) return;
    const QFileInfoList subdirs =
        EmOrdemDeNome(d.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort));
    for (const QFileInfo &s : subdirs)
        if (!s.fileName().startsWith(QLatin1Char('.')))
            Lista(dir + s.fileName() + QLatin1Char('/') + padrao, recursivo, lista, visitados,
                  base);
}

} // namespace

void ListaArquivos(const QString &mascara, bool recursivo, QStringList &lista) {
    QSet<QString> visitados;
    Lista(mascara, recursivo, lista, visitados, QString());
}
