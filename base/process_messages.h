#pragma once

#include <functional>

// Lets the archive components hand control to the window system in the middle
// of a run (a Cancel click, a repaint). The application points the hook at its
// event processing; without a hook the call does nothing.
using ProcessMessagesHook = std::function<void()>;

void SetProcessMessagesHook(ProcessMessagesHook hook);
void ProcessMessages();
