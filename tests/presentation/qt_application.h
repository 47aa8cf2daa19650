#pragma once

#include <QApplication>

// The one QApplication of a test program, made on first use. It is never
// destroyed: at exit its destructor would run after Qt's thread-local storage
// is gone, and unregistering the NFO font there crashes.
inline QApplication& qtApplication()
{
    static int argc = 1;
    static char name[] = "presentation_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
