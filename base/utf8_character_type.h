#pragma once

#include <locale.h>

// The RAR libraries (the public one, and libarchive under the own one) turn
// entry names between bytes and wide characters through the calling thread's
// character type. Under a locale without UTF-8 (LC_ALL=C in a bare session,
// cron, env -i) they would cut or merge names, so a run holds a UTF-8
// character type on its thread while it lives and gives back the one it
// found. Only LC_CTYPE changes, and only for this thread.
class ScopedUtf8CharacterType {
public:
    ScopedUtf8CharacterType();
    ~ScopedUtf8CharacterType();
    ScopedUtf8CharacterType(const ScopedUtf8CharacterType&) = delete;
    ScopedUtf8CharacterType& operator=(const ScopedUtf8CharacterType&) = delete;

private:
    locale_t previous_ = nullptr;
};
