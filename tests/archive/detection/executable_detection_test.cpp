// Archives inside executables: behind an old-style image, behind a PE image's
// sections, at a position a string table names; and hostile executables.
#include "archive/detection/detect_arc_type.h"
#include "archive/detection/pe_string_table.h"
#include "archive/zip_common.h"
#include "tests/archive/detection/detection_shorthands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace archive_files;

namespace {

// An executable whose string id 1 holds position (decimal or "$" hex, after
// prefix) and whose bytes at that position are payload.
Bytes executablePointingAt(const Bytes& payload, const std::string& prefix, bool hex,
                           size_t position = 700)
{
    char number[16];
    std::snprintf(number, sizeof number, hex ? "%zX" : "%zu", position);
    Bytes exe = ExecutableWithStrings({"", prefix + number});
    exe.resize(position, 0);
    Append(exe, padded(payload, 32, 0));
    return exe;
}

} // namespace

TEST(DetectArcType, DataBehindAnOldStyleImage)
{
    Bytes rarExe = OldStyleExecutable(1000);
    Append(rarExe, padded(kRar, 64));
    EXPECT_EQ(detectInMemory(rarExe).type, TArcType::atRarExe);
    EXPECT_EQ(detectInMemory(rarExe).archiveOffset, 1000);
    EXPECT_EQ(detectFile("game.exe", rarExe), TArcType::atRarExe);

    Bytes arjExe = OldStyleExecutable(1000);
    Append(arjExe, {0, 0});
    Append(arjExe, padded(kArj, 64));
    EXPECT_EQ(detectInMemory(arjExe).type, TArcType::atArjExe);
    EXPECT_EQ(detectInMemory(arjExe).archiveOffset, 1002);

    // An image end at or past the file's end is not looked at.
    Bytes truncated = OldStyleExecutable(1000);
    truncated.resize(900);
    EXPECT_EQ(detectInMemory(truncated).type, TArcType::atUnknown);
}

TEST(DetectArcType, StringTablePointsAtTheArchive)
{
    struct Case {
        const char* name;
        Bytes exe;
        TArcType expected;
    };
    const Case cases[] = {
        {"decimal position of RAR data", executablePointingAt(kRar, "", false), TArcType::atRarExe},
        {"cabinet ends the search", executablePointingAt(FromText("MSCF"), "", false),
         TArcType::atNA},
        {"hexadecimal position", executablePointingAt(kRar, "$", true), TArcType::atRarExe},
        {"leading spaces and sign", executablePointingAt(kRar, " +", false), TArcType::atRarExe},
        {"not a number", executablePointingAt(kRar, "x", false), TArcType::atUnknown},
        {"position past the end", executablePointingAt(kRar, "9", false), TArcType::atUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Detection result = detectInMemory(c.exe);
        EXPECT_EQ(result.type, c.expected);
        if (c.expected == TArcType::atRarExe) {
            EXPECT_EQ(result.archiveOffset, 700);
        }
    }
}

TEST(DetectArcType, CabinetFoundByStringTableStopsTheLaterSteps)
{
    // An appended ZIP would be found by the last step; the cabinet answer wins.
    Bytes exe = executablePointingAt(FromText("MSCF"), "", false);
    Append(exe, ZipArchive(static_cast<uint32_t>(exe.size())));
    EXPECT_EQ(detectInMemory(exe).type, TArcType::atNA);
    // Without the string table the same ZIP is found.
    Bytes plain = OldStyleExecutable(0);
    Append(plain, ZipArchive(static_cast<uint32_t>(plain.size())));
    EXPECT_EQ(detectInMemory(plain).type, TArcType::atZipExe);
}

TEST(DetectPeStrings, FiveCharacterBufferAndLaterIds)
{
    // Only five characters fit the buffer: "123456" reads as 12345.
    MemorySource source(ExecutableWithStrings({"", "123456", "", ""}));
    auto table = PeStringTable::Open(source);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->LoadString(1, 6), "12345");
    EXPECT_EQ(table->LoadString(2, 6), "");
    EXPECT_EQ(table->LoadString(20, 6), "");
    MemorySource notPe(OldStyleExecutable(1000));
    EXPECT_FALSE(PeStringTable::Open(notPe));

    // An empty id 1 ends the string step; ids 2-4 are not consulted.
    Bytes exe2 = ExecutableWithStrings({"", "", "700"});
    exe2.resize(700, 0);
    Append(exe2, padded(kRar, 16));
    EXPECT_EQ(detectInMemory(exe2).type, TArcType::atUnknown);

    // A position whose read comes back short, or whose bytes say nothing,
    // goes on with the next id.
    Bytes exe3 = ExecutableWithStrings({"", "714", "5", "700"});
    exe3.resize(700, 0);
    Append(exe3, padded(kRar, 16));
    EXPECT_EQ(detectInMemory(exe3).type, TArcType::atRarExe);
    EXPECT_EQ(detectInMemory(exe3).archiveOffset, 700);
}

// A self-extractor built as a PE program keeps its archive behind the image's
// sections, which its old-style header does not describe.
TEST(DetectArcType, ArchiveBehindAPeImage)
{
    Bytes image = ExecutableWithStrings({});
    MemorySource source(image);
    const auto end = PeImageEnd(source);
    ASSERT_TRUE(end);
    image.resize(static_cast<size_t>(*end), 0);
    EXPECT_EQ(detectInMemory(padded(image, image.size() + 64, 0)).type, TArcType::atUnknown);
    Append(image, padded(kRar, 64, 0));
    const Detection found = detectInMemory(image);
    EXPECT_EQ(found.type, TArcType::atRarExe);
    EXPECT_EQ(found.archiveOffset, *end);

    const char* samples = std::getenv("ZK_SAMPLES_DIR");
    if (!samples || !std::filesystem::is_directory(samples))
        GTEST_SKIP() << "no ../shared/rar-samples beside the project";
    TempFolder folder;
    CurrentDirectoryGuard keepDirectory;
    const auto copy = folder.path() / "sfx.exe";
    std::filesystem::copy_file(std::filesystem::path(samples) / "rar4-windows-sfx.exe", copy);
    TZipCommon component(nullptr);
    component.SetArchiveFile(copy.string());
    EXPECT_EQ(component.ArcType(), TArcType::atRarExe);
}

// Hostile executables: each ends in a plain answer after reading little.
TEST(DetectArcType, HostileExecutablesAreReadWithinBounds)
{
    const Bytes good = ExecutableWithStrings({"", "99"});
    std::vector<std::pair<std::string, Bytes>> inputs;
    Bytes truncated = good;
    truncated.resize(0x150);
    inputs.emplace_back("truncated inside the section table", truncated);

    Bytes pastEnd = good;
    PutLe32(pastEnd, 0x200 + 0x48, 0x7FFFFFF0u);
    inputs.emplace_back("string block outside every section", pastEnd);

    Bytes hugeSize = good;
    PutLe32(hugeSize, 0x200 + 0x4C, 0x7FFFFFFFu);
    inputs.emplace_back("string block size near 2^31", hugeSize);

    Bytes loop = good;
    PutLe32(loop, 0x200 + 0x28, 6);
    PutLe32(loop, 0x200 + 0x2C, 0x80000000u | 0x18);
    inputs.emplace_back("directory that points back at itself", loop);

    Bytes manyEntries = good;
    PutLe16(manyEntries, 0x200 + 12, 0xFFFF);
    PutLe16(manyEntries, 0x200 + 14, 0xFFFF);
    inputs.emplace_back("directory claiming 131070 entries", manyEntries);

    Bytes hugeNewHeader = good;
    PutLe32(hugeNewHeader, 0x3C, 0xFFFFFFF0u);
    inputs.emplace_back("new header offset past the end", hugeNewHeader);

    Bytes manySections = good;
    PutLe16(manySections, 0x40 + 6, 0xFFFF);
    inputs.emplace_back("65535 sections", manySections);

    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        MemorySource memory(bytes);
        CountingSource counting(memory);
        Detection result;
        DetectArchiveIn(counting, "x.exe", 0, result);
        EXPECT_EQ(result.type, TArcType::atUnknown);
        EXPECT_LT(counting.BytesRequested(), 64 * 1024);
    }
}
