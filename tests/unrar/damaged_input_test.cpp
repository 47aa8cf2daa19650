// Truncated and bit-flipped copies of the samples end with a code, never a
// crash or a hang, and nothing lands outside the destination.

#include "tests/support/rar_samples.h"
#include "tests/unrar/rar_library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cstring>
#include <random>

namespace zk::unrar::testing {
namespace {

namespace fs = std::filesystem;

// Flips one random bit of one random byte. The bit is drawn before the byte,
// the order of the compound assignment this replaced, so each seed still
// damages its copies as before.
void flipBit(std::string& bytes, std::mt19937& random)
{
    const auto bit = static_cast<unsigned char>(1u << (random() % 8));
    char& byte = bytes[random() % bytes.size()];
    byte = static_cast<char>(static_cast<unsigned char>(byte) ^ bit);
}

// The single-volume samples of the older archiver.
const std::vector<RarSample> kSamples =
    rarSamplesWhere([](const RarSample& sample) { return !sample.game && !sample.volumeSet; });

const std::vector<int> kKnownCodes = {
    ERAR_SUCCESS, ERAR_END_ARCHIVE, ERAR_BAD_DATA, ERAR_BAD_ARCHIVE, ERAR_UNKNOWN_FORMAT,
    ERAR_EOPEN,   ERAR_ECREATE,     ERAR_EWRITE,   ERAR_UNKNOWN,     ERAR_MISSING_PASSWORD};

bool known(int code)
{
    return std::find(kKnownCodes.begin(), kKnownCodes.end(), code) != kKnownCodes.end();
}

// Extracts everything below out/ and checks every answer is a known code.
void expectOrderlyEnd(const fs::path& archive, const fs::path& out)
{
    OpenArchive open(archive);
    if (open.handle() == nullptr) {
        EXPECT_TRUE(open.result() == ERAR_BAD_ARCHIVE || open.result() == ERAR_EOPEN)
            << open.result();
        return;
    }
    int code = ERAR_SUCCESS;
    for (int guard = 0; guard < 10000 && (code = open.next()) == 0; ++guard) {
        EXPECT_LT(std::strlen(open.header.FileName), std::size_t{RAR_NAME_SIZE});
        const int result = open.process(RAR_EXTRACT, out.string());
        EXPECT_TRUE(known(result)) << result;
    }
    EXPECT_TRUE(code == ERAR_END_ARCHIVE || code == ERAR_BAD_DATA || code == ERAR_EOPEN) << code;
}

using DamagedInput = SampleTest;

void expectNothingOutside(const TempFolder& dir)
{
    for (const fs::directory_entry& item : fs::directory_iterator(dir.path()))
        EXPECT_TRUE(item.path().filename() == "out" || item.path().filename() == "copy.rar")
            << item.path();
}

TEST_F(DamagedInput, TruncatedCopiesEndWithACode)
{
    for (const RarSample& row : kSamples) {
        const std::string& sample = row.archive;
        const std::string bytes = readFile(samplesDir() / sample);
        for (std::size_t cut : {std::size_t{0}, std::size_t{7}, std::size_t{20}, bytes.size() / 3,
                                bytes.size() / 2, bytes.size() - 8, bytes.size() - 1}) {
            SCOPED_TRACE(sample + " cut at " + std::to_string(cut));
            TempFolder dir;
            writeFile(dir / "copy.rar", bytes.substr(0, cut));
            expectOrderlyEnd(dir / "copy.rar", dir / "out");
            expectNothingOutside(dir);
        }
    }
}

TEST_F(DamagedInput, BitFlippedCopiesEndWithACode)
{
    std::mt19937 random(20261208);
    for (const RarSample& row : kSamples) {
        const std::string& sample = row.archive;
        const std::string bytes = readFile(samplesDir() / sample);
        for (int round = 0; round < 40; ++round) {
            std::string copy = bytes;
            const int flips = 1 + round % 4;
            for (int i = 0; i < flips; ++i)
                flipBit(copy, random);
            SCOPED_TRACE(sample + " round " + std::to_string(round));
            TempFolder dir;
            writeFile(dir / "copy.rar", copy);
            expectOrderlyEnd(dir / "copy.rar", dir / "out");
            expectNothingOutside(dir);
        }
    }
}

// The regular files an extraction reported as done, by name, with contents.
struct Outcome {
    std::map<std::string, std::string> files;
    std::size_t entries = 0;
    int endCode = 0;
};

Outcome extractAll(const fs::path& archive, const fs::path& out)
{
    Outcome outcome;
    OpenArchive open(archive);
    if (open.handle() == nullptr)
        return outcome;
    while ((outcome.endCode = open.next()) == ERAR_SUCCESS && outcome.entries < 10000) {
        ++outcome.entries;
        const std::string name = open.header.FileName;
        const bool done = open.process(RAR_EXTRACT, out.string()) == ERAR_SUCCESS;
        if (done && fs::is_regular_file(fs::symlink_status(out / name)))
            outcome.files[name] = readFile(out / name);
    }
    return outcome;
}

// Whatever a damaged copy reports as extracted is exactly the original file,
// and it reports the end only after as many entries as the original holds.
TEST_F(DamagedInput, DamagedCopiesNeverYieldWrongFilesOrAnEarlyEnd)
{
    std::mt19937 random(8122026);
    for (const std::string sample :
         {"rar5-stored-crc.rar", "rar5-stored-blake2.rar", "rar5-compressed.rar",
          "rar5-multiple-files.rar", "rar4-unix-basic.rar", "rar4-compressed.rar"}) {
        TempFolder reference;
        const Outcome original =
            extractAll(copySample(sample, reference.path()), reference / "out");
        ASSERT_EQ(original.endCode, ERAR_END_ARCHIVE) << sample;
        const std::string bytes = readFile(samplesDir() / sample);
        for (int round = 0; round < 24; ++round) {
            std::string copy = bytes;
            if (round % 3 == 2)
                copy.resize(random() % copy.size());
            else
                flipBit(copy, random);
            SCOPED_TRACE(sample + " round " + std::to_string(round));
            TempFolder dir;
            writeFile(dir / "copy.rar", copy);
            const Outcome damaged = extractAll(dir / "copy.rar", dir / "out");
            for (const auto& [name, data] : damaged.files) {
                ASSERT_EQ(original.files.count(name), 1u) << name;
                EXPECT_TRUE(original.files.at(name) == data) << name;
            }
            if (damaged.endCode == ERAR_END_ARCHIVE) {
                EXPECT_EQ(damaged.entries, original.entries);
            }
        }
    }
}

// A byte changed inside the first file's packed data: that file fails, and
// libarchive's confusion does not spread to the entries after it.
TEST_F(DamagedInput, DamagedCompressedFileFailsAloneLaterEntriesExtract)
{
    for (const auto& [sample, name] : std::vector<std::pair<std::string, std::string>>{
             {"rar5-multiple-files.rar", "test1.bin"},
             {"rar4-compressed.rar", "LibarchiveAddingTest.html"}}) {
        SCOPED_TRACE(sample);
        TempFolder dir;
        std::string bytes = readFile(samplesDir() / sample);
        bytes[bytes.find(name) + 200] ^= 0x10;
        writeFile(dir / "copy.rar", bytes);
        const Listing listing = walk(dir / "copy.rar", RAR_EXTRACT, (dir / "out").string());
        EXPECT_EQ(listing.endCode, ERAR_END_ARCHIVE);
        ASSERT_GE(listing.entries.size(), 4u);
        EXPECT_EQ(listing.entries[0].processResult, ERAR_BAD_DATA);
        EXPECT_FALSE(fs::exists(dir / "out" / name));
        for (std::size_t i = 1; i < listing.entries.size(); ++i)
            EXPECT_EQ(listing.entries[i].processResult, ERAR_SUCCESS) << listing.entries[i].name;
    }
}

TEST_F(DamagedInput, DamagedEntryHeaderAfterGoodEntriesAnswersBadData)
{
    TempFolder dir;
    std::string bytes = readFile(samplesDir() / "rar4-unix-basic.rar");
    bytes[0x9B] ^= 0x40; // inside the third entry's header: its CRC no longer fits
    writeFile(dir / "copy.rar", bytes);
    const Listing listing = walk(dir / "copy.rar", RAR_EXTRACT, (dir / "out").string());
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.entries[0].processResult, ERAR_SUCCESS);
    EXPECT_EQ(listing.endCode, ERAR_BAD_DATA);
    EXPECT_EQ(readFile(dir / "out" / "test.txt").size(), 20u);
}

} // namespace
} // namespace zk::unrar::testing
