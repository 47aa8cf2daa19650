#include "tools/package_check/title_check.h"

#include "tools/package_check/settings_check.h"

#include "widgets/label.h"
#include "widgets/layout_font.h"

#include <QWidget>

#include <cstdint>

namespace {

// The main window's fixed numbers, as its creation sequence uses them.
constexpr int kCreatedHeight = 180;
constexpr int kMinimumHeight = 250;
constexpr int kLineWidth = 520;
// The topmost of the labels that hold the configured values below the
// window's visible part (the install path's).
constexpr int kHiddenLabelsTop = 328;
// The smallest screen a package is made for; a taller window puts its lower
// part, and with a centred window its top, off the screen.
constexpr int kScreenHeight = 1024;

// The size of a label of the main window showing `text` in `font`.
QSize labelSize(const QString& text, const QFont& font)
{
    QWidget window;
    TAutoLabel label(&window, QPoint(8, 176), text, Qt::white);
    label.setFont(font);
    return label.size();
}

struct Layout {
    QSize title;
    int height = 0;
};

Layout layoutAt(const IniFile& ini, int points)
{
    const auto text = [&](const char* key) {
        return ini.ReadString(installerSection(), QString::fromLatin1(key));
    };
    Layout layout;
    layout.title = labelSize(text("GameTitle"), layoutFontAtPoints(points));
    layout.height = kCreatedHeight + layout.title.height();
    for (const char* line : {"InfoLine1", "InfoLine2", "InfoLine3"})
        layout.height += labelSize(text(line), layoutFont()).height();
    layout.height = qMax(layout.height, kMinimumHeight);
    return layout;
}

bool fits(const Layout& layout)
{
    return layout.title.width() <= kLineWidth && layout.height <= kHiddenLabelsTop;
}

// The largest title size up to `points` at which the window shows the title
// whole and nothing hidden; 0 when none does. Both grow with the size.
int largestFittingSize(const IniFile& ini, int points)
{
    int low = 0, high = points;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (fits(layoutAt(ini, middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

QString advice(int fitting)
{
    return fitting > 0 ? QStringLiteral("use at most %1 points").arg(fitting)
                       : QStringLiteral("shorten the title");
}

} // namespace

void checkTitle(const IniFile& ini, PackageProblems& problems)
{
    const QString sizeKey = QStringLiteral("GameTitleFontSize");
    const std::int32_t written = ini.ReadInteger(installerSection(), sizeKey, 0);
    // A negative size counts like its amount.
    const int points = written == INT32_MIN ? INT32_MAX : qAbs(written);
    const Layout layout = layoutAt(ini, points);
    if (layout.height > kScreenHeight)
        refuse(problems, sizeKey,
               QStringLiteral(
                   "a title of %1 points makes the window %2 pixels tall, more than a screen of %3")
                   .arg(points)
                   .arg(layout.height)
                   .arg(kScreenHeight));
    if (!fits(layout)) {
        const int fitting = largestFittingSize(ini, points);
        if (layout.title.width() > kLineWidth)
            warn(problems, QStringLiteral("GameTitle"),
                 QStringLiteral("at %1 points the title is %2 pixels wide and is cut at %3: %4")
                     .arg(points)
                     .arg(layout.title.width())
                     .arg(kLineWidth)
                     .arg(advice(fitting)));
        if (layout.height > kHiddenLabelsTop && layout.height <= kScreenHeight)
            warn(problems, sizeKey,
                 QStringLiteral("a title of %1 points makes the window %2 pixels tall, and "
                                "from %3 pixels down it shows the values setup keeps hidden: "
                                "%4")
                     .arg(points)
                     .arg(layout.height)
                     .arg(kHiddenLabelsTop)
                     .arg(advice(fitting)));
    }
    for (const char* line : {"InfoLine1", "InfoLine2", "InfoLine3"}) {
        const QString key = QString::fromLatin1(line);
        const int width = labelSize(ini.ReadString(installerSection(), key), layoutFont()).width();
        if (width > kLineWidth)
            warn(problems, key,
                 QStringLiteral("is %1 pixels wide and is cut at %2: shorten it")
                     .arg(width)
                     .arg(kLineWidth));
    }
}
