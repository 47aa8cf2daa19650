#include "widgets/accessibility.h"
#include "widgets/application_events.h"
#include "widgets/guard.h"

#include <gtest/gtest.h>

// The dialogs' handlers run inside the application's guard, and extraction
// runs process window messages, as in the program; screen readers, keys and
// modal windows are served as there.
int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    InstallWindowMessageHook();
    installAccessibleInterfaces();
    actOnFreshKeyPressesOnly(app);
    keepModalWindowsInFront(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
