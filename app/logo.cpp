#include "app/logo.h"

#include <QFile>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

// Larger pictures come only from damaged headers; refusing them keeps a bad file from asking
// for gigabytes.
constexpr JDIMENSION LadoMaximo = 8192;

// libjpeg's error manager comes first, so the manager's address is the whole record's.
struct ErroJpeg {
    jpeg_error_mgr gerente;
    std::jmp_buf salto;
};

// No C++ object with a destructor may live in a frame that longjmp leaves, so the image and the
// row buffer are members here, in the caller's frame.
struct Decodificacao {
    jpeg_decompress_struct jpeg{};
    ErroJpeg erro{};
    QImage imagem;
    QByteArray linhaCmyk;
};

[[noreturn]] void Falha(j_common_ptr c) {
    std::longjmp(reinterpret_cast<ErroJpeg *>(c->err)->salto, 1);
}

// Warnings are how libjpeg reports a truncated file or corrupt data it papered over; a picture
// with such a fault is not shown. Traces (level > 0) are ignored, and nothing goes to stderr.
void Mensagem(j_common_ptr c, int nivel) {
    if (nivel < 0) Falha(c);
}

void Silencio(j_common_ptr) {}

void Decodifica(Decodificacao &d, const QByteArray &bytes) {
    jpeg_create_decompress(&d.jpeg);
    jpeg_mem_src(&d.jpeg, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&d.jpeg, TRUE) != JPEG_HEADER_OK)
        Falha(reinterpret_cast<j_common_ptr>(&d.jpeg));

    const bool cmyk = d.jpeg.jpeg_color_space == JCS_CMYK || d.jpeg.jpeg_color_space == JCS_YCCK;
    d.jpeg.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (d.jpeg.image_width == 0 || d.jpeg.image_height == 0 || d.jpeg.image_width > LadoMaximo ||
        d.jpeg.image_height > LadoMaximo)
        Falha(reinterpret_cast<j_common_ptr>(&d.jpeg));

    jpeg_start_decompress(&d.jpeg);
    const int largura = int(d.jpeg.output_width);
    const int altura = int(d.jpeg.output_height);
    const int componentes = d.jpeg.output_components;
    if (componentes != (cmyk ? 4 : 3)) Falha(reinterpret_cast<j_common_ptr>(&d.jpeg));

    d.imagem = QImage(largura, altura, QImage::Format_RGB888);
    if (d.imagem.isNull()) Falha(reinterpret_cast<j_common_ptr>(&d.jpeg));
    if (cmyk) d.linhaCmyk = QByteArray(largura * 4, '\0');

    while (d.jpeg.output_scanline < d.jpeg.output_height) {
        const int y = int(d.jpeg.output_scanline);
        JSAMPROW linha =
            cmyk ? reinterpret_cast<JSAMPROW>(d.linhaCmyk.data()) : d.imagem.scanLine(y);
        if (jpeg_read_scanlines(&d.jpeg, &linha, 1) != 1)
            Falha(reinterpret_cast<j_common_ptr>(&d.jpeg));
        if (cmyk) {
            // Adobe writes CMYK inverted, which is what every JPEG with four channels in practice
            // is.
            uchar *rgb = d.imagem.scanLine(y);
            const auto *p = reinterpret_cast<const uchar *>(d.linhaCmyk.constData());
            for (int x = 0; x < largura; ++x, p += 4, rgb += 3) {
                const int k = p[3];
                rgb[0] = uchar(p[0] * k / 255);
                rgb[1] = uchar(p[1] * k / 255);
                rgb[2] = uchar(p[2] * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&d.jpeg);
}

} // namespace

QImage DecodificaJpeg(const QByteArray &bytes) {
    if (bytes.isEmpty()) return {};
    Decodificacao d;
    d.jpeg.err = jpeg_std_error(&d.erro.gerente);
    d.erro.gerente.error_exit = Falha;
    d.erro.gerente.emit_message = Mensagem;
    d.erro.gerente.output_message = Silencio;
    if (setjmp(d.erro.salto) != 0) {
        jpeg_destroy_decompress(&d.jpeg);
        return {};
    }
    Decodifica(d, bytes);
    jpeg_destroy_decompress(&d.jpeg);
    return d.imagem;
}

QImage LogoPrincipal() {
    // The resource lives in a static library: without this its registration may be left out.
    Q_INIT_RESOURCE(recursos);
    QFile arquivo(QStringLiteral(":/logo.jpg"));
    if (!arquivo.open(QIODevice::ReadOnly)) return {};
    return DecodificaJpeg(arquivo.readAll());
}
