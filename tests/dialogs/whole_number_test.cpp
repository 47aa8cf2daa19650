#include "archive/exception.h"
#include "dialogs/whole_number.h"

#include <gtest/gtest.h>

namespace {

struct Accepted {
    const char* text;
    int32_t value;
};

class WholeNumberAccepts : public ::testing::TestWithParam<Accepted> {};

TEST_P(WholeNumberAccepts, GivesTheNumber)
{
    EXPECT_EQ(WholeNumber(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WholeNumberAccepts,
    ::testing::Values(Accepted{"650", 650}, Accepted{"  0650", 650}, Accepted{"+7", 7},
                      Accepted{"-12", -12}, Accepted{"0", 0}, Accepted{"2147483647", INT32_MAX},
                      Accepted{"-2147483648", INT32_MIN}, Accepted{"$1F", 31},
                      Accepted{"$ff", 255}, Accepted{" $00000010", 16},
                      Accepted{"$FFFFFFFF", -1}, Accepted{"$80000000", INT32_MIN}));

class WholeNumberRefuses : public ::testing::TestWithParam<const char*> {};

TEST_P(WholeNumberRefuses, RaisesTheConversionErrorNamingTheText)
{
    const QString text = QString::fromLatin1(GetParam());
    try {
        WholeNumber(text);
        FAIL() << "accepted " << GetParam();
    } catch (const Exception& error) {
        EXPECT_EQ(QString::fromStdString(error.Message()),
                  QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumberRefuses,
                         ::testing::Values("", " ", "650 MB", "650 ", "\t650", "+", "-", "$",
                                           "+$10", "-$10", "$G", "12a", "2147483648",
                                           "-2147483649", "$100000000", "1.5", "1e3",
                                           "99999999999999999999"));

} // namespace
