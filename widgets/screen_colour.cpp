#include "widgets/screen_colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The platform's system colour numbers, as far as the palette has a match.
QColor systemColour(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 1:  // desktop
    case 12: // application work space
        return palette.color(QPalette::Dark);
    case 2:  // active caption
    case 13: // highlight
    case 26: // hot-tracked item
    case 27:
    case 29:
        return palette.color(QPalette::Highlight);
    case 5: // window
        return palette.color(QPalette::Base);
    case 6:  // window frame
    case 21: // 3D dark shadow
        return palette.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return palette.color(QPalette::Text);
    case 9:  // caption text
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 16: // button shadow
        return palette.color(QPalette::Mid);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 22: // 3D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    case 0:  // scroll bar
    case 3:  // inactive caption
    case 4:  // menu
    case 10: // active border
    case 11: // inactive border
    case 15: // button face
    case 19: // inactive caption text
    case 28:
    case 30: // menu bar
        return palette.color(QPalette::Button);
    default: // not a system colour: the platform answers black
        return Qt::black;
    }
}

} // namespace

QColor ColorToQColor(std::int32_t colour)
{
    const auto bits = static_cast<std::uint32_t>(colour);
    if (bits & 0x80000000u)
        return systemColour(int(bits & 0xFFu));
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}
