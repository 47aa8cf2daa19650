#include "base/process_messages.h"

#include <utility>

namespace {
ProcessMessagesHook& hook()
{
    static ProcessMessagesHook instance;
    return instance;
}
} // namespace

void SetProcessMessagesHook(ProcessMessagesHook newHook)
{
    hook() = std::move(newHook);
}

void ProcessMessages()
{
    if (hook())
        hook()();
}
