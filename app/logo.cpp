#include "app/logo.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

// Larger pictures come only from damaged headers; refusing them keeps a bad file from asking
// for gigabytes.
constexpr int LadoMaximo = 8192;

// The plugin fills a truncated picture with grey and only warns; a whole JPEG starts with SOI
// and ends with EOI.
bool Inteiro(const QByteArray &bytes) {
    return bytes.size() > 4 && bytes.startsWith(QByteArray("\xFF\xD8", 2)) &&
           bytes.endsWith(QByteArray("\xFF\xD9", 2));
}

} // namespace

QImage DecodificaJpeg(const QByteArray &bytes) {
    if (!Inteiro(bytes)) return {};
    QBuffer dados;
    dados.setData(bytes);
    dados.open(QIODevice::ReadOnly);
    QImageReader leitor(&dados, "jpeg");
    const QSize tamanho = leitor.size();
    if (!tamanho.isValid() || tamanho.width() > LadoMaximo || tamanho.height() > LadoMaximo)
        return {};
    QImage imagem;
    if (!leitor.read(&imagem)) return {};
    return imagem;
}

QImage LogoPrincipal() {
    // The resource lives in a static library: without this its registration may be left out.
    Q_INIT_RESOURCE(recursos);
    QFile arquivo(QStringLiteral(":/logo.jpg"));
    if (!arquivo.open(QIODevice::ReadOnly)) return {};
    return DecodificaJpeg(arquivo.readAll());
}
