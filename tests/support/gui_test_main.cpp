// GUI tests need the application object the program itself uses.
#include "widgets/guard.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
