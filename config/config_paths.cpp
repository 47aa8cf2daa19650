#include "config/config_paths.h"

#include "base/executable_path.h"
#include "base/path_rules.h"

#include <QStringList>

namespace {

QChar separator(PathStyle style)
{
    return QChar::fromLatin1(PathSeparator(style));
}

QString withNativeSeparators(const QString& path, PathStyle style)
{
    return QString::fromStdString(SlashToBackslash(path.toStdString(), style));
}

bool isDriveLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool hasDrive(const QString& path)
{
    return path.size() >= 2 && isDriveLetter(path[0]) && path[1] == u':';
}

QString exeFolder(const QString& exePath, PathStyle style)
{
    qsizetype cut = exePath.lastIndexOf(separator(style));
    if (style == PathStyle::Windows)
        cut = qMax(cut, exePath.lastIndexOf(u':'));
    QString folder = exePath.left(cut + 1);
    // Drop the trailing separator unless it belongs to a root ("C:\", "/", "\\").
    if (cut > 0 && exePath[cut] == separator(style) && exePath[cut - 1] != u':' &&
        exePath[cut - 1] != separator(style))
        folder.chop(1);
    return folder;
}

// root + the segments with "." and ".." resolved; ".." never climbs above root.
QString joinResolved(const QString& root, const QString& rest, PathStyle style)
{
    const QChar sep = separator(style);
    QStringList kept;
    for (const QString& segment : rest.split(sep, Qt::SkipEmptyParts)) {
        if (segment == u".")
            continue;
        if (segment == u"..") {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(segment);
    }
    QString path = root + kept.join(sep);
    if (rest.endsWith(sep) && !path.endsWith(sep))
        path += sep;
    return path;
}

// Splits a Windows path into its root (drive root, or "\\" for a network
// path) and the rest, resolving a relative or drive-relative path against
// the current directory.
QString expandWindows(const QString& value, const QString& currentDir)
{
    const QString cwd = withNativeSeparators(currentDir, PathStyle::Windows);
    if (value.startsWith(u"\\\\"))
        return joinResolved(QStringLiteral("\\\\"), value.mid(2), PathStyle::Windows);
    if (hasDrive(value)) {
        const QString root = value.left(2).toUpper() + u'\\';
        const bool sameDrive = hasDrive(cwd) && cwd[0].toUpper() == value[0].toUpper();
        if (value.size() > 2 && value[2] == u'\\')
            return joinResolved(root, value.mid(3), PathStyle::Windows);
        // "E:x" is relative to the current folder of drive E, which is only
        // known for the current drive; elsewhere it is the drive's root.
        return sameDrive ? joinResolved(root, cwd.mid(3) + u'\\' + value.mid(2), PathStyle::Windows)
                         : joinResolved(root, value.mid(2), PathStyle::Windows);
    }
    const QString cwdRoot = hasDrive(cwd) ? cwd.left(2) + u'\\' : QStringLiteral("\\");
    if (value.startsWith(u'\\'))
        return joinResolved(cwdRoot, value.mid(1), PathStyle::Windows);
    return joinResolved(cwdRoot, cwd.mid(cwdRoot.size()) + u'\\' + value, PathStyle::Windows);
}

QString expandPosix(const QString& value, const QString& currentDir, const QString& homeDir)
{
    if (value == u"~" || value.startsWith(u"~/"))
        return joinResolved(QStringLiteral("/"), homeDir + value.mid(1), PathStyle::Posix);
    if (value.startsWith(u'/'))
        return joinResolved(QStringLiteral("/"), value, PathStyle::Posix);
    return joinResolved(QStringLiteral("/"), currentDir + u'/' + value, PathStyle::Posix);
}

} // namespace

QString PathInExeFolder(const QString& name, const QString& exePath, PathStyle style)
{
    const QString folder = exeFolder(exePath, style);
    const QString file = style == PathStyle::Posix ? withNativeSeparators(name, style) : name;
    const bool isRoot = style == PathStyle::Windows ? folder.size() == 3 : folder == u"/";
    return isRoot ? folder + file : folder + separator(style) + file;
}

QString PathInExeFolder(const QString& name)
{
    return PathInExeFolder(name, QString::fromStdString(ExecutablePath()), kNativePathStyle);
}

QString ExpandPath(const QString& value, const QString& currentDir, PathStyle style,
                   const QString& homeDir)
{
    if (value.isEmpty())
        return value;
    const QString path = withNativeSeparators(value, style);
    return style == PathStyle::Windows ? expandWindows(path, currentDir)
                                       : expandPosix(path, currentDir, homeDir);
}
