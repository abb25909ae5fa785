#pragma once
// The logo of the main window: a JPEG embedded as a resource, read with Qt's own JPEG plugin.

#include <QByteArray>
#include <QImage>

// Decodes JPEG bytes into an image. Damaged, truncated or foreign bytes give a null image: a
// broken picture is refused whole, never shown half grey, and never ends the program.
QImage DecodificaJpeg(const QByteArray &bytes);

// The embedded logo (105 x 72), decoded; null if the resource is missing or damaged.
QImage LogoPrincipal();
