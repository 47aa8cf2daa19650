#include "config/ini_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kSection = QStringLiteral("zenkor Installer");

struct ReadCase {
    const char* name;
    const char* text;
    const char* section;
    const char* key;
    const char* expected;
};

class IniReadTest : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsTheValueByTheReaderRules)
{
    const ReadCase& c = GetParam();
    const IniFile ini = IniFile::fromText(c.text);
    EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    testing::Values(ReadCase{"plain", "[zenkor Installer]\nGameTitle=Some Game\n",
                             "zenkor Installer", "GameTitle", "Some Game"},
                    ReadCase{"section_case", "[ZENKOR installer]\nk=v\n", "zenkor Installer", "K",
                             "v"},
                    ReadCase{"key_case", "[s]\nGAMETITLE=x\n", "S", "gametitle", "x"},
                    ReadCase{"trimmed", "[s]\n  k  =   a b \t\n", "s", "k", "a b"},
                    ReadCase{"double_quotes", "[s]\nk=\"  quoted \"\n", "s", "k", "  quoted "},
                    ReadCase{"single_quotes", "[s]\nk='x'\n", "s", "k", "x"},
                    ReadCase{"mismatched_quotes_kept", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
                    ReadCase{"lone_quote_kept", "[s]\nk=\"\n", "s", "k", "\""},
                    ReadCase{"empty_quotes", "[s]\nk=\"\"\n", "s", "k", ""},
                    ReadCase{"equals_in_value", "[s]\nk=a=b\n", "s", "k", "a=b"},
                    ReadCase{"first_duplicate_wins", "[s]\nk=first\nk=second\n", "s", "k", "first"},
                    ReadCase{"comment_line", "[s]\n;k=commented\nk=real\n", "s", "k", "real"},
                    ReadCase{"other_section", "[other]\nk=no\n[s]\nj=1\n", "s", "k", ""},
                    ReadCase{"key_before_any_section", "k=no\n[s]\n", "s", "k", ""},
                    ReadCase{"missing_section", "[t]\nk=v\n", "s", "k", ""},
                    ReadCase{"missing_key", "[s]\nj=v\n", "s", "k", ""},
                    ReadCase{"crlf", "[s]\r\nk=v\r\nj=w\r\n", "s", "j", "w"},
                    ReadCase{"byte_order_mark", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "v"},
                    ReadCase{"line_without_equals", "[s]\nnonsense\nk=v\n", "s", "k", "v"},
                    ReadCase{"empty_value", "[s]\nk=\nk=later\n", "s", "k", ""},
                    ReadCase{"utf8", "[s]\nk=Sp\xC3\xA4l\n", "s", "k", "Sp\xC3\xA4l"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(IniFileTest, CutsLongValuesTo1023Characters)
{
    const QByteArray value(2000, 'x');
    const IniFile ini = IniFile::fromText("[s]\nk=" + value + "\n");
    EXPECT_EQ(ini.ReadString(QStringLiteral("s"), QStringLiteral("k")), QString(1023, u'x'));
}

TEST(IniFileTest, CutNeverSplitsACharacterPair)
{
    // 1022 letters, then characters outside the basic plane (two UTF-16 units each).
    const QByteArray value = QByteArray(1022, 'a') + QByteArray("\xF0\x9F\x8E\xAE").repeated(4);
    const QString read =
        IniFile::fromText("[s]\nk=" + value).ReadString(QStringLiteral("s"), QStringLiteral("k"));
    EXPECT_EQ(read, QString(1022, u'a'));
}

TEST(IniFileTest, AFileThatIsNotUtf8IsReadAsWindows1252Throughout)
{
    const auto read = [](const QByteArray& text, const char* key) {
        return IniFile::fromText(text).ReadString(QStringLiteral("s"), QString::fromLatin1(key));
    };
    // One stray byte decides for the whole file, so the valid UTF-8 pair reads as two characters.
    const QByteArray mixed = "[s]\nt=Spiel f\xFCr zwei\nu=f\xC3\xBCr\ne=\x80 \x81\x9F\n";
    EXPECT_EQ(read(mixed, "t"), QStringLiteral("Spiel f\u00FCr zwei"));
    EXPECT_EQ(read(mixed, "u"), QStringLiteral("f\u00C3\u00BCr"));
    EXPECT_EQ(read(mixed, "e"), QStringLiteral("\u20AC \u0081\u0178"));
    EXPECT_EQ(read("\xEF\xBB\xBF[s]\nt=\xE9t\xE9\n", "t"), QStringLiteral("\u00E9t\u00E9"));
    EXPECT_EQ(read("[s]\nt=f\xC3\xBCr\n", "t"), QStringLiteral("f\u00FCr"));
    EXPECT_EQ(read("[s]\nt=" + QByteArray(2000, '\xFC') + "\n", "t"), QString(1023, QChar(0xFC)));
}

TEST(IniFileTest, ReadsIntegersInDecimalAndHexadecimal)
{
    const IniFile ini = IniFile::fromText(
        "[s]\ndec=20\nhex=0x10\nupper=0X1f\ndollar=$10\nletters=abc\nbare0x=0x\nneg=-7\n"
        "big=2147483648\nmin=-2147483648\nallbits=$FFFFFFFF\ntoobig=$100000000\ninner=1 2\n");
    const struct {
        const char* key;
        std::int32_t expected;
    } cases[] = {{"dec", 20},   {"hex", 16},  {"upper", 31}, {"dollar", 16},     {"letters", 0},
                 {"bare0x", 0}, {"neg", -7},  {"big", 0},    {"min", INT32_MIN}, {"allbits", -1},
                 {"toobig", 0}, {"inner", 0}, {"missing", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadInteger(QStringLiteral("s"), QString::fromLatin1(c.key), 0), c.expected)
            << c.key;
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("s"), QStringLiteral("letters"), 42), 42);
}

class IniFileOnDiskTest : public testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(IniFileOnDiskTest, ReadsAFile)
{
    QFile file(path("install.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[zenkor Installer]\nRARFile=demo.rar\n");
    file.close();
    EXPECT_EQ(IniFile(file.fileName()).ReadString(kSection, QStringLiteral("rarfile")),
              u"demo.rar");
}

TEST_F(IniFileOnDiskTest, MissingFileAndFolderReadAsEmpty)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("install.ini")));
    EXPECT_TRUE(
        IniFile(path("install.ini")).ReadString(kSection, QStringLiteral("GameTitle")).isEmpty());
    EXPECT_TRUE(
        IniFile(path("absent.ini")).ReadString(kSection, QStringLiteral("GameTitle")).isEmpty());
}

TEST_F(IniFileOnDiskTest, RandomBytesReadWithoutFailing)
{
    QFile file(path("install.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QRandomGenerator random(20261208);
    QByteArray bytes(64 * 1024, '\0');
    for (char& b : bytes)
        b = char(random.bounded(256));
    file.write(bytes);
    file.close();
    const IniFile ini(file.fileName());
    EXPECT_TRUE(ini.ReadString(kSection, QStringLiteral("GameTitle")).isEmpty());
    EXPECT_EQ(ini.ReadInteger(kSection, QStringLiteral("GameTitleFontSize"), 0), 0);
}

} // namespace
