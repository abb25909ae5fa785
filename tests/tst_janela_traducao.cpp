// Qt's own texts in Portuguese: the buttons of a real question box and the labels of the real
// file dialog, as the program loads them whatever the locale.

#include "app/inicio.h"
#include "widgets/caixas.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace {
// The texts of the modal window that `abre` opens, read while it is up; then `fecha` closes it.
template <typename Abre, typename Fecha>
QStringList TextosDaJanela(Abre abre, Fecha fecha, bool botoes) {
    QStringList textos;
    QTimer::singleShot(0, [&] {
        QWidget *janela = QApplication::activeModalWidget();
        if (!janela) return;
        if (botoes) {
            for (QAbstractButton *b : janela->findChild<QDialogButtonBox *>()->buttons())
                textos << b->text();
        } else {
            for (QLabel *l : janela->findChildren<QLabel *>())
                if (!l->text().isEmpty()) textos << l->text();
        }
        fecha(janela);
    });
    abre();
    return textos;
}
} // namespace

class TstJanelaTraducao : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qputenv("LANG", "C.UTF-8");
        QVERIFY(CarregaTraducaoQt());
    }

    void botoes_data() {
        QTest::addColumn<int>("botoes");
        QTest::addColumn<QStringList>("textos");
        QTest::newRow("Sim Não Cancelar")
            << int(Botoes::SimNaoCancelar) << QStringList{"&Sim", "&Não", "Cancelar"};
        QTest::newRow("Sim Não") << int(Botoes::SimNao) << QStringList{"&Sim", "&Não"};
        QTest::newRow("OK") << int(Botoes::Ok) << QStringList{"OK"};
    }
    void botoes() {
        QFETCH(int, botoes);
        QFETCH(QStringList, textos);
        Resposta resposta = Resposta::Sim;
        const QStringList vistos = TextosDaJanela(
            [&] {
                resposta =
                    Caixas().Mensagem(nullptr, QStringLiteral("Deseja gravar a configuração ? "),
                                      TituloConfigurador, Icone::Pergunta, Botoes(botoes));
            },
            [](QWidget *w) { static_cast<QMessageBox *>(w)->reject(); }, true);
        QStringList ordenados = vistos, esperados = textos;
        ordenados.sort();
        esperados.sort();
        QCOMPARE(ordenados, esperados);
        if (Botoes(botoes) == Botoes::SimNaoCancelar) QCOMPARE(resposta, Resposta::Cancelar);
        QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
                QApplication::activeModalWidget() == nullptr);
    }

    void dialogoDeArquivo() {
        const QStringList rotulos = TextosDaJanela(
            [] { QCOMPARE(Caixas().AbreArquivo(nullptr, QStringLiteral("Importar")), QString()); },
            [](QWidget *w) { static_cast<QDialog *>(w)->reject(); }, false);
        QVERIFY2(rotulos.contains(QStringLiteral("Procurar em:")), qPrintable(rotulos.join('|')));
        QVERIFY2(rotulos.contains(QStringLiteral("&Nome do arquivo:")),
                 qPrintable(rotulos.join('|')));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(TstJanelaTraducao)
#include "tst_janela_traducao.moc"
