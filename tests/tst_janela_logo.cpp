// The logo: the embedded picture decodes to its size and colours; pictures written here decode
// to their pixels; damaged bytes give a null image and nothing else.
#include "app/logo.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>

namespace {

// A JPEG of known pixels: the left half one colour, the right half another.
QByteArray Codifica(int largura, int altura, QImage::Format formato, QColor esquerda,
                    QColor direita) {
    QImage imagem(largura, altura, formato);
    for (int y = 0; y < altura; ++y)
        for (int x = 0; x < largura; ++x)
            imagem.setPixelColor(x, y, x < largura / 2 ? esquerda : direita);
    QByteArray bytes;
    QBuffer saida(&bytes);
    saida.open(QIODevice::WriteOnly);
    if (!imagem.save(&saida, "JPEG", 100)) return {};
    return bytes;
}

QByteArray Bytes(std::initializer_list<int> v) {
    QByteArray b;
    for (int x : v)
        b.append(char(x));
    return b;
}

void ComparaCor(const QImage &imagem, int x, int y, QColor esperada, int tolerancia) {
    const QColor cor = imagem.pixelColor(x, y);
    const auto perto = [&](int a, int b) { return qAbs(a - b) <= tolerancia; };
    if (!perto(cor.red(), esperada.red()) || !perto(cor.green(), esperada.green()) ||
        !perto(cor.blue(), esperada.blue()))
        QFAIL(qPrintable(QStringLiteral("pixel (%1,%2) is %3, expected about %4")
                             .arg(x)
                             .arg(y)
                             .arg(cor.name(), esperada.name())));
}

QByteArray BytesDoLogo() {
    LogoPrincipal(); // registers the resource
    QFile f(QStringLiteral(":/logo.jpg"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

const QColor Cinza(51, 51, 51);
const QColor Laranja(255, 102, 0);

} // namespace

class TstJanelaLogo : public QObject {
    Q_OBJECT
private slots:
    void logoEmbutido() {
        const QImage logo = LogoPrincipal();
        QVERIFY(!logo.isNull());
        QCOMPARE(logo.size(), QSize(105, 72));
        ComparaCor(logo, 1, 1, Qt::white, 12); // background
        ComparaCor(logo, 40, 12, Cinza, 16);   // the card
        ComparaCor(logo, 40, 24, Laranja, 24); // its stripe
        ComparaCor(logo, 95, 36, Laranja, 24); // the arrow
    }

    void imagemConhecida_data() {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QColor>("esquerda");
        QTest::addColumn<QColor>("direita");
        QTest::addColumn<int>("tolerancia");
        QTest::newRow("rgb") << Codifica(16, 8, QImage::Format_RGB32, Laranja, Cinza) << Laranja
                             << Cinza << 10;
        QTest::newRow("cinza") << Codifica(16, 8, QImage::Format_Grayscale8, QColor(200, 200, 200),
                                           QColor(30, 30, 30))
                               << QColor(200, 200, 200) << QColor(30, 30, 30) << 4;
    }
    void imagemConhecida() {
        QFETCH(QByteArray, jpeg);
        QFETCH(QColor, esquerda);
        QFETCH(QColor, direita);
        QFETCH(int, tolerancia);
        const QImage imagem = DecodificaJpeg(jpeg);
        QVERIFY(!imagem.isNull());
        QCOMPARE(imagem.size(), QSize(16, 8));
        for (int y : {0, 7}) {
            ComparaCor(imagem, 2, y, esquerda, tolerancia);
            ComparaCor(imagem, 13, y, direita, tolerancia);
        }
    }

    void bytesDanificados_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray logo = BytesDoLogo();
        QVERIFY(logo.size() > 1000);
        QTest::newRow("vazio") << QByteArray();
        QTest::newRow("texto") << QByteArray("isto nao e um jpeg");
        QTest::newRow("so SOI") << Bytes({0xFF, 0xD8});
        QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        QTest::newRow("cabecalho") << logo.left(200);
        QTest::newRow("metade") << logo.left(logo.size() / 2);
        QTest::newRow("sem fim") << logo.left(logo.size() - 2);
        QTest::newRow("lixo") << QByteArray(4096, '\xFF');

        // A header that claims a picture of 60000 x 60000 pixels.
        QByteArray enorme = logo;
        const qsizetype sof = enorme.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(sof > 0);
        enorme[sof + 5] = char(0xEA);
        enorme[sof + 6] = char(0x60);
        enorme[sof + 7] = char(0xEA);
        enorme[sof + 8] = char(0x60);
        QTest::newRow("enorme") << enorme;
    }
    void bytesDanificados() {
        QFETCH(QByteArray, bytes);
        QVERIFY(DecodificaJpeg(bytes).isNull());
    }

    // The logo bytes whole still decode after the damaged ones: no state is left behind.
    void depoisDeFalhar() {
        const QByteArray logo = BytesDoLogo();
        QVERIFY(DecodificaJpeg(logo.left(300)).isNull());
        QCOMPARE(DecodificaJpeg(logo).size(), QSize(105, 72));
    }
};

QTEST_GUILESS_MAIN(TstJanelaLogo)
#include "tst_janela_logo.moc"
