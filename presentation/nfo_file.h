#pragma once

#include <QString>

// The most text the viewer takes: NFO files are a few kilobytes, and a cap
// keeps a stray huge file from stalling the window (bytes before the first NUL).
inline constexpr qsizetype kNfoCapacity = 256 * 1024;

// Reads an NFO file as the viewer shows it: the bytes up to the first NUL,
// line breaks unified, each other byte as its DOS glyph. Reads no more than
// the capacity allows, so a huge file costs no memory. Throws Exception
// "Cannot open file <name>" when the file cannot be opened or read, and
// "Text exceeds memo capacity" when the text is longer than `capacity`.
QString readNfoFile(const QString& fileName, qsizetype capacity = kNfoCapacity);
