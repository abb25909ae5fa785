#pragma once
// Scripted message boxes and file dialogs for window tests: installs itself for its lifetime,
// records every box the operator would have seen and answers from queues the test fills.

#include "widgets/caixas.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct CaixaMostrada {
    QString texto;
    QString titulo;
    Icone icone = Icone::Nenhum;
    Botoes botoes = Botoes::Ok;
};

struct DialogoArquivo {
    bool salvar = false;
    QString titulo;
    QString diretorio;
};

class CaixasRoteiro : public InterfaceCaixas {
public:
    CaixasRoteiro() { InstalaCaixas(this); }
    ~CaixasRoteiro() override { InstalaCaixas(nullptr); }
    CaixasRoteiro(const CaixasRoteiro &) = delete;
    CaixasRoteiro &operator=(const CaixasRoteiro &) = delete;

    // Answers to the boxes, in order. A box with only OK takes no answer from the queue unless
    // `okConsome` is set; a question without a queued answer gets Cancelar and counts in
    // `semResposta`.
    QList<Resposta> respostas;
    // Paths the file dialogs give, in order; empty string or an empty queue means cancelled.
    QStringList arquivos;
    bool okConsome = false;

    QList<CaixaMostrada> caixas;
    QList<DialogoArquivo> dialogos;
    int semResposta = 0;
    // Runs when a box appears, before it answers: lets a test look at the windows then.
    std::function<void(const CaixaMostrada &)> aoMostrar;

    Resposta Mensagem(QWidget *, const QString &texto, const QString &titulo, Icone icone,
                      Botoes botoes) override {
        caixas.append({texto, titulo, icone, botoes});
        if (aoMostrar) aoMostrar(caixas.last());
        if (botoes == Botoes::Ok && !okConsome) return Resposta::Ok;
        if (respostas.isEmpty()) {
            ++semResposta;
            return botoes == Botoes::Ok ? Resposta::Ok : Resposta::Cancelar;
        }
        return respostas.takeFirst();
    }
    QString AbreArquivo(QWidget *, const QString &titulo, const QString &diretorio) override {
        dialogos.append({false, titulo, diretorio});
        return arquivos.isEmpty() ? QString() : arquivos.takeFirst();
    }
    QString SalvaArquivo(QWidget *, const QString &titulo, const QString &diretorio) override {
        dialogos.append({true, titulo, diretorio});
        return arquivos.isEmpty() ? QString() : arquivos.takeFirst();
    }

    QStringList Textos() const {
        QStringList t;
        for (const auto &c : caixas)
            t << c.texto;
        return t;
    }
    void Limpa() {
        caixas.clear();
        dialogos.clear();
        semResposta = 0;
    }
};
