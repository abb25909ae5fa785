#pragma once
// Every write into the installation goes through one of these, held from the check to the
// write: a path under the root never leads out of it (told on standard error and in the
// trace), the last directory level is made where the server would make it, and the file's lock
// is held while the object lives. A path outside the root as written (an import's status file,
// an export) is the operator's own choice and passes the boundary.

#include "env/trava.h"

#include <QString>

#include <optional>

// Writes into the installation never follow a link out of it: for a path under the root as
// written, false when its real path (every link of the file and of its directories followed,
// a dangling one too) lies outside the root's real path; `motivo` then says where it leads.
// `real`, when given, receives the real path judged (empty for a path outside the root as
// written).
bool DentroDaInstalacao(const QString &caminho, const QString &raiz, QString *motivo = nullptr,
                        QString *real = nullptr);

struct OpcoesGuarda {
    bool criaDiretorio = false; // the last level only, as the server lays its tables
    bool trava = true;          // the trace appends whole entries and takes none
    bool recusaNoTrace = true;  // the trace cannot hold its own refusal
    bool travaNoNome = false;   // the lock beside the name given, not beside a link's target
};

class GravacaoGuardada {
public:
    enum class Situacao {
        Pronta,
        Recusada,     // it leads out of the installation
        SemDiretorio, // its directory is missing (and could not be made)
        SemTrava,     // its lock was not had in time
    };
    explicit GravacaoGuardada(const QString &arquivo, OpcoesGuarda opcoes = {});
    GravacaoGuardada(const GravacaoGuardada &) = delete;
    GravacaoGuardada &operator=(const GravacaoGuardada &) = delete;

    Situacao situacao() const { return m_situacao; }
    bool pronta() const { return m_situacao == Situacao::Pronta; }
    const QString &arquivo() const { return m_arquivo; }
    const QString &diretorio() const { return m_diretorio; }
    // The real path judged at the boundary; the file's own path outside the root as written.
    const QString &real() const { return m_real; }
    // Why it is not ready.
    const QString &erro() const { return m_erro; }

private:
    QString m_arquivo;
    QString m_diretorio;
    QString m_real;
    QString m_erro;
    Situacao m_situacao = Situacao::Pronta;
    std::optional<TravaArquivo> m_trava;
};
