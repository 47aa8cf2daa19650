#pragma once

#include <QString>

// How the desktop shows the running installer in its taskbar, window list
// and window switcher: with the package's icon (a setup.png beside setup,
// else the installer's own icon) and under the package's name, the game it
// installs. Window captions stay as they are.
void showPackageIcon();
// An empty title leaves the name the executable gives.
void nameApplicationAfter(const QString& gameTitle);
