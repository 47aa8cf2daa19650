#pragma once

class QCoreApplication;

// The keys that act (Enter, Esc, Space) act only on a fresh press. A key
// held down repeats: the window system sends its press again and again, to
// whichever window has the focus by then, so a key held to close one window
// would act in the next and the one after. Installed on the application,
// this drops the repeated presses of those keys before any window sees
// them; a text field still takes repeated spaces.
void actOnFreshKeyPressesOnly(QCoreApplication& application);
