// Build-time tool: the hicolor icons of the desktop entry, made from the window's logo.
//
//   gera-icones LOGO.jpg DIR SIZE...   writes DIR/<n>x<n>/apps/configurador-roteamento.png
//
// The logo is wider than tall: it is centred on a transparent square, and its white background
// becomes transparent too, so the icon sits on any panel colour.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPoint>

#include <cstdio>

namespace {

// A pixel this close to white is background; this much further, it is wholly the picture's.
constexpr int RuidoBranco = 24;
constexpr int BordaBranca = 72;

QImage Quadrado(const QImage &logo) {
    const int lado = qMax(logo.width(), logo.height());
    QImage quadro(lado, lado, QImage::Format_ARGB32);
    quadro.fill(Qt::transparent);
    QImage recorte = logo.convertToFormat(QImage::Format_ARGB32);
    const int w = recorte.width(), h = recorte.height();
    auto longe = [&](int x, int y) {
        const QRgb c = recorte.pixel(x, y);
        return 255 - qMin(qMin(qRed(c), qGreen(c)), qBlue(c));
    };
    // The background is the light area reached from the border; the white letters inside the
    // card stay white.
    QList<bool> fundo(qsizetype(w) * h, false);
    QList<QPoint> pilha;
    for (int x = 0; x < w; ++x)
        pilha << QPoint(x, 0) << QPoint(x, h - 1);
    for (int y = 0; y < h; ++y)
        pilha << QPoint(0, y) << QPoint(w - 1, y);
    while (!pilha.isEmpty()) {
        const QPoint p = pilha.takeLast();
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h) continue;
        bool &marca = fundo[qsizetype(p.y()) * w + p.x()];
        if (marca || longe(p.x(), p.y()) >= RuidoBranco + BordaBranca) continue;
        marca = true;
        pilha << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!fundo[qsizetype(y) * w + x]) continue;
            // White to transparency: the opacity grows with the distance from white, past the
            // JPEG's compression noise; the colour is what looked so over white.
            const QRgb c = recorte.pixel(x, y);
            const int alfa = qBound(0, (longe(x, y) - RuidoBranco) * 255 / BordaBranca, 255);
            auto canal = [alfa](int v) {
                return alfa == 0 ? 0 : qBound(0, 255 - (255 - v) * 255 / alfa, 255);
            };
            recorte.setPixel(x, y, qRgba(canal(qRed(c)), canal(qGreen(c)), canal(qBlue(c)), alfa));
        }
    }
    QPainter p(&quadro);
    p.drawImage((lado - logo.width()) / 2, (lado - logo.height()) / 2, recorte);
    return quadro;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "uso: gera-icones LOGO.jpg DIR TAMANHO...\n");
        return 2;
    }
    const QImage logo(args.at(1));
    if (logo.isNull()) {
        std::fprintf(stderr, "gera-icones: não foi possível ler %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QImage quadro = Quadrado(logo);
    for (const QString &t : args.mid(3)) {
        const int n = t.toInt();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(n);
        const QImage icone = quadro.scaled(n, n, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (n <= 0 || !QDir().mkpath(dir) ||
            !icone.save(dir + QStringLiteral("/configurador-roteamento.png"), "PNG")) {
            std::fprintf(stderr, "gera-icones: falha no ícone %s\n", qPrintable(t));
            return 1;
        }
    }
    return 0;
}
