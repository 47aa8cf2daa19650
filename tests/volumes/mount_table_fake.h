#pragma once

#include <QByteArray>
#include <QString>

// Mount-table lines in the kernel's format, for tests that put their own
// table in place.
namespace fake_mounts {

inline QByteArray line(const QString& mountPoint, const char* type, const char* source,
                       const char* options = "rw,relatime")
{
    QByteArray point = mountPoint.toUtf8();
    point.replace(" ", "\\040");
    return "25 1 8:1 / " + point + ' ' + options + " shared:1 - " + type + ' ' + source + " rw\n";
}

} // namespace fake_mounts
