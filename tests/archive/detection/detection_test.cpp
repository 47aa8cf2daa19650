// Type detection of plain files by their leading bytes and names, of files
// that change or are not regular files, and of large files.
#include "archive/detection/detect_arc_type.h"
#include "archive/detection/signature.h"
#include "archive/zip_common.h"
#include "tests/archive/detection/detection_shorthands.h"

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
        SCOPED_TRACE(testing::Message()
                     << std::hex << int(row.bytes[0]) << ' ' << int(row.bytes[1]));
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
    const std::string fifo = folder.path() / "pipe.rar";
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
    EXPECT_EQ(detect(folder.path()), TArcType::atFileError);
    EXPECT_EQ(detect("/dev/null"), TArcType::atFileError);
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
        {"uue not above 200 bytes", "x.uue", Bytes(text.begin(), text.begin() + 150),
         TArcType::atUnknown},
        {"upper-case BEGIN", "x.enc", padded(FromText("BEGIN 644 a\n"), 300, ' '),
         TArcType::atUnknown},
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
