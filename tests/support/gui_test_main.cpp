// GUI tests start like the program: its application object and its hook for
// window messages during extraction runs.
#include "widgets/guard.h"
#include "widgets/window_messages.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    InstallWindowMessageHook();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
