// The BIN entry rules on their own: verdicts of the include button, the search, the key filter.

#include "dialogs/regras_bin.h"

#include <QtTest>

Q_DECLARE_METATYPE(VereditoBin)

class TstRegrasBin : public QObject {
    Q_OBJECT
private slots:
    void inclusao_data();
    void inclusao();
    void limite();
    void procura_data();
    void procura();
    void inteiro_data();
    void inteiro();
    void filtroEHifen();
    void textoDaLista();
};

void TstRegrasBin::inclusao_data() {
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<VereditoBin>("veredito");
    QTest::addColumn<QString>("resultado"); // the entry when accepted, the message otherwise

    const QStringList vazia;
    const auto A = VereditoBin::Aceita;
    const auto R = VereditoBin::Recusa;
    QTest::newRow("bin simples") << vazia << "123456" << A << "123456";
    QTest::newRow("nove digitos e hifen") << vazia << "123456789-" << A << "123456789";
    QTest::newRow("oito digitos e hifen") << vazia << "12345678-" << R << MsgTamanhoBinSuperior;
    QTest::newRow("cinco digitos") << vazia << "12345" << R << MsgTamanhoBin;
    QTest::newRow("dez digitos") << vazia << "1234567890" << R << MsgTamanhoBin;
    QTest::newRow("vazio") << vazia << "" << R << MsgTamanhoBin;
    QTest::newRow("inferior de dez") << vazia << "0000000001-123456" << R << MsgTamanhoBin;
    QTest::newRow("inferior de cinco") << vazia << "12345-123456" << R << MsgTamanhoBin;
    QTest::newRow("superior curto") << vazia << "123456-12345" << R << MsgTamanhoBinSuperior;
    QTest::newRow("superior longo") << vazia << "123456-1234567890" << R << MsgTamanhoBinSuperior;
    QTest::newRow("intervalo invertido") << vazia << "123999-123456" << R << MsgIntervaloInvalido;
    QTest::newRow("intervalo de um") << vazia << "123456-123456" << A << "123456-123456";
    QTest::newRow("limites de tamanhos diferentes")
        << vazia << "123456-1234567" << A << "123456-1234567";
    QTest::newRow("zeros mantidos") << vazia << "000100-000200" << A << "000100-000200";
    // Bounds that are no numbers are a bad range, not a silent stop.
    QTest::newRow("superior com hifen") << vazia << "123456-12-456" << R << MsgIntervaloInvalido;
    QTest::newRow("superior com hifen final")
        << vazia << "123456-12345-" << R << MsgIntervaloInvalido;
    QTest::newRow("superior negativo") << vazia << "123456--12345" << R << MsgIntervaloInvalido;
    QTest::newRow("hifen inicial e bin simples") << vazia << "-123456" << A << "-123456";
    QTest::newRow("hifen inicial curto") << vazia << "-1234" << R << MsgTamanhoBin;

    const QStringList faixa{"123400-123500"};
    QTest::newRow("dentro da faixa") << faixa << "123450" << R << MsgBinExistente;
    QTest::newRow("limite da faixa") << faixa << "123500" << R << MsgBinExistente;
    QTest::newRow("fora da faixa") << faixa << "123501" << A << "123501";
    QTest::newRow("superior na faixa") << faixa << "123300-123450" << R << MsgBinSuperiorExistente;
    QTest::newRow("inferior na faixa") << faixa << "123450-123600" << R << MsgBinInferiorExistente;
    QTest::newRow("dois limites na faixa")
        << faixa << "123410-123420" << R << MsgBinInferiorExistente;
    QTest::newRow("faixa que envolve") << faixa << "123000-124000" << A << "123000-124000";
    QTest::newRow("zeros a esquerda contra faixa") << faixa << "0123450" << R << MsgBinExistente;
    QTest::newRow("nove e hifen dentro da faixa")
        << QStringList{"100000000-200000000"} << "150000000-" << R << MsgBinExistente;

    const QStringList simples{"123456"};
    QTest::newRow("mesmo bin") << simples << "123456" << R << MsgBinExistente;
    QTest::newRow("zero a esquerda difere") << simples << "0123456" << A << "0123456";
    QTest::newRow("faixa que envolve bin") << simples << "123400-123500" << A << "123400-123500";
    QTest::newRow("inferior igual a bin")
        << simples << "123456-123500" << R << MsgBinInferiorExistente;
    QTest::newRow("superior igual a bin")
        << simples << "123400-123456" << R << MsgBinSuperiorExistente;
    QTest::newRow("nove e hifen ja existe")
        << QStringList{"123456789"} << "123456789-" << R << MsgBinExistente;

    // An entry loaded from a table with odd BIN items covers nothing and blocks nothing.
    QTest::newRow("entrada estranha na lista")
        << QStringList{"12x456-999999", "123456-", "5-5-5"} << "123456" << A << "123456";
    QTest::newRow("entrada estranha antes da faixa")
        << QStringList{"abc-def", "123400-123500"} << "123450" << R << MsgBinExistente;
}

void TstRegrasBin::inclusao() {
    QFETCH(QStringList, lista);
    QFETCH(QString, texto);
    QFETCH(VereditoBin, veredito);
    QFETCH(QString, resultado);
    const ResultadoBin r = AvaliaInclusaoBin(lista, texto);
    QCOMPARE(r.veredito, veredito);
    if (veredito == VereditoBin::Aceita) {
        QCOMPARE(r.entrada, resultado);
        QVERIFY(r.mensagem.isEmpty());
    } else {
        QCOMPARE(r.mensagem, resultado);
    }
}

void TstRegrasBin::limite() {
    QStringList lista;
    for (int i = 0; i < 19; ++i)
        lista << QString::number(100000 + i);
    QCOMPARE(AvaliaInclusaoBin(lista, "200000").veredito, VereditoBin::Aceita);
    lista << "200000";
    // The limit comes first, whatever the text.
    for (const QString texto : {"300000", "12", ""}) {
        const ResultadoBin r = AvaliaInclusaoBin(lista, texto);
        QCOMPARE(r.veredito, VereditoBin::Limite);
        QCOMPARE(r.mensagem, QStringLiteral("Não é permitido cadastrar mais de 20 bins"));
    }
}

void TstRegrasBin::procura_data() {
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<QString>("bin");
    QTest::addColumn<bool>("coberto");
    QTest::newRow("lista vazia") << QStringList{} << "123456" << false;
    QTest::newRow("inferior incluso") << QStringList{"123400-123500"} << "123400" << true;
    QTest::newRow("superior incluso") << QStringList{"123400-123500"} << "123500" << true;
    QTest::newRow("abaixo") << QStringList{"123400-123500"} << "123399" << false;
    QTest::newRow("digitos a mais contam pelo valor")
        << QStringList{"123400-123500"} << "000123401" << true;
    QTest::newRow("texto igual") << QStringList{"0123456"} << "0123456" << true;
    QTest::newRow("texto diferente") << QStringList{"0123456"} << "123456" << false;
    QTest::newRow("hifen inicial e textual") << QStringList{"-123456"} << "-123456" << true;
    QTest::newRow("segunda entrada") << QStringList{"111111", "222222-222299"} << "222250" << true;
    QTest::newRow("limites estranhos nada cobrem")
        << QStringList{"1x-999999", "100000-"} << "100000" << false;
    QTest::newRow("alem de 32 bits nada cobre")
        << QStringList{"1-99999999999"} << "123456" << false;
    QTest::newRow("bin que nao e numero") << QStringList{"100000-999999"} << "12-456" << false;
}

void TstRegrasBin::procura() {
    QFETCH(QStringList, lista);
    QFETCH(QString, bin);
    QFETCH(bool, coberto);
    QCOMPARE(procura_bin(lista, bin), coberto);
}

void TstRegrasBin::inteiro_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("valido");
    QTest::addColumn<int>("valor");
    QTest::newRow("simples") << "123456" << true << 123456;
    QTest::newRow("zeros") << "000001" << true << 1;
    QTest::newRow("negativo") << "-123456" << true << -123456;
    QTest::newRow("maximo") << "2147483647" << true << 2147483647;
    QTest::newRow("minimo") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("estouro") << "2147483648" << false << 0;
    QTest::newRow("vazio") << "" << false << 0;
    QTest::newRow("so sinal") << "-" << false << 0;
    QTest::newRow("hifen no meio") << "12-456" << false << 0;
    QTest::newRow("espaco") << " 123" << false << 0;
}

void TstRegrasBin::inteiro() {
    QFETCH(QString, texto);
    QFETCH(bool, valido);
    QFETCH(int, valor);
    const auto r = InteiroDoBin(texto);
    QCOMPARE(r.has_value(), valido);
    if (valido) QCOMPARE(*r, valor);
}

void TstRegrasBin::filtroEHifen() {
    for (char c = '0'; c <= '9'; ++c)
        QCOMPARE(FiltraToqueBin(QChar(c)), ToqueBin::Aceito);
    QCOMPARE(FiltraToqueBin(u'-'), ToqueBin::Aceito);
    QCOMPARE(FiltraToqueBin(QChar(8)), ToqueBin::Apagar);
    for (QChar c : {QChar(13), QChar(u'a'), QChar(u' '), QChar(u'+'), QChar(22), QChar(u'é')})
        QCOMPARE(FiltraToqueBin(c), ToqueBin::Recusado);

    QVERIFY(PedeHifen("123456789", false));
    QVERIFY(!PedeHifen("123456789", true));
    QVERIFY(!PedeHifen("12345678", false));
    QVERIFY(!PedeHifen("123456789-", false));
    QVERIFY(!PedeHifen("1234-5678", false));
    QVERIFY(PedeHifen("-12345678", false)); // a hyphen only at the start leaves L empty
}

void TstRegrasBin::textoDaLista() {
    QCOMPARE(TextoDaListaBins({"123456", "222222-222299"}),
             QStringLiteral("123456;222222-222299;"));
    QCOMPARE(TextoDaListaBins({}), QString());
    QCOMPARE(ListaBinsDoTexto("123456;;222222-222299;333333"),
             (QStringList{"123456", "222222-222299", "333333"}));
    QCOMPARE(ListaBinsDoTexto(""), QStringList{});
    QCOMPARE(TiraBrancos(QStringLiteral(" \t ab c \r\n")), QStringLiteral("ab c"));
}

QTEST_GUILESS_MAIN(TstRegrasBin)
#include "tst_dialogo_regras_bin.moc"
