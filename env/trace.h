#pragma once
// Trace log <root>/config/trace.txt: each call appends the message and the line "-------".

#include <QByteArray>

// The message is Windows-1252 bytes, at most 255. Throws ErroES when the file cannot be
// created, opened, written or closed.
void GravaTrace(const QByteArray &mensagem);
