#pragma once
// One writer at a time: an exclusive flock on "<file>.lck" beside the file, held while the
// object lives. The kernel drops it when the process dies, so a crash leaves no stale lock; the
// empty lock file itself stays for the next writer. A process takes a file's lock once, through
// GravacaoGuardada (env/gravacao_guardada.h): taken again it would wait on itself.
// The wait is bounded; obtida() is false after it, with the reason in erro().

#include <QString>

// One bound for all the lock waits of a run (an import), held while the object lives: each lock
// waits at most its own bound and what is left of the run's. Not nested.
class LimiteDeEsperas {
public:
    explicit LimiteDeEsperas(int ms);
    ~LimiteDeEsperas();
    LimiteDeEsperas(const LimiteDeEsperas &) = delete;
    LimiteDeEsperas &operator=(const LimiteDeEsperas &) = delete;
    // The run's waits have used up its bound.
    static bool Esgotado();
    // The bound of an import run (30 s unless changed).
    static int Padrao();
    static void DefinePadrao(int ms);
};

class TravaArquivo {
public:
    // `real`: the file's real path, when the caller has resolved it.
    explicit TravaArquivo(const QString &arquivo, const QString &real = QString());
    ~TravaArquivo();
    TravaArquivo(const TravaArquivo &) = delete;
    TravaArquivo &operator=(const TravaArquivo &) = delete;

    bool obtida() const { return m_fd >= 0; }
    const QString &erro() const { return m_erro; }

    static QString ArquivoDaTrava(const QString &arquivo);
    // The wait before giving up (a few seconds unless changed).
    static void DefinePrazo(int ms);
    static int Prazo();

private:
    int m_fd = -1;
    QString m_erro;
};
