#include "unrar/utf8_locale.h"

namespace zk::unrar {
namespace {

locale_t utf8Locale()
{
    static const locale_t locale = [] {
        locale_t made = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        return made != nullptr ? made : newlocale(LC_CTYPE_MASK, "C.utf8", nullptr);
    }();
    return locale;
}

} // namespace

ScopedUtf8Locale::ScopedUtf8Locale()
{
    if (const locale_t locale = utf8Locale(); locale != nullptr)
        previous_ = uselocale(locale);
}

ScopedUtf8Locale::~ScopedUtf8Locale()
{
    if (previous_ != nullptr)
        uselocale(previous_);
}

} // namespace zk::unrar
