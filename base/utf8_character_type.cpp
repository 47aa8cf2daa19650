#include "base/utf8_character_type.h"

#include <initializer_list>

namespace {

// Made once and kept for every run. The other categories are the process's
// own as they stood at the first run; the library reads none of them.
locale_t utf8CharacterType()
{
    static const locale_t locale = [] {
        for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
            const locale_t base = duplocale(LC_GLOBAL_LOCALE);
            if (base == nullptr)
                return locale_t{nullptr};
            if (const locale_t made = newlocale(LC_CTYPE_MASK, name, base); made != nullptr)
                return made;
            freelocale(base);
        }
        return locale_t{nullptr};
    }();
    return locale;
}

} // namespace

ScopedUtf8CharacterType::ScopedUtf8CharacterType()
{
    if (const locale_t locale = utf8CharacterType(); locale != nullptr)
        previous_ = uselocale(locale);
}

ScopedUtf8CharacterType::~ScopedUtf8CharacterType()
{
    if (previous_ != nullptr)
        uselocale(previous_);
}
