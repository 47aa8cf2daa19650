#pragma once

#include <QColor>

#include <cstdint>

// A colour value in the configuration's form (0x00BBGGRR, red in the lowest
// byte; with the top bit set, the system colour numbered by the lowest byte)
// as the screen shows it; system colours come from the application's palette.
QColor ColorToQColor(std::int32_t colour);
