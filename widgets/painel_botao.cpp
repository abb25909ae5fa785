#include "widgets/painel_botao.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

PainelBotao::PainelBotao(QWidget *pai) : QFrame(pai) {
    setAutoFillBackground(true);
    setFrameShape(QFrame::NoFrame);
}

PainelBotao::PainelBotao(const QString &caption, QWidget *pai) : PainelBotao(pai) {
    setCaption(caption);
}

void PainelBotao::setCaption(const QString &caption) {
    m_caption = caption;
    setAccessibleName(caption);
    update();
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
