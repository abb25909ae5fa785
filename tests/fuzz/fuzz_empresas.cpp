// The company files on arbitrary names and first bytes: only 8-letter codes of files that start
// with 10h 01h are listed, once each, in name order, whatever else the directory holds
// (directories, FIFOs, unreadable files, names that are no UTF-8).
#include "fuzz_comum.h"

#include "env/caminhos.h"
#include "env/empresas.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const Sufixos[] = {".cnf", ".CNF", ".Cnf", ".cnf.bak", "", ".cnfx"};

bool Ascii8(const QByteArray &b) {
    if (b.size() != 8) return false;
    for (const char c : b)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

// A company file is named <8 letters or digits>.cnf in any case, whatever piece of the input
// brought the suffix (a 12-byte base may already end in ".CNF").
bool NomeDeEmpresa(const QByteArray &nome) {
    return nome.size() == 12 && nome.right(4).toLower() == ".cnf" && Ascii8(nome.left(8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, size_t tamanho) {
    const QString config = fuzz::Config();
    fuzz::Esvazia(config);
    const QByteArray dir = QFile::encodeName(config) + '/';

    fuzz::Cursor cursor(dados, tamanho);
    // File names (raw bytes) that make a company; names differing only in letter case name the
    // same company, listed once.
    QList<QByteArray> esperados;
    for (int i = 0; i < 12 && !cursor.Fim(); ++i) {
        const std::uint8_t modo = cursor.Byte();
        QByteArray base = cursor.Pedaco(12);
        base.replace('/', '_');
        base.replace('\0', '_');
        const QByteArray nome = base + Sufixos[modo % std::size(Sufixos)];
        if (nome.isEmpty() || nome == "." || nome == "..") continue;
        const QByteArray conteudo = cursor.Pedaco(4);
        const QByteArray caminho = dir + nome;
        if (modo & 0x80) { // a directory that looks like a company file
            ::mkdir(caminho.constData(), 0755);
            continue;
        }
        if (modo & 0x20) { // a FIFO: opening it would wait for a writer
            ::mkfifo(caminho.constData(), 0644);
            continue;
        }
        // O_NONBLOCK: a FIFO made earlier under the same name must not block the target itself.
        const int fd = ::open(caminho.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK, 0644);
        if (fd < 0) continue;
        esperados.removeAll(nome);
        const bool escreveu =
            ::write(fd, conteudo.constData(), size_t(conteudo.size())) == conteudo.size();
        ::close(fd);
        if (!escreveu) continue;
        if ((modo & 0x40) && conteudo.startsWith("\x10\x01")) {
            ::chmod(caminho.constData(), 0); // root still reads it; others skip it
            if (::geteuid() != 0) continue;
        }
        if (NomeDeEmpresa(nome) && conteudo.startsWith("\x10\x01")) esperados.append(nome);
    }

    QStringList codigos;
    for (const QByteArray &nome : esperados)
        if (!codigos.contains(QString::fromLatin1(nome.left(8)).toUpper()))
            codigos.append(QString::fromLatin1(nome.left(8)).toUpper());

    QStringList lista{QStringLiteral("lixo")};
    const int n = ListaEmpresas(Raiz(), lista);
    FUZZ_EXIGE(n == lista.size());
    if (n != codigos.size()) {
        std::fprintf(stderr, "listadas: %s\nesperadas:", qPrintable(lista.join(QLatin1Char(' '))));
        for (const QByteArray &e : esperados)
            std::fprintf(stderr, " %s", e.toHex().constData());
        std::fprintf(stderr, "\n");
    }
    FUZZ_EXIGE(n == codigos.size());
    for (qsizetype i = 0; i < lista.size(); ++i) {
        const QString &codigo = lista.at(i);
        FUZZ_EXIGE(codigo.size() == 8 && codigo == codigo.toUpper() && EhCodigoEmpresa(codigo));
        if (i > 0) FUZZ_EXIGE(lista.at(i - 1).compare(codigo, Qt::CaseInsensitive) <= 0);
    }
    for (const QString &codigo : codigos)
        FUZZ_EXIGE(lista.count(codigo) == 1);
    return 0;
}
