#include "env/trace.h"

#include "env/caminhos.h"
#include "env/erro.h"
#include "env/gravacao_atomica.h"
#include "env/gravacao_guardada.h"
#include "env/leitura.h"
#include "env/texto.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Entrada(const QByteArray &mensagem) {
    return Corta255(mensagem) + "\r\n-------\r\n";
}

// The entries go out in one write, so a failure never leaves a message without its separator.
// Plain system calls: the trace is written several times for every table loaded.
void Acrescenta(const QByteArray &entradas) {
    const QString caminho = Caminhos::Trace(Raiz());
    Caminhos::ExigeCaminhoCurto(caminho);
    // Each entry goes out in one write to the end of the file: no lock. A missing directory is
    // told by the open below.
    const GravacaoGuardada guarda(caminho, {.trava = false, .recusaNoTrace = false});
    if (guarda.situacao() == GravacaoGuardada::Situacao::Recusada)
        throw ErroES(QStringLiteral("Erro de E/S ao abrir %1: %2").arg(caminho, guarda.erro()));
    // O_NONBLOCK: a FIFO in its place fails at once instead of waiting for a reader.
    const int fd = ::open(QFile::encodeName(caminho).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0)
        throw ErroES(
            QStringLiteral("Erro de E/S ao abrir %1: %2").arg(caminho, MotivoDoErro(errno)));
    // The read-only attribute holds for root as well.
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ::close(fd);
        throw ErroES(
            QStringLiteral("Erro de E/S ao abrir %1: arquivo somente leitura").arg(caminho));
    }
    const int erro = AnexaInteiroEFecha(fd, entradas, st.st_size);
    if (erro != 0)
        throw ErroES(
            QStringLiteral("Erro de E/S ao gravar %1: %2").arg(caminho, MotivoDoErro(erro)));
}

} // namespace

void GravaTrace(const QByteArray &mensagem) {
    Acrescenta(Entrada(mensagem));
}

void GravaTrace(const QByteArray &primeira, const QByteArray &segunda) {
    Acrescenta(Entrada(primeira) + Entrada(segunda));
}

void RecusaGravacao(const QString &motivo) {
    AvisaErro(QStringLiteral("gravação recusada: ") + motivo);
    try {
        GravaTrace(ParaCp1252(QStringLiteral("Gravação recusada: ") + motivo));
    } catch (const ErroES &) {
        // the trace may be the file refused
    }
}
