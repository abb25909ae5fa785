#pragma once
// Trace log <root>/config/trace.txt: each call appends the message and the line "-------".

#include <QByteArray>

// The message is Windows-1252 bytes, at most 255. Throws ErroES when the file cannot be
// created, opened, written or closed.
void GravaTrace(const QByteArray &mensagem);
// Two entries in one append, leaving the file as two calls in this order would.
void GravaTrace(const QByteArray &primeira, const QByteArray &segunda);
