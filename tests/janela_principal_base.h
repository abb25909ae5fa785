#pragma once
// Shared set-up of the main window tests: an installation in a temporary drive with COMUNIC.cnf
// network records for codes 10, 20 and 40, the test modules seA (20, credit), seB (10, credit
// and debit) and seC (40, fuel), the window shown on the offscreen platform, and scripted boxes.
// Grid rows are the model's: 0 is the first card, the blank row is last.

#include "app/modelo_cartoes.h"
#include "app/pagina_cartoes.h"
#include "app/principal.h"
#include "caixas_roteiro.h"
#include "dialogs/dialogo_cartao.h"
#include "instalacao_lote.h"
#include "widgets/painel_botao.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QtEndian>

#include <memory>
#include <optional>

namespace janela {

inline QByteArray RegistroComunic(int tipo, int valor) {
    QByteArray r(130, '\x5A');
    qToLittleEndian<std::uint16_t>(0x0102, r.data());
    qToLittleEndian<std::uint16_t>(std::uint16_t(tipo), r.data() + 2);
    qToLittleEndian<std::uint16_t>(std::uint16_t(valor), r.data() + 4);
    return r;
}

inline QString DiretorioModulosTeste() {
    const QString bin = qEnvironmentVariable("TESTES_BINARIOS");
    return (bin.isEmpty() ? QCoreApplication::applicationDirPath() : bin) +
           QStringLiteral("/modules/");
}

// Grid contents as "name|network|bins" per row, as the model gives them; the blank row is "||".
inline QStringList Linhas(const QTableView *g) {
    QStringList l;
    const QAbstractItemModel *m = g->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList c;
        for (int k = 0; k < 3; ++k)
            c << m->index(r, k).data().toString();
        l << c.join(QLatin1Char('|'));
    }
    return l;
}

inline QString Celula(const QTableView *g, int linha, int coluna) {
    return g->model()->index(linha, coluna).data().toString();
}

class Base {
public:
    std::unique_ptr<QTemporaryDir> unidade;
    lote::Instalacao inst;
    std::unique_ptr<CaixasRoteiro> caixas;
    std::unique_ptr<TFrmPrinc> janela;

    bool MontaInstalacao(bool comComunic = true,
                         const QStringList &empresas = {QStringLiteral("ABCDEFGH"),
                                                        QStringLiteral("12345678")}) {
        unidade = std::make_unique<QTemporaryDir>();
        if (!unidade->isValid()) return false;
        qputenv("VARDO_UNIDADE", unidade->path().toLocal8Bit());
        inst.unidade = unidade->path();
        if (!inst.cria(empresas)) return false;
        if (comComunic && !lote::Escreve(inst.config() + QStringLiteral("/COMUNIC.cnf"),
                                         RegistroComunic(2, 10) + RegistroComunic(2, 20) +
                                             RegistroComunic(2, 40)))
            return false;
        const QString bib = unidade->filePath(QStringLiteral("vardo/aplic.win/bib"));
        QDir().mkpath(bib);
        for (const char *m : {"seA.bpl", "seB.bpl", "seC.bpl"})
            if (!QFile::copy(DiretorioModulosTeste() + QLatin1String(m),
                             bib + QLatin1Char('/') + QLatin1String(m)))
                return false;
        caixas = std::make_unique<CaixasRoteiro>();
        return true;
    }

    void AbreJanela() {
        janela = std::make_unique<TFrmPrinc>();
        janela->show();
        janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(janela.get()));
    }

    // The usual start of a test: the installation with this table for the company (or TODAS),
    // and the window open on it.
    void AbreEm(const QString &empresa, const QList<lote::Cartao> &tabela) {
        QVERIFY(MontaInstalacao());
        const QString alvo =
            empresa == QStringLiteral("TODAS") ? inst.todas() : inst.empresa(empresa);
        QVERIFY(EscreveTabela(alvo, tabela));
        AbreJanela();
        EscolheEmpresa(empresa);
    }

    void Fecha() {
        janela.reset();
        caixas.reset();
        unidade.reset();
    }

    static bool NenhumaJanelaAberta() {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible()) return false;
        return true;
    }

    template <typename T> T *Filho(const char *nome) const {
        return janela->findChild<T *>(QString::fromUtf8(nome));
    }
    QComboBox *Empresa() const { return Filho<QComboBox>("cb_empresa"); }
    QTreeWidget *Arvore() const { return Filho<QTreeWidget>("TreeView_Opcoes"); }
    QTabWidget *Paginas() const { return Filho<QTabWidget>("PageControl_opcoes"); }
    QAction *Acao(const char *nome) const {
        return janela->findChild<QAction *>(QString::fromUtf8(nome));
    }
    PaginaCartoes *Pagina(TipoGrade t) const { return janela->Pagina(t); }
    QTableView *Grade(TipoGrade t) const { return Pagina(t)->Grade(); }
    bool Alterada() const { return janela->Cartoes().Alterada(); }
    std::optional<Operacao> OperacaoDe(TipoGrade t) const {
        return Pagina(t)->Dialogo()->OperacaoAtual();
    }

    // A card entered as the operator does: the page's "Incluir", the dialog's fields, one BIN
    // at a time, "Confirma".
    void IncluiCartao(TipoGrade t, const QString &nome, const QString &rede,
                      const QStringList &bins = {}) {
        PaginaCartoes *p = Pagina(t);
        QTest::mouseClick(p->PainelIncluir(), Qt::LeftButton);
        TFrmIncluiCartao *d = p->Dialogo();
        QVERIFY(d->isVisible());
        PreencheDialogo(d, nome, rede, bins);
        QVERIFY(!d->isVisible());
    }
    // A card altered through the dialog, its network and BIN list replaced. The row is selected
    // directly: a click on the first row would sort the grid.
    void AlteraCartao(TipoGrade t, int linha, const QString &rede, const QStringList &bins) {
        Grade(t)->selectRow(linha);
        PaginaCartoes *p = Pagina(t);
        p->Alterar(QString());
        TFrmIncluiCartao *d = p->Dialogo();
        QVERIFY(d->isVisible());
        d->findChild<QListWidget *>(QString::fromUtf8(d->Dados().listaBins))->clear();
        PreencheDialogo(d, QString(), rede, bins);
        QVERIFY(!d->isVisible());
    }
    static void PreencheDialogo(TFrmIncluiCartao *d, const QString &nome, const QString &rede,
                                const QStringList &bins) {
        auto filho = [d](const char *n) { return d->findChild<QWidget *>(QString::fromUtf8(n)); };
        if (!nome.isEmpty())
            QTest::keyClicks(static_cast<QLineEdit *>(filho(d->Dados().edNome)), nome);
        const int i = d->ComboRede()->findText(rede);
        d->ComboRede()->setCurrentIndex(i);
        if (i < 0) d->ComboRede()->setEditText(rede);
        auto *bin = static_cast<QLineEdit *>(filho(d->Dados().edBin));
        for (const QString &b : bins) {
            QTest::keyClicks(bin, b);
            QTest::mouseClick(static_cast<QToolButton *>(filho("bt_inclui_bin")), Qt::LeftButton);
        }
        QWidget *confirma = filho(d->Dados().painelConfirma);
        QTest::mouseClick(confirma, Qt::LeftButton, {}, confirma->rect().center());
    }

    void EscolheEmpresa(const QString &texto) {
        QComboBox *cb = Empresa();
        const int i = cb->findText(texto);
        QVERIFY(i >= 0);
        cb->setCurrentIndex(i);
        emit cb->activated(i);
    }

    void ClicaArvore(int no) {
        QTreeWidget *t = Arvore();
        QTreeWidgetItem *item = t->topLevelItem(no);
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(item).center());
    }

    void ClicaCelula(QTableView *g, int linha, int coluna, Qt::MouseButton b = Qt::LeftButton) {
        const QModelIndex i = g->model()->index(linha, coluna);
        g->scrollTo(i);
        const QRect r = g->visualRect(i);
        QTest::mouseClick(g->viewport(), b, {}, r.center());
    }

    // The title row, shown by the grid's header.
    void ClicaTitulo(QTableView *g, int coluna, bool duplo = false,
                     Qt::MouseButton b = Qt::LeftButton) {
        QHeaderView *h = g->horizontalHeader();
        const QPoint p(h->sectionViewportPosition(coluna) + h->sectionSize(coluna) / 2,
                       h->height() / 2);
        if (duplo)
            QTest::mouseDClick(h->viewport(), b, {}, p);
        else
            QTest::mouseClick(h->viewport(), b, {}, p);
    }

    void Clica(const char *painel) {
        auto *p = janela->findChild<QWidget *>(QString::fromUtf8(painel));
        QVERIFY2(p, painel);
        QTest::mouseClick(p, Qt::LeftButton, {}, p->rect().center());
    }

    bool EscreveTabela(const QString &caminho, const QList<lote::Cartao> &cartoes) {
        return lote::Escreve(caminho, lote::Arquivo(cartoes));
    }
};

} // namespace janela
