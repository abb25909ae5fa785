#pragma once
// A panel used as a button: a centred caption on a coloured background, a tag that picks its
// colours (AjustaVisual), and a click signal. It takes the focus only once AjustaVisual made it a
// tab stop.

#include <QFrame>
#include <QString>

class PainelBotao : public QFrame {
    Q_OBJECT
public:
    explicit PainelBotao(QWidget *pai = nullptr);
    PainelBotao(const QString &caption, QWidget *pai = nullptr);

    void setCaption(const QString &caption);
    QString caption() const { return m_caption; }
    void setTag(int tag) { m_tag = tag; }
    int tag() const { return m_tag; }
    void setCor(const QColor &fundo);
    void setCorTexto(const QColor &texto);

    // True when something is connected to clicado: only such panels are buttons.
    bool TemClique() const;
    // Runs the click as a left click would.
    void Clica();

    // Room for the caption in the panel's font; the window sets the size it has at 100%.
    QSize sizeHint() const override;

signals:
    void clicado();

protected:
    void paintEvent(QPaintEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;

private:
    QString m_caption;
    int m_tag = 0;
};
