// The card edit dialog driven through its widgets, its result written into a plain grid in place
// of the page: BIN entry by keys, deletion, name checks, confirmation, close, opening and
// closing; and once with the real main window.

#include "app/modelo_cartoes.h"
#include "app/pagina_cartoes.h"
#include "app/principal.h"
#include "caixas_roteiro.h"
#include "dialogs/dialogo_cartao.h"
#include "dialogs/regras_bin.h"
#include "widgets/ajusta_visual.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(TipoGrade)

namespace {

struct Chamada {
    QString rotina;
    int linha;
    QString nome, rede, bins;
};

// Stands for the page: a grid as the system's grid looked (titles in row 0, cards from row 1, one
// blank row last), written with what the dialog hands back.
struct Cenario {
    struct {
        bool configuracaoAlterada = false;
    } estado;
    QWidget principal; // stands for the main window, which the dialog disables
    QTableWidget *grade = new QTableWidget(2, 3, &principal);
    QList<Chamada> chamadas;
    int linhaAlterada = 0;
    std::unique_ptr<TFrmIncluiCartao> dialogo;

    explicit Cenario(TipoGrade tipo = TipoGrade::Credito) {
        Poe(0, {"Cartão ", "Rede Destino", "Bins"});
        dialogo = CriaDialogoCartao(tipo, [this](const QString &nome) {
            for (int linha = 1; linha < grade->rowCount(); ++linha)
                if (ChaveDoNome(Linha(linha).value(0)) == ChaveDoNome(nome)) return true;
            return false;
        });
        QObject::connect(dialogo.get(), &TFrmIncluiCartao::alterou,
                         [this] { estado.configuracaoAlterada = true; });
        QObject::connect(dialogo.get(), &TFrmIncluiCartao::confirmado,
                         [this](Operacao op, const CartaoEditado &c) {
                             const QString bins = TextoDaListaBins(c.bins);
                             if (op == Operacao::Inclusao) {
                                 int l = 0;
                                 while (l < grade->rowCount() && !Linha(l).value(0).isEmpty())
                                     ++l;
                                 chamadas.append({"IncluiDadosNaGrade", l, c.nome, c.rede, bins});
                                 grade->setRowCount(grade->rowCount() + 1);
                                 Poe(l, {c.nome, c.rede, bins});
                             } else {
                                 chamadas.append({"IncluiDadosAlteradosNaGrade", linhaAlterada,
                                                  c.nome, c.rede, bins});
                                 Poe(linhaAlterada, {c.nome, c.rede, bins});
                             }
                         });
        dialogo->ComboRede()->addItems({"Bloqueada", "REDE A", "REDE B"});
        principal.resize(400, 300);
        principal.show();
    }
    ~Cenario() {
        if (dialogo && dialogo->isVisible()) FechaDialogoCartao(dialogo.get());
    }

    void Poe(int linha, const QStringList &celulas) {
        for (int c = 0; c < 3; ++c)
            grade->setItem(linha, c, new QTableWidgetItem(celulas.value(c)));
    }
    // Cards in rows 1.., then the blank row.
    void Cartoes(const QList<QStringList> &cartoes) {
        grade->setRowCount(int(cartoes.size()) + 2);
        for (int i = 0; i < cartoes.size(); ++i)
            Poe(i + 1, cartoes[i]);
    }
    QStringList Linha(int linha) const {
        QStringList l;
        for (int c = 0; c < 3; ++c)
            l << (grade->item(linha, c) ? grade->item(linha, c)->text() : QString());
        return l;
    }

    void Abre(const QString &operacao, int linha = 0) {
        if (operacao == u"A") {
            linhaAlterada = linha;
            const QStringList l = Linha(linha);
            dialogo->Abre(Operacao::Alteracao, {l[0], l[1], ListaBinsDoTexto(l[2])});
        } else {
            dialogo->Abre(Operacao::Inclusao);
        }
        QVERIFY(QTest::qWaitForWindowActive(dialogo.get()));
    }

    template <class T> T *Filho(const char *nome) const {
        T *w = dialogo->findChild<T *>(QString::fromUtf8(nome));
        if (!w) qFatal("missing control %s", nome);
        return w;
    }
    QLineEdit *Nome() const { return Filho<QLineEdit>(dialogo->Dados().edNome); }
    QLineEdit *Bin() const { return Filho<QLineEdit>(dialogo->Dados().edBin); }
    QListWidget *Lista() const { return Filho<QListWidget>(dialogo->Dados().listaBins); }
    QComboBox *Combo() const { return Filho<QComboBox>(dialogo->Dados().comboRede); }
    QWidget *Confirma() const { return Filho<QWidget>(dialogo->Dados().painelConfirma); }
    QWidget *Encerra() const { return Filho<QWidget>(dialogo->Dados().painelEncerra); }
    QToolButton *BtInclui() const { return Filho<QToolButton>("bt_inclui_bin"); }
    QToolButton *BtExclui() const { return Filho<QToolButton>("bt_exclui_bin"); }

    // Keys as typed; "\b" is the erase key.
    void Digita(QWidget *campo, const QString &teclas) {
        for (QChar c : teclas) {
            if (c == u'\b') {
                QTest::keyClick(campo, Qt::Key_Backspace);
            } else if (c.unicode() > 127) {
                // QTest types ASCII only; an accented letter comes as a keyboard would send it.
                QKeyEvent aperta(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent solta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(campo, &aperta);
                QApplication::sendEvent(campo, &solta);
            } else
                QTest::keyClicks(campo, QString(c));
        }
    }
    void Clica(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
};

QStringList ItensDa(const QListWidget *lista) {
    QStringList l;
    for (int i = 0; i < lista->count(); ++i)
        l << lista->item(i)->text();
    return l;
}

QString Faixas19(int n) {
    QString bins;
    for (int i = 0; i < n; ++i)
        bins += QStringLiteral("1000000%1-2000000%1;").arg(i, 2, 10, QChar(u'0'));
    return bins;
}

} // namespace

class TstDialogoCartao : public QObject {
    Q_OBJECT
    std::unique_ptr<CaixasRoteiro> caixas;

private slots:
    void init() { caixas = std::make_unique<CaixasRoteiro>(); }
    void cleanup() {
        caixas.reset();
        // No window may be left open.
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible() || w->windowType() == Qt::ToolTip,
                     qPrintable(w->objectName()));
    }

    void controles_data();
    void controles();
    void ordemDeTabulacao();
    void abreEFecha();
    void binDigitado_data();
    void binDigitado();
    void limiteDeVinte();
    void textoColado();
    void exclusao_data();
    void exclusao();
    void nomeNaInclusao_data();
    void nomeNaInclusao();
    void inclusaoSemRedeNemBins();
    void inclusaoCompleta();
    void alteracaoDeVinteFaixas();
    void encerraDescarta();
    void comboNaoAceitaDigitacao();
    void teclaEnter();
    void nomeSoEmCp1252();
    void destruidoAberto();
    void ligadoAPrincipal();
};

void TstDialogoCartao::controles_data() {
    QTest::addColumn<TipoGrade>("tipo");
    QTest::addColumn<QStringList>("nomes");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("tamanho");
    QTest::newRow("credito") << TipoGrade::Credito
                             << QStringList{"FrmIncluiCartaoCred",    "ed_nome_cartao_cred",
                                            "CB_RedeDestino_Cred",    "ed_bin_cred",
                                            "LB_Bins_cred",           "bt_conf_incluir_cred",
                                            "bt_encerra_incluir_cred"}
                             << "Inclusão de Cartão de Crédito" << QSize(361, 318);
    QTest::newRow("debito") << TipoGrade::Debito
                            << QStringList{"FrmIncluiCartaoDeb",    "ed_nome_cartao_deb",
                                           "CB_RedeDestino_deb",    "ed_bin_deb",
                                           "LB_Bins_deb",           "bt_conf_incluir_deb",
                                           "bt_encerra_incluir_deb"}
                            << "Inclusão de Cartão de Débito" << QSize(365, 318);
    QTest::newRow("combustivel") << TipoGrade::Combustivel
                                 << QStringList{"FrmIncluiCartaoComb",   "ed_nome_cartao_comb",
                                                "CB_RedeDestino_comb",   "ed_bin_comb",
                                                "LB_Bins_comb",          "bt_conf_incluir_deb",
                                                "bt_encerra_incluir_deb"}
                                 << "Inclusão de Cartão Combustível" << QSize(365, 318);
}

void TstDialogoCartao::controles() {
    QFETCH(TipoGrade, tipo);
    QFETCH(QStringList, nomes);
    QFETCH(QString, caption);
    QFETCH(QSize, tamanho);
    Cenario c(tipo);
    QCOMPARE(c.dialogo->objectName(), nomes[0]);
    for (const QString &nome : nomes.mid(1))
        QVERIFY2(c.dialogo->findChild<QWidget *>(nome), qPrintable(nome));
    for (const char *nome : {"Panel1", "GroupBox1", "GroupBox2", "GroupBox3", "Label5",
                             "bt_inclui_bin", "bt_exclui_bin"})
        QVERIFY2(c.dialogo->findChild<QWidget *>(nome), nome);
    QCOMPARE(c.dialogo->size(), tamanho);
    // One family in the three dialogs and the main window.
    QCOMPARE(c.dialogo->font().family(), FamiliaDasJanelas());
    QCOMPARE(c.Filho<QWidget>("Panel1")->font().family(), FamiliaDasJanelas());
    QCOMPARE(c.Nome()->maxLength(), 30);
    QCOMPARE(c.Nome()->width(), 258);
    QCOMPARE(c.Bin()->maxLength(), 19);
    QCOMPARE(c.Lista()->size(), QSize(154, 145));
    QCOMPARE(c.BtInclui()->size(), QSize(32, 32));
    QCOMPARE(c.BtExclui()->toolTip(), QStringLiteral("<Excluir>Selecione o bin desejado"));
    QCOMPARE(c.BtInclui()->toolTip(), QStringLiteral("inclui bin"));
    QCOMPARE(c.Lista()->toolTip(), QStringLiteral("Tecla <DEL> exclui bin"));
    QCOMPARE(c.Confirma()->size(), QSize(81, 25));
    QCOMPARE(c.Filho<QWidget>("Label5")->palette().color(QPalette::WindowText), QColor(51, 51, 51));
    // Confirma is orange (tag 2), Encerra grey (tag 1).
    QCOMPARE(c.Confirma()->palette().color(QPalette::Window), QColor(255, 102, 0));
    QCOMPARE(c.Encerra()->palette().color(QPalette::Window), QColor(102, 102, 102));
    c.Abre("I");
    QCOMPARE(c.dialogo->windowTitle(), caption);
    const Qt::WindowFlags f = c.dialogo->windowFlags();
    QVERIFY(!(f & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
}

void TstDialogoCartao::ordemDeTabulacao() {
    Cenario c;
    c.Abre("I");
    QCOMPARE(QApplication::focusWidget(), c.Nome());
    QStringList vistos;
    for (int i = 0; i < 8; ++i) {
        QWidget *foco = QApplication::focusWidget();
        if (qobject_cast<QComboBox *>(foco->parentWidget())) foco = foco->parentWidget();
        vistos << foco->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(vistos, (QStringList{"ed_nome_cartao_cred", "CB_RedeDestino_Cred", "ed_bin_cred",
                                  "bt_inclui_bin", "LB_Bins_cred", "bt_exclui_bin",
                                  "bt_conf_incluir_cred", "bt_encerra_incluir_cred"}));
    c.Clica(c.Encerra());
}

void TstDialogoCartao::abreEFecha() {
    Cenario c;
    c.Abre("I");
    QVERIFY(c.dialogo->isVisible());
    QVERIFY(!c.principal.isEnabled());
    QVERIFY(c.dialogo->isEnabled());
    // Neither the frame nor Escape leaves the dialog.
    c.dialogo->close();
    QVERIFY(c.dialogo->isVisible());
    QTest::keyClick(c.Nome(), Qt::Key_Escape);
    QVERIFY(c.dialogo->isVisible());
    QVERIFY(!c.principal.isEnabled());

    // Each opening starts afresh.
    c.Digita(c.Nome(), "Cartao");
    c.Digita(c.Bin(), "123456");
    c.Clica(c.BtInclui());
    c.Combo()->setCurrentIndex(1);
    c.Clica(c.Encerra());
    QVERIFY(!c.dialogo->isVisible());
    QVERIFY(c.principal.isEnabled());
    c.Abre("I");
    QVERIFY(c.Nome()->text().isEmpty());
    QVERIFY(c.Combo()->currentText().isEmpty());
    QCOMPARE(c.Lista()->count(), 0);
    QCOMPARE(c.Combo()->count(), 3); // the network list stays
    QVERIFY(caixas->caixas.isEmpty());
    FechaDialogoCartao(c.dialogo.get());
    QVERIFY(c.principal.isEnabled());
}

void TstDialogoCartao::binDigitado_data() {
    QTest::addColumn<QString>("carregados"); // BIN list text of the card being altered
    QTest::addColumn<QString>("teclas");
    QTest::addColumn<QString>("noCampo");   // the field before the include button
    QTest::addColumn<QString>("mensagem");  // empty: accepted
    QTest::addColumn<QStringList>("lista"); // the list afterwards

    // The verdicts themselves are the rules' tests; here, what typing and the field do.
    QTest::newRow("bin simples") << ""
                                 << "123456"
                                 << "123456"
                                 << "" << QStringList{"123456"};
    QTest::newRow("nove digitos e hifen") << ""
                                          << "123456789"
                                          << "123456789-"
                                          << "" << QStringList{"123456789"};
    QTest::newRow("nove digitos e faixa") << ""
                                          << "123456789123456799"
                                          << "123456789-123456799"
                                          << "" << QStringList{"123456789-123456799"};
    QTest::newRow("oito digitos e hifen") << ""
                                          << "12345678-"
                                          << "12345678-" << MsgTamanhoBinSuperior << QStringList{};
    // After erasing the automatic hyphen, it is not added again.
    QTest::newRow("dez digitos") << ""
                                 << "123456789\b0"
                                 << "1234567890" << MsgTamanhoBin << QStringList{};
    QTest::newRow("apagar e redigitar") << ""
                                        << "123456789\b\b9"
                                        << "123456789-"
                                        << "" << QStringList{"123456789"};
    QTest::newRow("inferior de dez") << ""
                                     << "000000000\b1-123456"
                                     << "0000000001-123456" << MsgTamanhoBin << QStringList{};
    QTest::newRow("superior com hifen") << ""
                                        << "123456-12-456"
                                        << "123456-12-456" << MsgIntervaloInvalido << QStringList{};
    QTest::newRow("letras e espacos recusados") << ""
                                                << "12a3 45x6"
                                                << "123456"
                                                << "" << QStringList{"123456"};
    QTest::newRow("enter recusado") << ""
                                    << "1234\r56"
                                    << "123456"
                                    << "" << QStringList{"123456"};

    const QString faixa = "123400-123500;";
    QTest::newRow("dentro da faixa") << faixa << "123450"
                                     << "123450" << MsgBinExistente << QStringList{"123400-123500"};
    // A loaded entry whose bounds are no numbers no longer blocks the inclusion.
    QTest::newRow("entrada estranha carregada") << "ABC-DEF;"
                                                << "123456"
                                                << "123456"
                                                << "" << QStringList{"ABC-DEF", "123456"};
}

void TstDialogoCartao::binDigitado() {
    QFETCH(QString, carregados);
    QFETCH(QString, teclas);
    QFETCH(QString, noCampo);
    QFETCH(QString, mensagem);
    QFETCH(QStringList, lista);
    Cenario c;
    c.Cartoes({{"Cartao", "REDE A", carregados}});
    c.Abre("A", 1);
    QCOMPARE(c.estado.configuracaoAlterada, false);
    c.Bin()->setFocus();
    c.Digita(c.Bin(), teclas);
    QCOMPARE(c.Bin()->text(), noCampo);
    c.Clica(c.BtInclui());
    if (mensagem.isEmpty()) {
        QVERIFY(caixas->caixas.isEmpty());
    } else {
        QCOMPARE(caixas->caixas.size(), 1);
        QCOMPARE(caixas->caixas[0].texto, mensagem);
        QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configurador Roteamento"));
        QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
        QCOMPARE(caixas->caixas[0].botoes, Botoes::Ok);
    }
    QCOMPARE(ItensDa(c.Lista()), lista);
    QVERIFY(c.Bin()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), c.Bin());
    QVERIFY(c.estado.configuracaoAlterada);
    c.Clica(c.Encerra());
}

void TstDialogoCartao::limiteDeVinte() {
    Cenario c;
    QString vinte;
    for (int i = 0; i < 20; ++i)
        vinte += QString::number(100000 + i) + u';';
    c.Cartoes({{"Cartao", "REDE A", vinte}});
    c.Abre("A", 1);
    QCOMPARE(c.Lista()->count(), 20);
    c.Digita(c.Bin(), "300000");
    c.Clica(c.BtInclui());
    QCOMPARE(caixas->caixas.size(), 1);
    QCOMPARE(caixas->caixas[0].texto, QStringLiteral("Não é permitido cadastrar mais de 20 bins"));
    QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
    QCOMPARE(c.Bin()->text(), QStringLiteral("300000"));
    QCOMPARE(c.Lista()->count(), 20);
    QVERIFY(!c.estado.configuracaoAlterada);
    c.Clica(c.Encerra());
}

void TstDialogoCartao::textoColado() {
    Cenario c;
    c.Abre("I");
    c.Bin()->setFocus();
    QApplication::clipboard()->setText("12a456");
    c.Bin()->paste();
    QVERIFY(c.Bin()->text().isEmpty());
    QApplication::clipboard()->setText(" 123456");
    c.Bin()->paste();
    QVERIFY(c.Bin()->text().isEmpty());
    QApplication::clipboard()->setText("400000-400099");
    c.Bin()->paste();
    QCOMPARE(c.Bin()->text(), QStringLiteral("400000-400099"));
    c.Bin()->clear();
    // Pasting nine digits meets the automatic hyphen as typing does.
    c.Bin()->insert("987654321");
    QCOMPARE(c.Bin()->text(), QStringLiteral("987654321-"));
    c.Clica(c.BtInclui());
    QCOMPARE(ItensDa(c.Lista()), QStringList{"987654321"});
    c.Clica(c.Encerra());
}

void TstDialogoCartao::exclusao_data() {
    QTest::addColumn<bool>("pelaTecla");
    QTest::addColumn<int>("selecionado");
    QTest::addColumn<int>("resposta"); // Resposta
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("icone"); // Icone
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<bool>("alterada");

    const QStringList tudo{"111111", "222222-222299", "333333"};
    const QString pergunta = "Deseja excluir o Bin 222222-222299 ?";
    const int sim = int(Resposta::Sim), nao = int(Resposta::Nao), ok = int(Resposta::Ok);
    QTest::newRow("botao sem selecao")
        << false << -1 << ok << MsgSelecioneBin << int(Icone::Erro) << tudo << false;
    QTest::newRow("botao com nao")
        << false << 1 << nao << pergunta << int(Icone::Pergunta) << tudo << false;
    QTest::newRow("botao com sim") << false << 1 << sim << pergunta << int(Icone::Pergunta)
                                   << QStringList{"111111", "333333"} << true;
    QTest::newRow("del sem selecao")
        << true << -1 << ok << MsgSelecioneBin << int(Icone::Erro) << tudo << false;
    // DEL sets the flag before it asks.
    QTest::newRow("del com nao") << true << 1 << nao << pergunta << int(Icone::Nenhum) << tudo
                                 << true;
    QTest::newRow("del com sim") << true << 1 << sim << pergunta << int(Icone::Nenhum)
                                 << QStringList{"111111", "333333"} << true;
}

void TstDialogoCartao::exclusao() {
    QFETCH(bool, pelaTecla);
    QFETCH(int, selecionado);
    QFETCH(int, resposta);
    QFETCH(QString, texto);
    QFETCH(int, icone);
    QFETCH(QStringList, lista);
    QFETCH(bool, alterada);
    Cenario c;
    c.Cartoes({{"Cartao", "REDE A", "111111;222222-222299;333333;"}});
    c.Abre("A", 1);
    c.Lista()->setFocus();
    if (selecionado >= 0) c.Lista()->setCurrentRow(selecionado);
    if (selecionado >= 0) caixas->respostas << Resposta(resposta);
    if (pelaTecla) {
        QTest::keyClick(c.Lista(), Qt::Key_A); // other keys do nothing
        QVERIFY(caixas->caixas.isEmpty());
        QTest::keyClick(c.Lista(), Qt::Key_Delete);
    } else {
        c.Clica(c.BtExclui());
    }
    QCOMPARE(caixas->caixas.size(), 1);
    QCOMPARE(caixas->caixas[0].texto, texto);
    QCOMPARE(caixas->caixas[0].titulo, QStringLiteral("Configurador Roteamento"));
    QCOMPARE(int(caixas->caixas[0].icone), icone);
    QCOMPARE(caixas->caixas[0].botoes, selecionado >= 0 ? Botoes::SimNao : Botoes::Ok);
    QCOMPARE(ItensDa(c.Lista()), lista);
    QCOMPARE(c.estado.configuracaoAlterada, alterada);
    if (lista.size() == 2) {
        // Nothing stays selected, so a second press deletes nothing without a new choice.
        caixas->caixas.clear();
        c.Clica(c.BtExclui());
        QCOMPARE(caixas->caixas.value(0).texto, MsgSelecioneBin);
    }
    c.Clica(c.Encerra());
}

void TstDialogoCartao::nomeNaInclusao_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("vazio") << ""
                           << "Digite o Nome do Cartão";
    QTest::newRow("mesmo nome") << "Visa Gold"
                                << "Nome do Cartão já cadastrado";
    QTest::newRow("caixa e espacos") << "  vISA gOLD "
                                     << "Nome do Cartão já cadastrado";
    QTest::newRow("so espacos") << "   "
                                << "Nome do Cartão já cadastrado";
    QTest::newRow("acentos nao se dobram") << "MAESTRO CRÉDITO"
                                           << "";
    QTest::newRow("acento igual") << "maestro Crédito"
                                  << "Nome do Cartão já cadastrado";
    QTest::newRow("como o titulo") << "Cartão"
                                   << "";
    QTest::newRow("novo") << "Elo"
                          << "";
}

void TstDialogoCartao::nomeNaInclusao() {
    QFETCH(QString, nome);
    QFETCH(QString, mensagem);
    Cenario c;
    c.Cartoes({{"Visa Gold", "REDE A", "411111;"}, {"Maestro Crédito", "REDE B", ""}});
    c.Abre("I");
    c.Digita(c.Nome(), nome);
    c.Combo()->setCurrentIndex(2);
    c.Digita(c.Bin(), "555555");
    c.Clica(c.BtInclui());
    c.Clica(c.Confirma());
    QVERIFY(c.estado.configuracaoAlterada);
    if (mensagem.isEmpty()) {
        QVERIFY(caixas->caixas.isEmpty());
        QVERIFY(!c.dialogo->isVisible());
        QCOMPARE(c.chamadas.size(), 1);
        QCOMPARE(c.chamadas[0].rotina, QStringLiteral("IncluiDadosNaGrade"));
        QCOMPARE(c.chamadas[0].linha, 3);
        QCOMPARE(c.chamadas[0].nome, nome);
        QCOMPARE(c.grade->rowCount(), 5);
        QCOMPARE(c.Linha(3), (QStringList{nome, "REDE B", "555555;"}));
    } else {
        QCOMPARE(caixas->caixas.size(), 1);
        QCOMPARE(caixas->caixas[0].texto, mensagem);
        QCOMPARE(caixas->caixas[0].icone, Icone::Erro);
        QCOMPARE(caixas->caixas[0].botoes, Botoes::Ok);
        QVERIFY(c.dialogo->isVisible());
        QVERIFY(c.chamadas.isEmpty());
        QVERIFY(c.Nome()->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), c.Nome());
        QCOMPARE(c.Combo()->currentText(), QStringLiteral("REDE B"));
        QCOMPARE(ItensDa(c.Lista()), QStringList{"555555"});
        QCOMPARE(c.grade->rowCount(), 4);
        c.Clica(c.Encerra());
    }
}

void TstDialogoCartao::inclusaoSemRedeNemBins() {
    Cenario c;
    c.Abre("I");
    c.Digita(c.Nome(), "Sem Rede");
    c.Clica(c.Confirma());
    QCOMPARE(c.chamadas.size(), 1);
    QCOMPARE(c.chamadas[0].linha, 1);
    QCOMPARE(c.chamadas[0].rede, QString());
    QCOMPARE(c.chamadas[0].bins, QString());
    QCOMPARE(c.grade->rowCount(), 3);
    QVERIFY(c.principal.isEnabled());
}

void TstDialogoCartao::inclusaoCompleta() {
    Cenario c;
    c.Cartoes({{"Outro", "Bloqueada", "123456;"}});
    c.Abre("I");
    QCOMPARE(c.dialogo->windowTitle(), QStringLiteral("Inclusão de Cartão de Crédito"));
    c.Digita(c.Nome(), "Cartao Teste");
    c.Combo()->setCurrentIndex(1);
    // The same BIN as another card is no concern of this card's list.
    for (const char *bin : {"411111", "400000-400099", "123456"}) {
        c.Digita(c.Bin(), bin);
        c.Clica(c.BtInclui());
    }
    c.Clica(c.Confirma());
    QVERIFY(caixas->caixas.isEmpty());
    QCOMPARE(c.chamadas.size(), 1);
    QCOMPARE(c.Linha(2), (QStringList{"Cartao Teste", "REDE A", "411111;400000-400099;123456;"}));
    QCOMPARE(c.Linha(3), (QStringList{"", "", ""}));
    QCOMPARE(c.grade->rowCount(), 4);
}

void TstDialogoCartao::alteracaoDeVinteFaixas() {
    Cenario c;
    const QString bins = Faixas19(20);
    QCOMPARE(bins.size(), 400);
    // A network the list does not hold still shows.
    c.Cartoes({{"Primeiro", "REDE A", "111111;"}, {"Vinte Faixas", "REDE SUMIDA", bins}});
    c.Abre("A", 2);
    QCOMPARE(c.dialogo->windowTitle(), QStringLiteral("Alteração de Cartão de Crédito"));
    QCOMPARE(c.Nome()->text(), QStringLiteral("Vinte Faixas"));
    QVERIFY(!c.Nome()->isEnabled());
    QCOMPARE(c.Combo()->currentText(), QStringLiteral("REDE SUMIDA"));
    QCOMPARE(c.Lista()->count(), 20);
    QCOMPARE(c.Lista()->item(19)->text(), QStringLiteral("100000019-200000019"));
    c.Clica(c.Confirma());
    QVERIFY(caixas->caixas.isEmpty());
    QCOMPARE(c.chamadas.size(), 1);
    QCOMPARE(c.chamadas[0].rotina, QStringLiteral("IncluiDadosAlteradosNaGrade"));
    QCOMPARE(c.chamadas[0].linha, 2);
    QCOMPARE(c.chamadas[0].bins, bins);
    QCOMPARE(c.grade->rowCount(), 4);
    QCOMPARE(c.Linha(2), (QStringList{"Vinte Faixas", "REDE SUMIDA", bins}));
    QVERIFY(c.estado.configuracaoAlterada);

    // Next inclusion: the name field is usable again.
    c.Abre("I");
    QVERIFY(c.Nome()->isEnabled());
    QVERIFY(c.Nome()->text().isEmpty());
    QCOMPARE(c.dialogo->windowTitle(), QStringLiteral("Inclusão de Cartão de Crédito"));
    c.Clica(c.Encerra());
}

void TstDialogoCartao::encerraDescarta() {
    Cenario c;
    c.Cartoes({{"Cartao", "REDE A", "111111;222222;"}});
    c.Abre("A", 1);
    c.Digita(c.Bin(), "333333");
    c.Clica(c.BtInclui());
    c.Lista()->setCurrentRow(0);
    caixas->respostas << Resposta::Sim;
    c.Clica(c.BtExclui());
    QCOMPARE(ItensDa(c.Lista()), (QStringList{"222222", "333333"}));
    c.Clica(c.Encerra());
    QVERIFY(!c.dialogo->isVisible());
    QVERIFY(c.principal.isEnabled());
    QVERIFY(c.chamadas.isEmpty());
    QCOMPARE(c.Linha(1), (QStringList{"Cartao", "REDE A", "111111;222222;"}));
    QCOMPARE(c.grade->rowCount(), 3);
    // What the BIN actions set stays.
    QVERIFY(c.estado.configuracaoAlterada);
}

void TstDialogoCartao::comboNaoAceitaDigitacao() {
    Cenario c;
    c.Abre("I");
    QComboBox *combo = c.Combo();
    combo->setFocus();
    QTest::keyClicks(combo, "REDE B");
    QVERIFY(combo->currentText().isEmpty());
    combo->setCurrentIndex(1);
    QTest::keyClick(combo, Qt::Key_Backspace);
    QTest::keyClick(combo, Qt::Key_Delete);
    QTest::keyClicks(combo->lineEdit(), "xy");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(combo->currentText(), QStringLiteral("REDE A"));
    QCOMPARE(combo->count(), 3);
    c.Clica(c.Encerra());
}

void TstDialogoCartao::teclaEnter() {
    Cenario c;
    c.Abre("I");
    c.Digita(c.Nome(), "Pelo Enter");
    QTest::keyClick(c.Nome(), Qt::Key_Return);
    QVERIFY(c.dialogo->isVisible());
    c.Digita(c.Bin(), "123456");
    QTest::keyClick(c.Bin(), Qt::Key_Return);
    QCOMPARE(c.Bin()->text(), QStringLiteral("123456"));
    QCOMPARE(c.Lista()->count(), 0);
    QVERIFY(caixas->caixas.isEmpty());
    c.BtInclui()->setFocus();
    QTest::keyClick(c.BtInclui(), Qt::Key_Space);
    QCOMPARE(c.Lista()->count(), 1);
    // Enter on a focused panel is its click.
    c.Confirma()->setFocus();
    QTest::keyClick(c.Confirma(), Qt::Key_Return);
    QVERIFY(!c.dialogo->isVisible());
    QCOMPARE(c.chamadas.size(), 1);
    QCOMPARE(c.Linha(1), (QStringList{"Pelo Enter", "", "123456;"}));
}

void TstDialogoCartao::nomeSoEmCp1252() {
    Cenario c;
    c.Abre("I");
    // Ł and ź have no Windows-1252 byte; ó and € have.
    c.Digita(c.Nome(), QStringLiteral("Łódź €"));
    QCOMPARE(c.Nome()->text(), QStringLiteral("ód €"));
    // The import would cut a name at ";".
    c.Nome()->clear();
    c.Digita(c.Nome(), QStringLiteral("VISA;ELO"));
    QCOMPARE(c.Nome()->text(), QStringLiteral("VISAELO"));
    c.Clica(c.Encerra());
}

void TstDialogoCartao::destruidoAberto() {
    auto c = std::make_unique<Cenario>();
    c->Abre("I");
    QVERIFY(!c->principal.isEnabled());
    c->dialogo.reset();
    QVERIFY(c->principal.isEnabled());
}

void TstDialogoCartao::ligadoAPrincipal() {
    auto *principal = new TFrmPrinc;
    PaginaCartoes *pagina = principal->Pagina(TipoGrade::Debito);
    QPointer<TFrmIncluiCartao> dialogo = pagina->Dialogo();
    principal->show();
    QTest::mouseClick(principal->findChild<QWidget *>("bt_incluir_deb"), Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowActive(dialogo));
    QVERIFY(!principal->isEnabled());
    QTest::keyClicks(dialogo->findChild<QLineEdit *>("ed_nome_cartao_deb"), "Debito Um");
    QTest::mouseClick(dialogo->findChild<QWidget *>("bt_conf_incluir_deb"), Qt::LeftButton);
    QVERIFY(!dialogo->isVisible());
    QVERIFY(principal->isEnabled());
    QVERIFY(principal->Cartoes().Alterada());
    QCOMPARE(pagina->Modelo()->rowCount(), 2);
    QCOMPARE(pagina->Modelo()->index(0, 0).data().toString(), QStringLiteral("Debito Um"));
    // The page owns the dialog: it goes with the main window.
    delete principal;
    QVERIFY(dialogo.isNull());
}

QTEST_MAIN(TstDialogoCartao)
#include "tst_dialogo_cartao.moc"
