#pragma once
// The I/O error of the core: a file could not be created, opened, written or closed, and the
// routine does not turn that into a result of its own. Callers end their command on it and show
// the text.

#include <QString>
#include <stdexcept>

class ErroES : public std::runtime_error {
public:
    explicit ErroES(const QString &texto)
        : std::runtime_error(texto.toStdString()), m_texto(texto) {}
    const QString &texto() const noexcept { return m_texto; }

private:
    QString m_texto;
};

// The run ended because a file stayed locked by another process past the run's bound for its
// waits: nothing is wrong with the files, and the same run may be tried again later.
class ErroOcupado : public ErroES {
public:
    using ErroES::ErroES;
};

// A refused or lost write told on standard error (the caller also tells it in the trace).
void AvisaErro(const QString &texto);
