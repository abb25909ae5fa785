#pragma once
// What the main window and the card edit dialogs share: one object owned by the main window.

#include "routing/tabrot.h"
#include "routing/tipos_cartao.h"

#include <QString>

struct EstadoEdicao {
    TTabRot tabela{};                    // the process-wide routing table
    QString caminhoTabRot;               // CaminhoTabRot: the TabRot.bin in use
    bool configuracaoAlterada = false;   // configuration-changed flag
    QString operacao;                    // "I" inclusion, "A" alteration
    int linhaSelecionada[3] = {0, 0, 0}; // per TipoGrade; 0 and -1 mean no row selected
};
