#include "widgets/accessibility.h"
#include "widgets/application_events.h"
#include "widgets/folder_assets.h"
#include "widgets/guard.h"
#include "app/installer_instance.h"
#include "app/installer_program.h"
#include "app/package_identity.h"
#include "archive/engine/rar_library.h"
#include "base/executable_path.h"
#include "base/local_time_zone.h"

int main(int argc, char** argv)
{
    PinLocalTimeZone();
    GuardedApplication app(argc, argv);
    const QString folder = QString::fromStdString(ExecutableFolder());
    // A second start of the same installer brings the first one forward.
    const InstallerInstance instance(folder, bringInstallerToFront);
    if (instance.anotherIsRunning())
        return 0;
    // Start-up work of the program's modules belongs here, before any window
    // exists.
    InstallWindowMessageHook();
    registerBundledFonts(folder);
    installAccessibleInterfaces();
    actOnFreshKeyPressesOnly(app);
    keepModalWindowsInFront(app);
    showPackageIcon();
    RarLibraryBinding rarLibrary(DefaultRarLibraryLocation(ExecutableFolder()));
    return runInstaller();
}
