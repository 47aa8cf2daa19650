#include "widgets/layout_font.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kDefaultPixels = 11;
// Larger than any screen; keeps glyph rendering bounded.
constexpr long long kMaxPixels = 1000;
// The design font's line and letter height in pixels.
constexpr int kDesignLine = 13;
} // namespace

QFont layoutFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kDefaultPixels);
    return font;
}

QFont layoutFontAtPoints(int points)
{
    QFont font = layoutFont();
    if (points == 0)
        return font;
    const long long amount = std::llabs(static_cast<long long>(points));
    // Rounded as the platform rounds point sizes into pixel heights.
    const long long pixels = (amount * 96 + 36) / 72;
    font.setPixelSize(int(pixels < kMaxPixels ? pixels : kMaxPixels));
    return font;
}

int layoutLineHeight(const QFont& font)
{
    const int pixels = QFontInfo(font).pixelSize();
    return std::max(QFontMetrics(font).height(),
                    (pixels * kDesignLine + kDefaultPixels / 2) / kDefaultPixels);
}
