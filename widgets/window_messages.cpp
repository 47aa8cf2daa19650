#include "widgets/window_messages.h"

#include "base/process_messages.h"

#include <QCoreApplication>

void InstallWindowMessageHook()
{
    SetProcessMessagesHook([] { QCoreApplication::processEvents(); });
}
