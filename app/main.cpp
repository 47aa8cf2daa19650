#include "widgets/bundled_fonts.h"
#include "widgets/guard.h"
#include "widgets/window_messages.h"
#include "app/installer_program.h"
#include "archive/rar_library.h"
#include "base/executable_path.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    // Start-up work of the program's modules belongs here, before any window
    // exists.
    InstallWindowMessageHook();
    registerBundledFonts(QString::fromStdString(ExecutableFolder()));
    RarLibraryBinding rarLibrary(DefaultRarLibraryLocation(ExecutableFolder()));
    return runInstaller();
}
