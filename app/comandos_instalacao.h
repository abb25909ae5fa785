#pragma once
// The window's commands over the installation and the table on screen: the import and the
// export of every table, and the report of the BINs that two cards of one type cover.

#include <QString>

class CatalogoRedes;
class DocumentoTabela;
class QPlainTextEdit;
class QWidget;

class ComandosInstalacao {
public:
    ComandosInstalacao(QWidget *janela, DocumentoTabela &documento, const CatalogoRedes &catalogo);

    // True when the run went to its end (nothing chosen counts): the companies may have changed.
    // The working table afterwards holds the last file a record read.
    bool Importa();
    // Every table of the installation to a file; the lines are shown in the memo.
    void Exporta(QPlainTextEdit *memo);
    // The report for the cards on screen, named as the table `nome`.
    void VerificaBins(const QString &nome);

private:
    void Erro(const QString &texto);

    QWidget *m_janela;
    DocumentoTabela &m_documento;
    const CatalogoRedes &m_catalogo;
};
