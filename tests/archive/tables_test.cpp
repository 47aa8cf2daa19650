#include "archive/arc_type.h"
#include "archive/dos_date.h"
#include "archive/file_attr_set.h"
#include "archive/message_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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

TEST(MessageTable, EveryRowAndNothingBetween)
{
    // The table as the documentation gives it; 25351's wording is free.
    const std::map<int, std::string> rows = {
        {25102, "File is read-only"},
        {25103, "File is hidden"},
        {25104, "File is a SysFile"},
        {25105, "File is a directory"},
        {25106, "File is a VolumeID"},
        {25107, "Invalid file attribute"},
        {25108, "Bad file header"},
        {25109, "Bad block"},
        {25110, "Bad Huffman code"},
        {25111, "Invalid code encountered"},
        {25112, "Invalid comment header"},
        {25113, "No BEGIN line"},
        {25114, "Incorrect number of bits"},
        {25115, "Error writing to file"},
        {25117, "Error closing file"},
        {25118, "Incomplete code set"},
        {25119, "Error creating dir"},
        {25120, "File fails CRC check"},
        {25121, "File contains invalid decode tree"},
        {25123, "Invalid directory"},
        {25124, "Invalid directory... defaulting to current"},
        {25125, "Disk full"},
        {25126, "Unexpected end of file"},
        {25127, "End of line expected"},
        {25128, "EOL not found"},
        {25129, "Error deleting file(s)"},
        {25130, "Command exec failed"},
        {25132, "File not found"},
        {25133, "File size different"},
        {25134, "Warning, unknown flags"},
        {25135, "Error opening file"},
        {25136, "Error reading file or unexpected end of file"},
        {25137, "Header CRC error"},
        {25138, "Header ID error"},
        {25139, "Unexpected line break"},
        {25140, "Line found before 'BEGIN'"},
        {25141, "Skipped illegal char"},
        {25142, "Invalid or unsupported archive type for this operation"},
        {25143, "Invalid file name"},
        {25144, "Bad lengths"},
        {25145, "Inconsistant local header"},
        {25148, "LZX method not supported"},
        {25150, "Maximum volumes 999"},
        {25153, "Out of memory"},
        {25155, "Uninitialized TMemoryStream object"},
        {25156, "Uninitialized TFileStream object"},
        {25157, "Header not found. File may be corrupt"},
        {25158, "UnRAR dll not found"},
        {25159, "UnCAB dll not found"},
        {25162, "Multi-Part GZIP files not supported"},
        {25163, "Too many nested dirs"},
        {25164, "Nothing to decode"},
        {25170, "Required event not assigned"},
        {25180, "Open quote, but no close quote"},
        {25181, "Open paran, but no close paran"},
        {25190, "Password protected"},
        {25191, "Seek error"},
        {25192, "Ambiguous Shannon-Fano decode tree encountered"},
        {25193, "No desktop folder"},
        {25194, "Error getting SHGetSpecialFolderLocation"},
        {25195, "Error getting Shell memory allocator"},
        {25196, "Illegal text for search mode"},
        {25197, "Stack overflow"},
        {25198, "Stream read/write error"},
        {25199, "Streaming not supported with this archive type"},
        {25200, "Unsupported compression method"},
        {25202, "Unknown file type"},
        {25204, "Unsupported version"},
        {25210, "Error updating archive"},
        {25300, "User Aborted"},
        {25302, "Version error"},
        {25350, "Requires Win32 api"},
        {25901, "Extraction of this cabinet requires first disk of set"},
        {25902, "Previous volume in set"},
        {25903, "Next volume in set"},
        {25904, "Cabinet does not belong with this set"},
        {26000, "All_files (*.*)|*.*"},
        {26001, "ALL Archives |*.arc;*.arj;*.bh;*.cab;*.enc;*.exe;*.gz;*.ha;"
                "*.lha;*.lzh;*.pak;*.rar;*.tar;*.uue;*.xxe;*.z;*.zip;*.zoo"},
        {26002, "Executables (*.exe)"},
        {26003, "All_ZIPs (*.zip,*.exe)|*.zip;*.exe"},
        {26004, "All_GZips (*.gz,*.z)|*.gz;*.z"},
        {26005, "All_ARCs (*.arc,*.exe)|*.arc;*.exe"},
        {26006, "All_ARJs (*.arj,*.exe)|*.arj;*.exe"},
        {26007, "All_LHAs (*.lha,*.lzh)|*.lha;*.lzh"},
        {26008, "All_BlakHole  (*.bh ,*.exe)|*.bh;*.exe"},
        {26009, "All_TARs (*.tar)|*.tar"},
        {26010, "All_CABs (*.cab)|*.cab"},
        {26011, "All_UUEs (*.uue,*.xxe,*.enc)|*.uue;*.xxe;*.enc"},
        {26517, "Invalid password"},
        {26522, "Password failed"},
        {26900, "Skipped File"},
        {26999, "Nothing to do"},
    };
    for (int code = 25000; code <= 27000; ++code) {
        if (code == 25351)
            continue;
        const auto row = rows.find(code);
        EXPECT_EQ(MessageText(code), row == rows.end() ? "" : row->second) << code;
    }
    EXPECT_NE(MessageText(25351).find("newer version"), std::string::npos);
    for (const int outside : {0, -1, 99999})
        EXPECT_EQ(MessageText(outside), "") << outside;
}

TEST(DosDateToDateTime, ValidAndInvalidPackedValues)
{
    auto packed = [](int year, int month, int day, int hour, int minute, int second) {
        return static_cast<int32_t>((static_cast<uint32_t>(year - 1980) << 25) |
                                    static_cast<uint32_t>((month << 21) | (day << 16) |
                                                          (hour << 11) | (minute << 5) |
                                                          (second / 2)));
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
