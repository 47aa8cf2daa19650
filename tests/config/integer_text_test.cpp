#include "config/integer_text.h"
#include "base/exception.h"

#include <gtest/gtest.h>

namespace {

struct Accepted {
    const char* text;
    int32_t value;
};

// Sizes for the install: "$" only without a sign.
class UnsignedHexAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(UnsignedHexAccepts, GivesTheNumber)
{
    EXPECT_EQ(StrToInt(QString::fromLatin1(GetParam().text), kNoSignBeforeDollar),
              GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, UnsignedHexAccepts,
                         ::testing::Values(Accepted{"650", 650}, Accepted{"  0650", 650},
                                           Accepted{"+7", 7}, Accepted{"-12", -12},
                                           Accepted{"0", 0}, Accepted{"2147483647", INT32_MAX},
                                           Accepted{"-2147483648", INT32_MIN}, Accepted{"$1F", 31},
                                           Accepted{"$ff", 255}, Accepted{" $00000010", 16},
                                           Accepted{"$FFFFFFFF", -1},
                                           Accepted{"$80000000", INT32_MIN}));

class UnsignedHexRefuses : public ::testing::TestWithParam<const char*> {};

TEST_P(UnsignedHexRefuses, RaisesTheConversionErrorNamingTheText)
{
    const QString text = QString::fromLatin1(GetParam());
    try {
        StrToInt(text, kNoSignBeforeDollar);
        FAIL() << "accepted " << GetParam();
    } catch (const Exception& error) {
        EXPECT_EQ(QString::fromStdString(error.Message()),
                  QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, UnsignedHexRefuses,
                         ::testing::Values("", " ", "650 MB", "650 ", "\t650", "+", "-", "$",
                                           "+$10", "-$10", "$G", "12a", "2147483648", "-2147483649",
                                           "$100000000", "1.5", "1e3", "99999999999999999999"));

// The configuration's integers: a sign may stand before "$", which still fills 32 bits.
TEST(SignedHexBits, SignAppliesToTheBitPattern)
{
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"-$10", -16},
        {"+$10", 16},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
        {"-$80000000", INT32_MIN},
        {"$100000000", std::nullopt},
        {"-2147483649", std::nullopt},
        {"-$", std::nullopt},
        {"$-1", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StringToInt(text, kSignBeforeDollar), expected) << '"' << text << '"';
    EXPECT_EQ(StrToIntDef(QStringLiteral("-$10"), 5, kSignBeforeDollar), -16);
    EXPECT_EQ(StrToIntDef(QStringLiteral("10 "), 5, kSignBeforeDollar), 5);
}

// Text outside ASCII never passes for a digit or a blank.
TEST(IntegerText, NonAsciiTextIsRefused)
{
    for (const char16_t* text : {u"\u0661\u0662", u"\u00A012", u"\uFF11", u"1\u00B2"})
        EXPECT_THROW(StrToInt(QString::fromUtf16(text), kSignBeforeDollar), Exception)
            << QString::fromUtf16(text).toStdString();
}

} // namespace
