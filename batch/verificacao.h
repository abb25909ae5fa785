#pragma once
// The examination of every table of the installation, for the command line: the companies in
// their list order, then TODAS. The lines are those the window shows for the table on screen.

#include "routing/sobreposicao.h"

#include <QByteArray>
#include <QList>

class CatalogoRedes;

struct VerificacaoInstalacao {
    QList<QByteArray> linhas; // Windows-1252, one per finding or damaged table
    int examinadas = 0;       // tables read (a company without a table has none to examine)
    int danificadas = 0;      // tables that exist but cannot be read
    qint64 conflitos = 0, redundancias = 0, incomparaveis = 0;
    // A table that cannot be read and an entry that cannot be compared may each hide a conflict.
    bool Limpa() const { return conflitos == 0 && incomparaveis == 0 && danificadas == 0; }
};

// The network as the report names it: its display name in the catalogue, "rede N" when no module
// serves it.
NomeRedeAchado NomeRedeDoCatalogo(const CatalogoRedes &catalogo);

// Reads each table through the working table (which afterwards holds the last one read). Throws
// ErroES when the trace log cannot be written.
VerificacaoInstalacao VerificaInstalacao(TTabRot &tabela,
                                         const NomeRedeAchado &nomeRede = RedeNumerada);

// "Tabelas examinadas: N; conflitos: N; redundâncias: N; bins não comparáveis: N; tabelas
// danificadas: N"
QByteArray ResumoVerificacao(const VerificacaoInstalacao &v);
