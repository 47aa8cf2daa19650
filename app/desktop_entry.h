#pragma once

#include "app/program_launcher.h"

#include <QString>

// A menu entry for the installed program, written when the package asks for
// one (DesktopEntry=1): a freedesktop desktop entry in the user's
// applications folder that starts the program as setup does, in its own
// folder, with setup.png beside setup (the window's icon) as its icon.

// The Exec value for `launch`: every word in double quotes, with the
// characters the entry format reserves escaped.
QString DesktopExecValue(const LaunchRequest& launch);

// The entry's text. `title` is the main window's title line, whose "&" marks
// are dropped; `iconPath` may be empty.
QString DesktopEntryText(const QString& title, const LaunchRequest& launch,
                         const QString& iconPath);

// The entry's file name without ".desktop", made from the title (or the
// program's name when the title has no letters or digits).
QString DesktopEntryId(const QString& title, const LaunchRequest& launch);

// Writes the entry into `dataHome`/applications and copies `iconSource`, when
// it exists, to `dataHome`/icons; answers the path that could not be written,
// or empty when all went well.
QString WriteDesktopEntry(const QString& dataHome, const QString& title,
                          const LaunchRequest& launch, const QString& iconSource);
