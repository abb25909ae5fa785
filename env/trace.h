#pragma once
// Trace log <root>/config/trace.txt: each call appends the message and the line "-------".

#include <QByteArray>
#include <QString>

// The message is Windows-1252 bytes, at most 255. Throws ErroES when the file cannot be
// created, opened, written or closed.
void GravaTrace(const QByteArray &mensagem);
// Two entries in one append, leaving the file as two calls in this order would.
void GravaTrace(const QByteArray &primeira, const QByteArray &segunda);

// A write refused (outside the installation, a lock not had): told on standard error and in the
// trace, whose own failure is left to standard error.
void RecusaGravacao(const QString &motivo);
