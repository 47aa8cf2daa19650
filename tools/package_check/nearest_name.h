#pragma once

#include <QString>
#include <QStringList>

// The candidate closest to `name` in spelling, letter case aside (a letter
// added, dropped, changed or two swapped count one step each), when it is
// near enough to be the one meant: at most two steps, or a third of the
// name's length for long names. Empty when none is.
QString nearestName(const QString& name, const QStringList& candidates);
