#pragma once

#include <QApplication>

// The one QApplication of a test program, made on first use.
inline QApplication& qtApplication()
{
    static int argc = 1;
    static char name[] = "presentation_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
