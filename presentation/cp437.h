#pragma once

#include <QByteArrayView>
#include <QString>

// The DOS character set: the glyph each byte stands for in code page 437,
// control codes included (1 is a smiling face, 26 an arrow, 127 a house).
char16_t cp437Glyph(unsigned char byte);

// A DOS text as the NFO viewer shows it: CR, LF and CR LF become line breaks,
// a tab stays a tab and every other byte becomes its code page 437 glyph.
// The caller cuts the text at its first NUL.
QString dosTextToUnicode(QByteArrayView text);
