#include "tools/package_check/known_keys.h"

#include "tools/package_check/nearest_name.h"
#include "tools/package_check/settings_check.h"

const QStringList& knownKeys()
{
    static const QStringList keys = {
        QStringLiteral("GameTitle"),
        QStringLiteral("GameTitleColorBackground"),
        QStringLiteral("GameTitleColorForeground"),
        QStringLiteral("GameTitleFontSize"),
        QStringLiteral("InfoLine1"),
        QStringLiteral("InfoLine2"),
        QStringLiteral("InfoLine3"),
        QStringLiteral("InfoLine1ColorForeground"),
        QStringLiteral("InfoLine2ColorForeground"),
        QStringLiteral("InfoLine3ColorForeground"),
        QStringLiteral("RunProgram"),
        QStringLiteral("InstallPath"),
        QStringLiteral("SpaceRequired"),
        QStringLiteral("RARFile"),
        QStringLiteral("MidiFile"),
        QStringLiteral("DesktopEntry"),
    };
    return keys;
}

bool checkKeyNames(const IniFile& ini, PackageProblems& problems)
{
    const QString section = installerSection();
    const QStringList written = ini.KeyNames(section);
    if (written.isEmpty()) {
        const QStringList sections = ini.SectionNames();
        const QString nearest = nearestName(section, sections);
        refuse(
            problems, QStringLiteral("install.ini"),
            nearest.isEmpty()
                ? QStringLiteral("has no section [%1] with keys, the only one setup reads")
                      .arg(section)
                : QStringLiteral("has no section [%1]; rename [%2] to [%1]").arg(section, nearest));
        return false;
    }
    const auto isSet = [&](const QString& key) {
        return written.contains(key, Qt::CaseInsensitive);
    };
    for (const QString& key : written) {
        if (knownKeys().contains(key, Qt::CaseInsensitive))
            continue;
        const QString meant = nearestName(key, knownKeys());
        if (meant.isEmpty())
            warn(problems, key, QStringLiteral("is not a key setup reads; it is ignored"));
        else if (!isSet(meant))
            refuse(problems, key,
                   QStringLiteral("is not a key setup reads; rename it to %1, which is not set")
                       .arg(meant));
        else
            warn(problems, key,
                 QStringLiteral("is not a key setup reads (%1 is set as well); remove it")
                     .arg(meant));
    }
    return true;
}
