#pragma once
// The styling and Enter-key routine of the main window and the card edit dialogs: called once
// by each window's creation, before its own styling.

class QWidget;

// Panels used as buttons (PainelBotao with a click handler) of the form become tab stops, show
// a flat border while hovered or focused by the operator, take the colours of their tag (1 grey,
// 2 orange; white Arial 9 bold), and Enter runs the click of one that Tab, Shift+Tab or a click
// moved the focus to. Layout panels are left alone. The form's combo boxes take the focus on a
// click and ignore the mouse wheel unless focused.
void AjustaVisual(QWidget *form);

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

// The one family of the main window and the dialogs: Arial, or its metric-compatible stand-in,
// or else the system's own font, so no window mixes families.
QString FamiliaDasJanelas();
QFont FonteDasJanelas(int pontos, bool negrito = false, bool italico = false);

// A length laid out for a 96-DPI screen, in the logical DPI of the widget's screen: the sizes of
// the windows at 100% grow with the fonts when these are set larger (Xft.dpi, QT_FONT_DPI).
// The scale factor needs nothing of this: Qt scales every length with it.
int Escala(const QWidget *w, int px);
QSize Escala(const QWidget *w, QSize tamanho);

// Whether the application's palette draws dark text on a light background: only then do the
// given text colours stay readable.
bool PaletaClara();
// Dark grey text (51, 51, 51) on a light palette; on a dark one the palette's own text colours.
void PoeTextoEscuro(QWidget *w);
// The same for a colour given for enabled text.
void PoeCorTexto(QWidget *w, const QColor &cor);

// Colours of the windows.
inline const QColor CorTextoEscuro(51, 51, 51);
inline const QColor CorPainelCinza(102, 102, 102);
inline const QColor CorPainelLaranja(255, 102, 0);
