#include "config/integer_text.h"

#include "base/exception.h"

std::int32_t StrToInt(const QString& text, IntegerSyntax syntax)
{
    if (const auto value = StringToInt(text.toStdString(), syntax))
        return *value;
    throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

std::int32_t StrToIntDef(const QString& text, std::int32_t fallback, IntegerSyntax syntax)
{
    return StringToInt(text.toStdString(), syntax).value_or(fallback);
}
