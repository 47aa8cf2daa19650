#include "config/colour.h"

#include "config/integer_text.h"

TColor ColourFromText(const QString& value)
{
    return StrToInt(u'$' + value, kSignBeforeDollar);
}
