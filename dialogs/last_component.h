#pragma once

#include <QString>

#include <algorithm>

// The part of a path after its last separator: the whole text when there is
// none, empty when the path ends in one. "\" counts as a separator too, as it
// does everywhere in configuration values, and so does the colon after a
// drive letter ("C:" names no folder).
inline QString LastComponent(const QString& path)
{
    const qsizetype cut =
        std::max({path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'), path.lastIndexOf(u':')});
    return path.mid(cut + 1);
}
