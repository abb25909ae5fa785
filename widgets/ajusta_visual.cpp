#include "widgets/ajusta_visual.h"

#include "widgets/painel_botao.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <algorithm>

namespace {

// Whether a focus change is the operator's choice of a panel. Being handed the focus by the
// window's activation (the first control of a window just opened) or a popup is no choice.
bool FocoEscolhido(Qt::FocusReason razao) {
    switch (razao) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

// One per form: sees the panels' events before they do.
class FiltroPaineis : public QObject {
public:
    explicit FiltroPaineis(QObject *pai) : QObject(pai) {}

    bool eventFilter(QObject *objeto, QEvent *evento) override {
        if (auto *combo = qobject_cast<QComboBox *>(objeto)) {
            // A wheel turned over a list the operator is not in scrolls what is under it.
            if (evento->type() == QEvent::Wheel && !combo->hasFocus()) {
                evento->ignore();
                return true;
            }
            return false;
        }
        auto *painel = qobject_cast<PainelBotao *>(objeto);
        if (!painel) return false;
        switch (evento->type()) {
        case QEvent::Enter:
            painel->setFrameStyle(QFrame::Panel | QFrame::Plain);
            painel->setLineWidth(1);
            break;
        case QEvent::FocusIn:
            // The window coming back keeps the choice made before it went.
            if (FocoEscolhido(static_cast<QFocusEvent *>(evento)->reason()))
                m_escolhidos.insert(painel);
            if (m_escolhidos.contains(painel)) {
                painel->setFrameStyle(QFrame::Panel | QFrame::Plain);
                painel->setLineWidth(1);
            }
            break;
        case QEvent::Leave:
            // A focused panel keeps its border until it loses the focus.
            if (!painel->hasFocus() || !m_escolhidos.contains(painel))
                painel->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::FocusOut:
            if (FocoEscolhido(static_cast<QFocusEvent *>(evento)->reason()))
                m_escolhidos.remove(painel);
            if (!painel->underMouse()) painel->setFrameStyle(QFrame::NoFrame);
            break;
        case QEvent::KeyPress: {
            auto *tecla = static_cast<QKeyEvent *>(evento);
            // Only on a panel the operator moved to: a key never acts on one that merely
            // received the focus.
            if ((tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) &&
                painel->TemClique() && m_escolhidos.contains(painel)) {
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

private:
    QSet<const QObject *> m_escolhidos;
};

} // namespace

QString FamiliaDasJanelas() {
    static const QString familia = [] {
        const QStringList instaladas = QFontDatabase::families();
        for (const char *nome : {"Arial", "Liberation Sans", "Arimo"})
            if (instaladas.contains(QLatin1String(nome), Qt::CaseInsensitive))
                return QString::fromLatin1(nome);
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return familia;
}

QFont FonteDasJanelas(int pontos, bool negrito, bool italico) {
    QFont fonte(FamiliaDasJanelas());
    fonte.setPointSize(pontos);
    fonte.setBold(negrito);
    fonte.setItalic(italico);
    return fonte;
}

int Escala(const QWidget *w, int px) {
    return std::max(px, qRound(px * w->logicalDpiY() / 96.0));
}

QSize Escala(const QWidget *w, QSize tamanho) {
    return {Escala(w, tamanho.width()), Escala(w, tamanho.height())};
}

bool PaletaClara() {
    const QPalette p = QApplication::palette();
    return p.color(QPalette::Window).lightness() >= p.color(QPalette::WindowText).lightness();
}

void PoeCorTexto(QWidget *w, const QColor &cor) {
    QPalette q = w->palette();
    const QPalette base = QApplication::palette(w);
    const bool clara = PaletaClara();
    // A disabled control keeps the system's grey text.
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        q.setColor(g, QPalette::WindowText, clara ? cor : base.color(g, QPalette::WindowText));
        q.setColor(g, QPalette::Text, clara ? cor : base.color(g, QPalette::Text));
    }
    w->setPalette(q);
}

void PoeTextoEscuro(QWidget *w) {
    PoeCorTexto(w, CorTextoEscuro);
}

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
            painel->setFont(FonteDasJanelas(9, true));
        }
    }
    // Lists change only when the operator is in them: opened, or keyed once focused.
    for (QComboBox *combo : form->findChildren<QComboBox *>()) {
        if (combo->window() != form) continue;
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(filtro);
    }
}
