#include "widgets/window_messages.h"

#include "archive/process_messages.h"

#include <QCoreApplication>

void InstallWindowMessageHook()
{
    SetProcessMessagesHook([] { QCoreApplication::processEvents(); });
}
