#pragma once

#include <QByteArray>
#include <QString>

// The Unicode encoding other than UTF-8 that `bytes` are in, by its byte
// order mark or, without one, by the zero bytes UTF-16 puts beside every
// ASCII letter; empty for text in UTF-8 or a single-byte code page.
QString wideEncodingName(const QByteArray& bytes);

// True when `bytes` hold characters beyond ASCII and are valid UTF-8
// throughout: text saved as UTF-8 rather than in a DOS code page.
bool isUtf8BeyondAscii(const QByteArray& bytes);
