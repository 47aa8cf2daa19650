#include "tools/package_check/entry_checks.h"

#include "tools/package_check/nearest_name.h"

#include "app/program_launcher.h"
#include "config/integer_text.h"

#include <QDir>
#include <QRegularExpression>

#include <cmath>
#include <exception>

namespace {

constexpr double kMegabyte = 1e6;

bool isAbsolute(const QString& path)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    return path.startsWith(u'/') || path.startsWith(u'\\') || drive.match(path).hasMatch();
}

// Whether `path`, taken inside `folder` (both relative, "/" between parts),
// stays inside the folder's root at every step.
bool staysInside(const QString& folder, const QString& path)
{
    int depth = 0;
    const QStringList parts = (folder + u'/' + path).split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == u"..")
            --depth;
        else if (part != u".")
            ++depth;
        if (depth < 0)
            return false;
    }
    return true;
}

QString folderOf(const QString& name)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    return slash < 0 ? QString() : name.first(slash);
}

const ArchiveEntry* entryNamed(const ArchiveContents& contents, const QString& name)
{
    for (const ArchiveEntry& entry : contents.entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

// The entry a packager probably meant: the same name in another letter case
// or below a top folder, else the nearest spelling.
QString likelyEntry(const ArchiveContents& contents, const QString& name)
{
    QStringList files;
    for (const ArchiveEntry& entry : contents.entries) {
        if (entry.folder)
            continue;
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0 ||
            entry.name.endsWith(u'/' + name, Qt::CaseInsensitive))
            return entry.name;
        files.append(entry.name);
    }
    return nearestName(name, files);
}

QString modeText(std::uint32_t mode)
{
    return QString::number(mode, 8).rightJustified(3, u'0');
}

} // namespace

void checkEntryNames(const QString& key, const ArchiveContents& contents, PackageProblems& problems)
{
    for (const ArchiveEntry& entry : contents.entries) {
        if (isAbsolute(entry.name) || !staysInside(QString(), entry.name)) {
            refuse(problems, key,
                   QStringLiteral("the entry %1 would land outside the install folder (setup "
                                  "refuses it): pack the program's folder from inside it, with "
                                  "relative names and no ..")
                       .arg(entry.name));
            continue;
        }
        if (!entry.link && !entry.reference)
            continue;
        const QString kind = entry.link ? QStringLiteral("link") : QStringLiteral("reference");
        if (entry.linkTarget.isEmpty())
            refuse(problems, key,
                   QStringLiteral("the RAR library does not write the link %1: it refuses a link "
                                  "whose target is absolute or leaves the install folder")
                       .arg(entry.name));
        else if (isAbsolute(entry.linkTarget) ||
                 !staysInside(entry.reference ? QString() : folderOf(entry.name),
                              QString(entry.linkTarget).replace(u'\\', u'/')))
            refuse(problems, key,
                   QStringLiteral("the %1 %2 -> %3 leads outside the install folder (setup "
                                  "refuses it): make it relative, to a file inside the program's "
                                  "folder")
                       .arg(kind, entry.name, entry.linkTarget));
    }
}

void checkRunProgram(const QString& key, const QString& command, const ArchiveContents& contents,
                     PackageProblems& problems)
{
    // The program as setup starts it, joined to a stand-in install folder.
    const QString folder = QStringLiteral("/install");
    const auto request = launchRequestFor(folder, command);
    if (!request)
        return;
    const QString name = request->program.mid(folder.size() + 1);
    if (isAbsolute(name) || !staysInside(QString(), name)) {
        refuse(problems, key,
               QStringLiteral("%1 is not inside the install folder; name the program relative "
                              "to it")
                   .arg(name));
        return;
    }
    const QString stored = QStringList(name.split(u'/', Qt::SkipEmptyParts)).join(u'/');
    const ArchiveEntry* entry = entryNamed(contents, stored);
    // A link in the archive is followed once, to the file it names.
    QString shown = stored;
    if (entry && entry->link && !entry->linkTarget.isEmpty()) {
        const QString folder = folderOf(entry->name);
        const QString target = QDir::cleanPath(
            folder.isEmpty() ? entry->linkTarget : folder + u'/' + entry->linkTarget);
        if (const ArchiveEntry* file = entryNamed(contents, target)) {
            entry = file;
            shown = QStringLiteral("%1 (a link to %2)").arg(stored, target);
        }
    }
    if (!entry) {
        const QString meant = likelyEntry(contents, stored);
        refuse(problems, key,
               meant.isEmpty()
                   ? QStringLiteral("%1 is not in the archive: setup says the program is "
                                    "installed and starts nothing")
                         .arg(stored)
                   : QStringLiteral("%1 is not in the archive, but %2 is: write %3=%2")
                         .arg(stored, meant, key));
        return;
    }
    if (entry->folder) {
        refuse(problems, key, QStringLiteral("%1 is a folder, not a program").arg(stored));
        return;
    }
    if (entry->link)
        return; // its target is not in the archive: nothing more to judge
    if (!entry->unixMode)
        refuse(problems, key,
               QStringLiteral("the archive was not made on Unix and keeps no execute bits, so "
                              "%1 is installed without one and does not start: pack the archive "
                              "on Linux, with %1 executable")
                   .arg(stored));
    else if ((*entry->unixMode & 0111) == 0)
        refuse(problems, key,
               QStringLiteral("%1 has mode %2 in the archive, without an execute bit, so it "
                              "does not start: chmod +x it and pack the archive again")
                   .arg(shown, modeText(*entry->unixMode)));
}

void checkSpaceRequired(const QString& key, const QString& megabytes,
                        const ArchiveContents& contents, PackageProblems& problems)
{
    std::int32_t given = 0;
    try {
        given = StrToInt(megabytes, kNoSignBeforeDollar);
    } catch (const std::exception&) {
        return; // the settings check names it
    }
    const double needed = double(contents.unpackedBytes);
    if (double(given) * kMegabyte >= needed)
        return;
    refuse(problems, key,
           QStringLiteral("%1 MB is less than the %2 MB the archive unpacks to, so setup would "
                          "begin an install the disk may not hold: write %3=%4 or more")
               .arg(given)
               .arg(needed / kMegabyte, 0, 'f', 1)
               .arg(key)
               .arg(qint64(std::ceil(needed / kMegabyte))));
}
