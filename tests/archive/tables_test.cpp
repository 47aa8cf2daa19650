#include "archive/arc_type.h"
#include "archive/dos_date.h"
#include "archive/file_attr_set.h"
#include "archive/message_table.h"

#include <gtest/gtest.h>

TEST(ArcTypeTable, OrdinalsNamesAndDisplayTexts)
{
    EXPECT_EQ(static_cast<int>(TArcType::atRAR), 19);
    EXPECT_EQ(static_cast<int>(TArcType::atZOO), 27);
    EXPECT_EQ(ArcTypeName(TArcType::atNA), "atNA");
    EXPECT_EQ(ArcTypeName(TArcType::atRarExe), "atRarExe");
    EXPECT_EQ(ArcTypeName(TArcType::atZip250Exe), "atZip250Exe");
    EXPECT_EQ(ArcTypeText(TArcType::atBHExe), "BH  SFX   ");
    EXPECT_EQ(ArcTypeText(TArcType::atLzhExe), "LZH SFX\t");
    EXPECT_EQ(ArcTypeText(TArcType::atUUE), "UUE\t\t  ");
    EXPECT_EQ(ArcTypeText(TArcType::atZip250Exe), "ZIP250 SFX");
    for (int i = 0; i < kArcTypeCount; ++i) {
        const auto type = static_cast<TArcType>(i);
        if (type == TArcType::atLzhExe || type == TArcType::atUUE)
            continue;
        EXPECT_EQ(ArcTypeText(type).size(), 10u) << ArcTypeName(type);
        EXPECT_EQ(ArcTypeName(type).substr(0, 2), "at");
    }
}

TEST(MessageTable, CodesTextsAndGaps)
{
    const std::pair<int, const char*> rows[] = {
        {25102, "File is read-only"},
        {25108, "Bad file header"},
        {25117, "Error closing file"},
        {25142, "Invalid or unsupported archive type for this operation"},
        {25145, "Inconsistant local header"},
        {25158, "UnRAR dll not found"},
        {25181, "Open paran, but no close paran"},
        {25300, "User Aborted"},
        {25904, "Cabinet does not belong with this set"},
        {26000, "All_files (*.*)|*.*"},
        {26008, "All_BlakHole  (*.bh ,*.exe)|*.bh;*.exe"},
        {26011, "All_UUEs (*.uue,*.xxe,*.enc)|*.uue;*.xxe;*.enc"},
        {26999, "Nothing to do"},
        {25116, ""},
        {0, ""},
        {-1, ""},
        {99999, ""},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(MessageText(code), text) << code;
    EXPECT_NE(MessageText(25351), "");
    EXPECT_EQ(MessageText(26001).substr(0, 14), "ALL Archives |");
}

TEST(DosDateToDateTime, ValidAndInvalidPackedValues)
{
    auto packed = [](int year, int month, int day, int hour, int minute, int second) {
        return static_cast<int32_t>((static_cast<uint32_t>(year - 1980) << 25)
                                    | static_cast<uint32_t>((month << 21) | (day << 16)
                                                            | (hour << 11) | (minute << 5)
                                                            | (second / 2)));
    };
    EXPECT_DOUBLE_EQ(DosDateToDateTime(0), 29221.0);
    EXPECT_DOUBLE_EQ(DosDateToDateTime(packed(1980, 1, 1, 0, 0, 0)), 29221.0);
    EXPECT_DOUBLE_EQ(DosDateToDateTime(packed(2000, 2, 29, 12, 0, 0)), 36585.5);
    EXPECT_DOUBLE_EQ(DosDateToDateTime(packed(2024, 12, 31, 6, 30, 58)),
                     45657.0 + (6 * 3600 + 30 * 60 + 58) / 86400.0);
    EXPECT_DOUBLE_EQ(DosDateToDateTime(packed(2107, 12, 31, 0, 0, 0)), 75971.0);
    const int32_t invalid[] = {
        packed(2001, 2, 29, 0, 0, 0), packed(2000, 13, 1, 0, 0, 0), packed(2000, 0, 1, 0, 0, 0),
        packed(2000, 1, 0, 0, 0, 0),  packed(2000, 1, 1, 24, 0, 0), packed(2000, 1, 1, 0, 60, 0),
        packed(2000, 1, 1, 0, 0, 60), packed(2000, 4, 31, 0, 0, 0),
    };
    for (const int32_t value : invalid)
        EXPECT_DOUBLE_EQ(DosDateToDateTime(value), kDosEpoch) << std::hex << value;
}

TEST(FileAttrSet, MaskFollowsFiveFlags)
{
    TFileAttrSet set;
    EXPECT_EQ(set.Mask(), 0x21);
    EXPECT_TRUE(set.ftArchive() && set.ftReadOnly());
    EXPECT_FALSE(set.ftHidden() || set.ftSysFile() || set.ftVolumeID() || set.ftDirectory());

    set.SetftHidden(true);
    set.SetftSysFile(true);
    set.SetftVolumeID(true);
    set.SetftReadOnly(false);
    EXPECT_EQ(set.Mask(), 0x20 | 0x02 | 0x04 | 0x08);
    set.SetftDirectory(true);
    EXPECT_EQ(set.Mask(), 0x2E) << "the directory flag has no mask bit";
    set.SetftArchive(false);
    EXPECT_EQ(set.Mask(), 0x0E);

    TFileAttrSet copy;
    copy.Assign(set);
    EXPECT_EQ(copy.Mask(), set.Mask());
    EXPECT_TRUE(copy.ftDirectory());
    EXPECT_FALSE(copy.ftReadOnly());
}
