#pragma once

#include <locale.h>

namespace zk::unrar {

// Makes the calling thread use a UTF-8 character type while it lives, so that
// libarchive hands out names in UTF-8 whatever locale the host program set.
class ScopedUtf8Locale {
public:
    ScopedUtf8Locale();
    ~ScopedUtf8Locale();
    ScopedUtf8Locale(const ScopedUtf8Locale&) = delete;
    ScopedUtf8Locale& operator=(const ScopedUtf8Locale&) = delete;

private:
    locale_t previous_ = nullptr;
};

} // namespace zk::unrar
