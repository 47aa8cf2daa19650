#pragma once

// The program's life once the application object exists: moves to the
// executable's folder, creates the five windows in order (each creation
// handler inside the guard), shows the main window, runs the message loop
// until Exit, then destroys every window. Answers the message loop's exit
// code.
int runInstaller();
