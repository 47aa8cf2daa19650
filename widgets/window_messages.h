#pragma once

// Points the archive component's message hook at Qt's event processing, so
// windows repaint and take Cancel clicks in the middle of an extraction run.
// Installed once at program start, after the application object exists.
void InstallWindowMessageHook();
