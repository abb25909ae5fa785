#pragma once
// The message catalogue shared by the installation's configuration modules: entries 1 to 753,
// each a fixed key and a Windows-1252 text, with a default wording built into the program and an
// optional per-site translation that replaces texts by key. The program exports the process
// table to the modules it loads (CarregaMsg, LeMensagens); its own windows do not use it.

#include <QByteArray>
#include <QString>

#include <vector>

namespace Mensagens {

constexpr int Quantidade = 753;

// The key and the default text of an entry; empty for a number outside 1 to Quantidade.
QByteArray Chave(int numero);
QByteArray Padrao(int numero);

// One set of texts, starting from the defaults.
class Tabela {
public:
    Tabela();
    // The current text of an entry; empty outside 1 to Quantidade.
    QByteArray Texto(int numero) const;
    // Applies the translation that <raiz>/config/TabTraducao.ini names (section CfVardo, key
    // NomeArqTraducao): every key with a non-empty value in its section TabTraducao replaces
    // that entry's text, cut to 255 characters. No file, no change; nothing is reported.
    void AplicaTraducao(const QString &raiz);

private:
    std::vector<QByteArray> m_textos; // index 0 is entry 1
};

// The process-wide table that the exported functions serve; safe to call from any thread.
void Carrega();            // AplicaTraducao with the installation root
QByteArray Le(int numero); // Texto of the process table

} // namespace Mensagens
