#pragma once

#include <QFont>

// The NFO text's font: the DOS screen's look, a bold monospace face with the
// line and block characters, 8 pixels of character height.
QFont nfoFont();
