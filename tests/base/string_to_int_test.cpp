#include "base/string_to_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>

TEST(StringToInt, IntegerTextsAsTheStringStepReadsThem)
{
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"700", 700},
        {"  700", 700},
        {"+7", 7},
        {"-5", -5},
        {"$1F", 31},
        {"-$10", -16},
        {"$7FFFFFFF", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"700 ", std::nullopt},
        {"7a", std::nullopt},
        {"0x10", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"+", std::nullopt},
        {"$", std::nullopt},
        {"$G", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(StringToInt(text), expected) << '"' << text << '"';
}
