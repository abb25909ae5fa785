#include "routing/documento_tabela.h"

#include "env/caminhos.h"
#include "env/gravacao_guardada.h"

#include <QFileInfo>

DocumentoTabela::DocumentoTabela() : m_tabela(std::make_unique<TTabRot>()) {
    LimpaTabRot(*m_tabela);
}

DocumentoTabela::~DocumentoTabela() = default;

void DocumentoTabela::Esquece() {
    m_empresa.clear();
    m_caminho.clear();
    m_marca = {};
}

DocumentoTabela::Carga DocumentoTabela::Carrega(const QString &empresa) {
    m_empresa = empresa;
    m_caminho = Caminhos::TabRot(Raiz(), empresa);
    return Recarrega();
}

DocumentoTabela::Carga DocumentoTabela::Recarrega() {
    // Taken before the read: a change between the two is seen at the save, never missed.
    m_marca = MarcaDoArquivo(m_caminho, TamMaxTabRot);
    bool lido = false;
    try {
        lido = LeTabRot(m_caminho, *m_tabela);
    } catch (...) {
        m_tabela->Qtd = 0;
        throw;
    }
    if (!lido) {
        m_tabela->Qtd = 0;
        // A missing file is a new table; one that is there but cannot be used must not look
        // empty, or the next save would overwrite it unknowingly.
        return QFileInfo::exists(m_caminho) ? Carga::Ilegivel : Carga::Nova;
    }
    m_cartoes.Carrega(*m_tabela);
    return Carga::Lida;
}

DocumentoTabela::Resultado DocumentoTabela::Grava(const Pedido &pedido) {
    using Tipo = Resultado::Tipo;
    Resultado r;
    if (m_caminho.isEmpty()) {
        r.tipo = Tipo::Recusada;
        r.texto = QStringLiteral("Nenhuma tabela carregada: a configuração não foi gravada.");
        return r;
    }
    Caminhos::ExigeCaminhoCurto(m_caminho);
    if (!m_cartoes.ParaTabRot(*m_tabela, r.texto)) {
        r.tipo = Tipo::Recusada;
        return r;
    }
    if (!pedido.aceitaConflitos) {
        r.conflitos = ConflitosNovosNoArquivo(m_caminho, *m_tabela);
        if (!r.conflitos.isEmpty()) {
            r.tipo = Tipo::ConflitosNovos;
            return r;
        }
    }
    // The comparison and the write under the table's lock: an import or another window cannot
    // fall between them. A table reached through a link out of the installation gets no
    // directory and no lock made there: the write refuses it and says why.
    const GravacaoGuardada guarda(m_caminho, {.criaDiretorio = true});
    if (guarda.pronta()) {
        r.marca = MarcaDoArquivo(m_caminho, TamMaxTabRot);
        if (r.marca != m_marca && r.marca != pedido.sobrescreve) {
            r.tipo = Tipo::AlteradaNoDisco;
            return r;
        }
    }
    // One write of the whole table: the payment server never sees the defaults without cards.
    if (!GravaTabRot(guarda, *m_tabela, &r.texto)) {
        r.tipo = Tipo::Falhou;
        return r;
    }
    m_marca = MarcaDoArquivo(m_caminho, TamMaxTabRot);
    r.tipo = Tipo::Gravada;
    return r;
}
