#include "widgets/guard.h"

#include <gtest/gtest.h>

// The dialogs' handlers run inside the application's guard, as in the program.
int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
