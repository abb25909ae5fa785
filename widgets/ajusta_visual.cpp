#include "widgets/ajusta_visual.h"

#include "widgets/painel_botao.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace {

// One per form: sees the panels' events before they do.
class FiltroPaineis : public QObject {
public:
    explicit FiltroPaineis(QObject *pai) : QObject(pai) {}

    bool eventFilter(QObject *objeto, QEvent *evento) override {
        auto *painel = qobject_cast<PainelBotao *>(objeto);
        if (!painel) return false;
        switch (evento->type()) {
        case QEvent::Enter:
        case QEvent::FocusIn:
            painel->setFrameStyle(QFrame::Panel | QFrame::Plain);
            painel->setLineWidth(1);
            break;
        case QEvent::Leave:
            // A focused panel keeps its border until it loses the focus.
            if (!painel->hasFocus()) painel->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::FocusOut:
            if (!painel->underMouse()) painel->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::KeyPress: {
            auto *tecla = static_cast<QKeyEvent *>(evento);
            if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) &&
                painel->TemClique()) {
                // The key still reaches the panel, which does nothing with it.
                QPointer<PainelBotao> vivo(painel);
                painel->Clica();
                return vivo.isNull();
            }
            break;
        }
        default:
            break;
        }
        return false;
    }
};

} // namespace

void AjustaVisual(QWidget *form) {
    auto *filtro = new FiltroPaineis(form);
    const auto paineis = form->findChildren<PainelBotao *>();
    for (PainelBotao *painel : paineis) {
        // Panels of another top-level window owned by this one belong to that window.
        if (painel->window() != form || !painel->TemClique()) continue;
        painel->setFocusPolicy(Qt::StrongFocus);
        painel->installEventFilter(filtro);
        if (painel->tag() == 1 || painel->tag() == 2) {
            painel->setCor(painel->tag() == 1 ? CorPainelCinza : CorPainelLaranja);
            painel->setCorTexto(Qt::white);
            QFont fonte(QStringLiteral("Arial"));
            fonte.setPointSize(9);
            fonte.setBold(true);
            fonte.setItalic(false);
            painel->setFont(fonte);
        }
    }
}
