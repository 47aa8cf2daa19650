#include "config/colour.h"
#include "widgets/screen_colour.h"

#include "base/exception.h"

#include <gtest/gtest.h>

namespace {

struct ColourCase {
    const char* text;
    QColor expected;
};

class ColourConversionTest : public testing::TestWithParam<ColourCase> {};

TEST_P(ColourConversionTest, ReadsBlueGreenRedDigits)
{
    EXPECT_EQ(ColorToQColor(ColourFromText(QString::fromLatin1(GetParam().text))),
              GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, ColourConversionTest,
                         testing::Values(ColourCase{"0000FF", QColor(255, 0, 0)},
                                         ColourCase{"FF0000", QColor(0, 0, 255)},
                                         ColourCase{"ff0000", QColor(0, 0, 255)},
                                         ColourCase{"00FF00", QColor(0, 255, 0)},
                                         ColourCase{"00FFFF", QColor(255, 255, 0)},
                                         ColourCase{"FFFFFF", QColor(255, 255, 255)},
                                         ColourCase{"C0C0C0", QColor(192, 192, 192)},
                                         ColourCase{"0", QColor(0, 0, 0)},
                                         ColourCase{"000000FFFFFF", QColor(255, 255, 255)},
                                         ColourCase{"123456", QColor(0x56, 0x34, 0x12)}));

class BadColourTest : public testing::TestWithParam<const char*> {};

TEST_P(BadColourTest, FailsWithTheDollarPrefixedText)
{
    const QString value = QString::fromLatin1(GetParam());
    try {
        ColourFromText(value);
        FAIL() << "accepted " << GetParam();
    } catch (const Exception& error) {
        EXPECT_EQ(QString::fromStdString(error.Message()),
                  QStringLiteral("'$%1' is not a valid integer value").arg(value));
    }
}

INSTANTIATE_TEST_SUITE_P(Values, BadColourTest,
                         testing::Values("", "0x00FF", "#FFFFFF", "-1", "+1", "12 34", "123456789",
                                         "GG", "$FF", "FF "));

TEST(ColourTest, TopBitNamesASystemColour)
{
    EXPECT_EQ(ColourFromText(QStringLiteral("80000005")), std::int32_t(0x80000005u));
    EXPECT_EQ(ColourFromText(QStringLiteral("FFFFFFFF")), -1);
    // The highlight-text system colour is not the red 0x0E it would be as RGB.
    EXPECT_NE(ColorToQColor(clHighlightText), QColor(14, 0, 0));
    EXPECT_EQ(ColorToQColor(clMaroon), QColor(128, 0, 0));
    EXPECT_EQ(ColorToQColor(clOlive), QColor(128, 128, 0));
}

} // namespace
