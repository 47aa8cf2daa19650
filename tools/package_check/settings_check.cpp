#include "tools/package_check/settings_check.h"

#include "config/colour.h"
#include "config/integer_text.h"
#include "widgets/label.h"
#include "widgets/layout_font.h"
#include "widgets/message_box.h"

#include <QWidget>

#include <exception>
#include <optional>

namespace {

// The main window's fixed numbers, as its creation sequence uses them.
constexpr int kCreatedHeight = 180;
constexpr int kMinimumHeight = 250;
// The smallest screen a package is made for; a taller window puts its lower
// part, and with a centred window its top, off the screen.
constexpr int kScreenHeight = 1024;

const char* const kColourKeys[] = {
    "GameTitleColorBackground", "GameTitleColorForeground", "InfoLine1ColorForeground",
    "InfoLine2ColorForeground", "InfoLine3ColorForeground",
};

// The message setup's standard error box shows for what a conversion threw.
QString boxText(const std::exception& error)
{
    return standardErrorText(QString::fromUtf8(error.what()));
}

// The height of a label of the main window showing `text` in `font`.
int labelHeight(const QString& text, const QFont& font)
{
    QWidget window;
    TAutoLabel label(&window, QPoint(8, 176), text, Qt::white);
    label.setFont(font);
    return label.height();
}

} // namespace

QString installerSection()
{
    return QStringLiteral("zenkor Installer");
}

void checkSettings(const IniFile& ini, PackageProblems& problems)
{
    const auto text = [&](const QString& key) { return ini.ReadString(installerSection(), key); };

    // Setup stops setting up its window at the first of these; each is named,
    // so one run of the tool finds them all.
    for (const char* name : kColourKeys) {
        const QString key = QString::fromLatin1(name);
        try {
            ColourFromText(text(key));
        } catch (const std::exception& error) {
            refuse(problems, key,
                   QStringLiteral("setup shows \"%1\" and stops setting up its window there")
                       .arg(boxText(error)));
        }
    }

    const QString sizeKey = QStringLiteral("GameTitleFontSize");
    const QString sizeText = text(sizeKey);
    const std::int32_t points = ini.ReadInteger(installerSection(), sizeKey, 0);
    // A value that does not convert reads as either fallback; a real 0 does not.
    if (!sizeText.isEmpty() && points == 0 && ini.ReadInteger(installerSection(), sizeKey, 1) == 1)
        warn(problems, sizeKey,
             QStringLiteral("'%1' is not a number; the title takes the normal size").arg(sizeText));
    int height =
        kCreatedHeight + labelHeight(text(QStringLiteral("GameTitle")), layoutFontAtPoints(points));
    for (const char* line : {"InfoLine1", "InfoLine2", "InfoLine3"})
        height += labelHeight(text(QString::fromLatin1(line)), layoutFont());
    height = qMax(height, kMinimumHeight);
    if (height > kScreenHeight)
        refuse(problems, sizeKey,
               QStringLiteral(
                   "a title of %1 points makes the window %2 pixels tall, more than a screen of %3")
                   .arg(points)
                   .arg(height)
                   .arg(kScreenHeight));

    const QString spaceKey = QStringLiteral("SpaceRequired");
    try {
        StrToInt(text(spaceKey), kNoSignBeforeDollar);
    } catch (const std::exception& error) {
        refuse(problems, spaceKey,
               QStringLiteral("setup shows \"%1\" at Install and opens no dialog")
                   .arg(boxText(error)));
    }
}
