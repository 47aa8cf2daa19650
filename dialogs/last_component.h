#pragma once

#include <QString>

// The part of a path after its last separator: the whole text when there is
// none, empty when the path ends in one. "\" counts as a separator too, as it
// does everywhere in configuration values.
inline QString LastComponent(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}
