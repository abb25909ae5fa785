// Helper of the network catalogue: queries network modules one after another, in a process of
// its own, so that a module that crashes or hangs costs only itself.
//
//   consulta-modulos FIRST   < paths, each ended by a NUL byte
//
// Answers on stdout, one line each, written before the next module is loaded:
//   P                              ready (the paths were read)
//   R <n> <code> <mask> <w319> <w323>   module n answered
//   N <n>                          module n did not answer (no file, no library, no entry point)
// n counts from FIRST. When the process dies or stops answering, the module after the last
// answer is the one to blame; the caller goes on with a new run after it.
#include "env/redes.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int g_saida = -1;

void Escreve(const QByteArray &linha) {
    const char *p = linha.constData();
    qsizetype resta = linha.size();
    while (resta > 0) {
        const ssize_t n = ::write(g_saida, p, static_cast<size_t>(resta));
        if (n < 0) {
            if (errno == EINTR) continue;
            std::_Exit(3); // the caller is gone
        }
        p += n;
        resta -= n;
    }
}

QByteArray LeEntrada() {
    QByteArray tudo;
    char bloco[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        tudo.append(bloco, n);
    }
    return tudo;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    bool ok = false;
    long long numero = QByteArray(argv[1]).toLongLong(&ok);
    if (!ok || numero < 0) return 2;

    // A crashing module must not leave a core file per start-up.
    const rlimit semCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &semCore);

    // The answers get a descriptor of their own; whatever a module prints goes nowhere.
    g_saida = ::dup(STDOUT_FILENO);
    if (g_saida < 0) return 2;
    ::fcntl(g_saida, F_SETFD, FD_CLOEXEC);
    const int nulo = ::open("/dev/null", O_RDWR);
    if (nulo >= 0) ::dup2(nulo, STDOUT_FILENO);

    QByteArray entrada = LeEntrada();
    if (nulo >= 0) ::dup2(nulo, STDIN_FILENO);
    if (entrada.endsWith('\0')) entrada.chop(1);
    const QList<QByteArray> caminhos =
        entrada.isEmpty() ? QList<QByteArray>() : entrada.split('\0');

    Escreve("P\n");
    for (const QByteArray &c : caminhos) {
        ModuloRede m;
        bool respondeu = false;
        try {
            respondeu = ConsultaModulo(QFile::decodeName(c), m);
        } catch (...) {
            respondeu = false;
        }
        if (respondeu)
            Escreve("R " + QByteArray::number(numero) + ' ' + QByteArray::number(m.codigo) + ' ' +
                    QByteArray::number(m.tipos) + ' ' + QByteArray::number(m.palavra319) + ' ' +
                    QByteArray::number(m.palavra323) + '\n');
        else
            Escreve("N " + QByteArray::number(numero) + '\n');
        ++numero;
    }
    return 0;
}
