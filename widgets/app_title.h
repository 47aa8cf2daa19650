#pragma once

#include <QString>

// The application title: the executable's file name up to its first ".",
// first letter upper case and every later letter lower case ("setup" gives
// "Setup"). Message boxes without a caption of their own use it.
QString applicationTitleFor(const QString& executablePath);
QString applicationTitle();
