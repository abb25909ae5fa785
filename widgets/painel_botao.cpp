#include "widgets/painel_botao.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A panel with a click is a button to assistive technology: its caption is its name and a press
// runs the click. A QFrame alone would show as a border with only a focus action.
class PainelAcessivel : public QAccessibleWidget {
public:
    explicit PainelAcessivel(PainelBotao *painel)
        : QAccessibleWidget(painel,
                            painel->TemClique() ? QAccessible::Button : QAccessible::StaticText) {}

    PainelBotao *Painel() const { return static_cast<PainelBotao *>(widget()); }

    QAccessible::Role role() const override {
        return Painel()->TemClique() ? QAccessible::Button : QAccessible::StaticText;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString nome = Painel()->accessibleName();
            return nome.isEmpty() ? Painel()->caption() : nome;
        }
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        QStringList acoes = QAccessibleWidget::actionNames();
        if (Painel()->TemClique() && Painel()->isEnabled())
            acoes.prepend(QAccessibleActionInterface::pressAction());
        return acoes;
    }
    void doAction(const QString &acao) override {
        if (acao == QAccessibleActionInterface::pressAction()) {
            if (Painel()->TemClique() && Painel()->isEnabled()) Painel()->Clica();
            return;
        }
        QAccessibleWidget::doAction(acao);
    }
};

QAccessibleInterface *FabricaPainel(const QString &classe, QObject *objeto) {
    if (classe == QLatin1String("PainelBotao") && objeto && objeto->isWidgetType())
        return new PainelAcessivel(static_cast<PainelBotao *>(objeto));
    return nullptr;
}

} // namespace

PainelBotao::PainelBotao(QWidget *pai) : QFrame(pai) {
    static const bool fabrica = (QAccessible::installFactory(FabricaPainel), true);
    Q_UNUSED(fabrica);
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);
}

PainelBotao::PainelBotao(const QString &caption, QWidget *pai) : PainelBotao(pai) {
    setCaption(caption);
}

void PainelBotao::setCaption(const QString &caption) {
    m_caption = caption;
    updateGeometry();
    update();
    QAccessibleEvent evento(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&evento);
}

void PainelBotao::setCor(const QColor &fundo) {
    QPalette p = palette();
    p.setColor(QPalette::Window, fundo);
    setPalette(p);
}

void PainelBotao::setCorTexto(const QColor &texto) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, texto);
    setPalette(p);
}

bool PainelBotao::TemClique() const {
    return isSignalConnected(QMetaMethod::fromSignal(&PainelBotao::clicado));
}

void PainelBotao::Clica() {
    emit clicado();
}

QSize PainelBotao::sizeHint() const {
    const QFontMetrics medida(font());
    return {medida.horizontalAdvance(m_caption) + 2 * medida.averageCharWidth() + 2 * frameWidth(),
            medida.height() + 10};
}

void PainelBotao::paintEvent(QPaintEvent *evento) {
    QFrame::paintEvent(evento);
    QPainter pintor(this);
    pintor.setPen(palette().color(QPalette::WindowText));
    pintor.setFont(font());
    pintor.drawText(contentsRect(), Qt::AlignCenter, m_caption);
}

void PainelBotao::mousePressEvent(QMouseEvent *evento) {
    if (evento->button() == Qt::LeftButton && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    QFrame::mousePressEvent(evento);
}

void PainelBotao::mouseReleaseEvent(QMouseEvent *evento) {
    QFrame::mouseReleaseEvent(evento);
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
        emit clicado();
}
