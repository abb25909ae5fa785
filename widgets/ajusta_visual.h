#pragma once
// The styling and Enter-key routine of the main window and the card edit dialogs: called once
// by each window's creation, before its own styling.

class QWidget;

// Panels used as buttons (PainelBotao with a click handler) of the form become tab stops, show
// a flat border while hovered or focused, take the colours of their tag (1 grey, 2 orange; white
// Arial 9 bold), and Enter on a focused one runs its click. Layout panels are left alone.
void AjustaVisual(QWidget *form);

// Colours of the windows.
#include <QColor>
inline const QColor CorTextoEscuro(51, 51, 51);
inline const QColor CorPainelCinza(102, 102, 102);
inline const QColor CorPainelLaranja(255, 102, 0);
