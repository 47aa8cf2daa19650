#include "volumes/mount_table.h"

#include <QFile>
#include <QList>

namespace {

QByteArray readProcMountInfo()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    // A proc file reports no size, so it is read to its end in one go.
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

MountInfoSource& mountInfoSource()
{
    static MountInfoSource current = readProcMountInfo;
    return current;
}

// The table writes blank, tab, newline and backslash as octal escapes.
QString unescape(const QByteArray& field)
{
    QByteArray plain;
    plain.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) {
            return at < field.size() && field[at] >= '0' && field[at] <= '7';
        };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            plain += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                          (field[i + 3] - '0'));
            i += 3;
        } else {
            plain += field[i];
        }
    }
    return QFile::decodeName(plain);
}

bool holds(const QString& mountPoint, const QString& folder)
{
    if (mountPoint == QLatin1String("/"))
        return folder.startsWith(u'/');
    return folder == mountPoint ||
           (folder.startsWith(mountPoint) && folder.at(mountPoint.size()) == u'/');
}

} // namespace

std::vector<Mount> ParseMountInfo(const QByteArray& text)
{
    // id parent major:minor root mount-point options [optional...] - type source super-options
    std::vector<Mount> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf(QByteArray("-"));
        if (separator < 6 || fields.size() < separator + 3)
            continue;
        mounts.push_back({unescape(fields[4]), unescape(fields[separator + 1]),
                          unescape(fields[separator + 2])});
    }
    return mounts;
}

void SetMountInfoSource(MountInfoSource source)
{
    mountInfoSource() = source ? std::move(source) : MountInfoSource(readProcMountInfo);
}

std::vector<Mount> CurrentMounts()
{
    return ParseMountInfo(mountInfoSource()());
}

const Mount* MountOf(const std::vector<Mount>& mounts, const QString& folder)
{
    const Mount* found = nullptr;
    for (const Mount& mount : mounts) {
        if (holds(mount.mountPoint, folder) &&
            (!found || mount.mountPoint.size() >= found->mountPoint.size()))
            found = &mount;
    }
    return found;
}
