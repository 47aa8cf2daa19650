// GUI tests start like the program: its application object, its hook for
// window messages during extraction runs, what screen readers read, keys
// that act on fresh presses only and modal windows kept in front.
#include "widgets/accessibility.h"
#include "widgets/application_events.h"
#include "widgets/guard.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    InstallWindowMessageHook();
    installAccessibleInterfaces();
    actOnFreshKeyPressesOnly(app);
    keepModalWindowsInFront(app);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
