#include "app/bundled_fonts.h"
#include "app/guard.h"
#include "app/installer_program.h"
#include "archive/rar_library.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    // Start-up work of the program's modules belongs here, before any window
    // exists.
    registerBundledFonts(QString::fromStdString(ExecutableFolder()));
    RarLibraryBinding rarLibrary(DefaultRarLibraryLocation(ExecutableFolder()));
    return runInstaller();
}
