#pragma once

#include <QString>

// What assistive technology (a screen reader over AT-SPI) finds in the
// skinned windows: each picture button as a push button named by its hint,
// with a press action that does what a click does; each label as text. A
// window's lit twins and plain pictures are left out of its tree (the face
// stands for its twin, the header is decoration), as are the controls below
// its visible area that hold the configured values. Installed once, after the
// application object exists.
void installAccessibleInterfaces();

// A label's text as it reads: "&" before a character and "&&" drawn as one
// "&" are read as the character and one "&".
QString textAsRead(const QString& text);
