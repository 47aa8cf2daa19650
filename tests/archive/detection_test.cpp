#include "archive/detect_arc_type.h"
#include "archive/pe_string_table.h"
#include "archive/signature.h"
#include "archive/zip_common.h"
#include "tests/archive/archive_files.h"
#include "tests/archive/memory_source.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace archive_files;

namespace {

const Bytes kRar = FromText(std::string("Rar!\x1a\x07\x00", 7));
const Bytes kArj = {0x60, 0xEA, 0x10, 0x00};

TArcType detectFile(const std::string& name, const Bytes& bytes)
{
    TempFolder folder;
    CurrentDirectoryGuard keepDirectory;
    TZipCommon component(nullptr);
    component.SetArchiveFile(folder.Write(name, bytes));
    return component.ArcType();
}

Detection detectInMemory(const Bytes& bytes, const std::string& name = "x.bin", int shrinkAfter = -1)
{
    MemorySource source(bytes, shrinkAfter);
    Detection result;
    DetectArchiveIn(source, name, 0, result);
    return result;
}

Bytes padded(Bytes bytes, size_t size, uint8_t fill = 'x')
{
    bytes.resize(size, fill);
    return bytes;
}

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

TEST(ClassifySignature, RowsInOrderForBothPositionKinds)
{
    struct Row {
        std::array<uint8_t, 4> bytes;
        TArcType atStart;
        TArcType inside;
    };
    const Row rows[] = {
        {{'P', 'K', 3, 4}, TArcType::atZIP, TArcType::atZipExe},
        {{'P', 'K', 0x47, 0x34}, TArcType::atUnknown, TArcType::atUnknown},
        {{0, 0, 0, 'P'}, TArcType::atZip250, TArcType::atZip250Exe},
        {{'M', 'S', 'C', 'F'}, TArcType::atCAB, TArcType::atNA},
        {{'B', 'H', 5, 7}, TArcType::atBH, TArcType::atBHExe},
        {{'H', 'A', '-', 'l'}, TArcType::atHA, TArcType::atNA},
        {{0x1F, 0x8B, 8, 0}, TArcType::atGZip, TArcType::atNA},
        {{0x1F, 0xA0, 0, 0}, TArcType::atGZip, TArcType::atNA},
        {{0x1F, 0x1F, 0, 0}, TArcType::atUnknown, TArcType::atUnknown},
        {{0x60, 0xEA, 0, 0}, TArcType::atARJ, TArcType::atArjExe},
        {{'Z', 'O', 'O', ' '}, TArcType::atZOO, TArcType::atNA},
        {{0, 0, '-', 'l'}, TArcType::atLHA, TArcType::atLhaExe},
        {{'R', 'a', 'r', '!'}, TArcType::atRAR, TArcType::atRarExe},
        {{0x1A, 0x0B, 0, 0}, TArcType::atPAK, TArcType::atPakExe},
        {{0x1A, 0x1E, 0, 0}, TArcType::atARC, TArcType::atNA},
        {{0x1A, 0x09, 0, 0}, TArcType::atARC, TArcType::atArcExe},
        {{0xB7, 0xDF, 0, 0}, TArcType::atArcExe, TArcType::atArcExe},
        {{'r', 'a', 'r', '!'}, TArcType::atUnknown, TArcType::atUnknown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << int(row.bytes[0]) << ' ' << int(row.bytes[1]));
        EXPECT_EQ(ClassifySignature(row.bytes, SignaturePosition::StartOfFile), row.atStart);
        EXPECT_EQ(ClassifySignature(row.bytes, SignaturePosition::InsideExecutable), row.inside);
    }
}

TEST(DetectArcType, PlainFilesBySizeAndLeadingBytes)
{
    EXPECT_EQ(detectFile("a.rar", padded(kRar, 300)), TArcType::atRAR);
    EXPECT_EQ(detectFile("six.bin", FromText("Ra1234")), TArcType::atRAR);
    EXPECT_EQ(detectFile("five.rar", FromText("Rar!\x1a")), TArcType::atFileError);
    EXPECT_EQ(detectFile("pk.zip", padded(FromText("PKG4"), 300)), TArcType::atUnknown);
    EXPECT_EQ(detectFile("empty.rar", {}), TArcType::atFileError);
    EXPECT_EQ(detectInMemory(padded({0xB7, 0x92}, 300)).archiveOffset, kArcExeDataOffset);

    TZipCommon component(nullptr);
    component.SetArchiveFile("/no/such/folder/game.rar");
    EXPECT_EQ(component.ArcType(), TArcType::atFileError);
    component.SetArchiveFile("");
    EXPECT_EQ(component.ArcType(), TArcType::atNA);
}

TEST(DetectArcType, OnlyRegularFilesAreOpened)
{
    TempFolder folder;
    const std::string fifo = folder.Path() / "pipe.rar";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto detect = [](const std::string& path) {
        Detection result;
        DetectArchive(path, 0, result);
        return result.type;
    };
    // On a thread, so that an open waiting for a writer fails the test
    // instead of hanging it.
    auto detection = std::async(std::launch::async, detect, fifo);
    if (detection.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // lets the open return
        FAIL() << "detection waited on a FIFO";
    }
    EXPECT_EQ(detection.get(), TArcType::atFileError);
    EXPECT_EQ(detect(folder.Path()), TArcType::atFileError);
    EXPECT_EQ(detect("/dev/null"), TArcType::atFileError);
}

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
        {"cabinet ends the search", executablePointingAt(FromText("MSCF"), "", false), TArcType::atNA},
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

TEST(DetectArcType, AppendedZipNeedsAnAbsoluteDirectoryOffset)
{
    Bytes stub = OldStyleExecutable(0);
    stub.resize(300, 0);
    const auto base = static_cast<uint32_t>(stub.size());

    Bytes absolute = stub;
    Append(absolute, ZipArchive(base));
    EXPECT_EQ(detectInMemory(absolute).type, TArcType::atZipExe);
    EXPECT_EQ(detectInMemory(absolute).archiveOffset, base);
    EXPECT_EQ(detectFile("zipsfx.exe", absolute), TArcType::atZipExe);

    Bytes relative = stub;
    Append(relative, ZipArchive(0));
    EXPECT_EQ(detectInMemory(relative).type, TArcType::atUnknown);

    // A ZIP comment moves the end record out of the 23-byte window.
    Bytes commented = absolute;
    PutLe16(commented, commented.size() - 2, 3);
    Append(commented, FromText("abc"));
    EXPECT_EQ(detectInMemory(commented).type, TArcType::atUnknown);
}

TEST(DetectArcType, ExtensionFallbackForUueAndTar)
{
    struct Case {
        const char* name;
        std::string file;
        Bytes bytes;
        TArcType expected;
    };
    const Bytes text = padded(FromText("header line\nbegin 644 a.txt\n"), 300, ' ');
    Bytes late(801, ' ');
    Append(late, FromText("\nbegin 644 a\n"));
    Bytes cut(795, ' ');
    Append(cut, FromText("\nbegin"));
    Bytes volume = TarHeader('V');
    Append(volume, TarHeader());
    Bytes badSum = TarHeader();
    badSum[0] ^= 1;
    const Case cases[] = {
        {"uue of 300 bytes", "x.uue", text, TArcType::atUUE},
        {"upper-case extension", "X.XXE", text, TArcType::atUUE},
        {"uue not above 200 bytes", "x.uue", Bytes(text.begin(), text.begin() + 150), TArcType::atUnknown},
        {"upper-case BEGIN", "x.enc", padded(FromText("BEGIN 644 a\n"), 300, ' '), TArcType::atUnknown},
        {"begin after byte 800", "x.uue", late, TArcType::atUnknown},
        {"begin cut by the 800-byte window", "x.uue", cut, TArcType::atUnknown},
        {"begin at the very start", "x.uue", padded(FromText("begin"), 300, ' '), TArcType::atUUE},
        {"tar header", "x.tar", TarHeader(), TArcType::atTAR},
        {"prefix .T takes TAR", "x.T", TarHeader(), TArcType::atTAR},
        {"volume header then header", "x.tar", volume, TArcType::atTAR},
        {"bad checksum", "x.tar", badSum, TArcType::atUnknown},
        {"tar content under another name", "x.rar", TarHeader(), TArcType::atUnknown},
        {".z takes the key ZIP", "x.z", Bytes(300, 'q'), TArcType::atUnknown},
        {"dot only in the folder", "d.uue/x", text, TArcType::atUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(detectFile(c.file, c.bytes), c.expected);
    }
}

TEST(DetectArcType, TarOffsetsAndShortCandidates)
{
    Bytes volume = TarHeader('V');
    Append(volume, TarHeader());
    EXPECT_EQ(detectInMemory(volume, "a.tar").archiveOffset, 512);
    // A short TAR candidate: the rest of the block counts as zero bytes.
    Bytes shortTar = TarHeader();
    shortTar.resize(300);
    EXPECT_EQ(detectInMemory(shortTar, "a.tar").type, TArcType::atTAR);
}

TEST(DetectArcType, ExtensionKeyAndOctal)
{
    EXPECT_EQ(ExtensionKey(".UUE"), "UUE");
    EXPECT_EQ(ExtensionKey(".T"), "TAR");
    EXPECT_EQ(ExtensionKey("."), "UUE");
    EXPECT_EQ(ExtensionKey(".Z"), "ZIP");
    EXPECT_EQ(ExtensionKey(".GZ"), "GZ.");
    EXPECT_EQ(ExtensionKey(".RAR"), "RAR");
    EXPECT_EQ(ExtensionKey(".TARX"), "");
    EXPECT_EQ(ExtensionKey(""), "");
    EXPECT_EQ(std::string(kArchiveExtensions).size(), 60u);

    EXPECT_EQ(OctalToInt(""), 0);
    EXPECT_EQ(OctalToInt("0001750"), 01750);
    EXPECT_EQ(OctalToInt(std::string(" 17 8\0", 6)), 017);
    EXPECT_EQ(OctalToInt("9x-7"), 7);
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
    const auto copy = folder.Path() / "sfx.exe";
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

TEST(DetectArcType, FileThatShrinksBetweenSteps)
{
    // The file is cut to 8 bytes before the given read; a read that comes
    // back short only skips its candidate.
    Bytes rarExe = OldStyleExecutable(1000);
    Append(rarExe, padded(kRar, 64));
    int unknown = 0;
    for (int reads = 0; reads < 12; ++reads) {
        SCOPED_TRACE(reads);
        const TArcType type = detectInMemory(rarExe, "x.exe", reads).type;
        EXPECT_TRUE(type == TArcType::atUnknown || type == TArcType::atRarExe);
        unknown += type == TArcType::atUnknown;
    }
    EXPECT_GT(unknown, 0);
    EXPECT_LT(unknown, 12) << "a cut after the image end was read keeps the result";

    Bytes tar = TarHeader('V');
    Append(tar, TarHeader());
    EXPECT_EQ(detectInMemory(tar, "a.tar", 1).type, TArcType::atUnknown);
}

TEST(DetectArcType, LargeFileIsReadOnlyAtItsEdges)
{
    Bytes big = OldStyleExecutable(0);
    big.resize(8 * 1024 * 1024, 0);
    MemorySource memory(big);
    CountingSource counting(memory);
    Detection result;
    DetectArchiveIn(counting, "big.exe", 0, result);
    EXPECT_EQ(result.type, TArcType::atUnknown);
    EXPECT_LT(counting.BytesRequested(), 4096);
}
