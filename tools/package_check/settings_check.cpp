#include "tools/package_check/settings_check.h"

#include "config/colour.h"
#include "config/integer_text.h"
#include "widgets/message_box.h"

#include <exception>

namespace {

const char* const kColourKeys[] = {
    "GameTitleColorBackground", "GameTitleColorForeground", "InfoLine1ColorForeground",
    "InfoLine2ColorForeground", "InfoLine3ColorForeground",
};

// The message setup's standard error box shows for what a conversion threw.
QString boxText(const std::exception& error)
{
    return standardErrorText(QString::fromUtf8(error.what()));
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

    const QString spaceKey = QStringLiteral("SpaceRequired");
    try {
        StrToInt(text(spaceKey), kNoSignBeforeDollar);
    } catch (const std::exception& error) {
        refuse(problems, spaceKey,
               QStringLiteral("setup shows \"%1\" at Install and opens no dialog")
                   .arg(boxText(error)));
    }
}
