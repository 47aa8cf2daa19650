#include "app/guard.h"
#include "app/installer_program.h"

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    // Start-up work of the program's modules belongs here, before any window
    // exists.
    return runInstaller();
}
