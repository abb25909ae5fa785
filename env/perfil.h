#pragma once
// Profile (ini) files as the Windows profile functions read and write them. Names and values are
// Windows-1252 bytes; section and key names match without regard to letter case.

#include <QByteArray>
#include <QString>

QByteArray LePerfilTexto(const QString &arquivo, const QByteArray &secao, const QByteArray &chave,
                         const QByteArray &padrao);
int LePerfilInteiro(const QString &arquivo, const QByteArray &secao, const QByteArray &chave,
                    int padrao);
// Writes one key and keeps every other byte of the file. Throws ErroES
// ("Unable to write to <file>") when the file or its directory cannot take it.
void GravaPerfilTexto(const QString &arquivo, const QByteArray &secao, const QByteArray &chave,
                      const QByteArray &valor);

// The same look-ups on bytes already read (the file readers above use them).
QByteArray PerfilTexto(const QByteArray &conteudo, const QByteArray &secao, const QByteArray &chave,
                       const QByteArray &padrao);
int PerfilInteiro(const QByteArray &conteudo, const QByteArray &secao, const QByteArray &chave,
                  int padrao);
// Decimal, or hexadecimal after "0x"; false when the text does not start with a number.
bool TextoParaInteiro(const QByteArray &texto, int &valor);
// The new contents of a profile file after writing one key.
QByteArray PerfilComChave(const QByteArray &conteudo, const QByteArray &secao,
                          const QByteArray &chave, const QByteArray &valor);
