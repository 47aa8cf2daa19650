#include "widgets/guard.h"
#include "widgets/window_messages.h"

#include <gtest/gtest.h>

// The dialogs' handlers run inside the application's guard, and extraction
// runs process window messages, as in the program.
int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    InstallWindowMessageHook();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
