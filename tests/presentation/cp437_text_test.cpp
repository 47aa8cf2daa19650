// The code page 437 table and the DOS text the NFO viewer shows through it.
#include "presentation/cp437.h"

#include <QSet>
#include <QString>

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>

namespace {

// A code page 437 byte decoded by the C library's converter, as an independent
// reference for the printable half of the table.
QString libraryCp437(unsigned char byte)
{
    iconv_t converter = iconv_open("UTF-16LE", "IBM437");
    // iconv_open answers the handle (iconv_t)-1 when it fails.
    if (reinterpret_cast<std::intptr_t>(converter) == -1)
        return {};
    char in[1] = {static_cast<char>(byte)};
    char16_t out[2] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (done == static_cast<size_t>(-1))
        return {};
    return QString(QChar(out[0]));
}

TEST(Cp437Table, PrintableHalfMatchesTheLibraryConverter)
{
    if (libraryCp437('A').isEmpty())
        GTEST_SKIP() << "the C library has no IBM437 converter";
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == 0x7F)
            continue; // the converter keeps DEL, the DOS screen shows a house
        EXPECT_EQ(QString(QChar(cp437Glyph(static_cast<unsigned char>(byte)))), libraryCp437(byte))
            << "byte " << byte;
    }
}

TEST(Cp437Table, ControlCodesShowTheirScreenGlyphs)
{
    const std::pair<unsigned char, char16_t> glyphs[] = {
        {0x01, u'\u263A'}, {0x03, u'\u2665'}, {0x07, u'\u2022'}, {0x08, u'\u25D8'},
        {0x0B, u'\u2642'}, {0x0C, u'\u2640'}, {0x10, u'\u25BA'}, {0x1A, u'\u2192'},
        {0x1B, u'\u2190'}, {0x1F, u'\u25BC'}, {0x7F, u'\u2302'},
    };
    for (const auto& [byte, glyph] : glyphs)
        EXPECT_EQ(cp437Glyph(byte), glyph) << "byte " << int(byte);
}

TEST(Cp437Table, EveryByteHasItsOwnGlyph)
{
    QSet<char16_t> seen;
    for (int byte = 1; byte <= 0xFF; ++byte)
        seen.insert(cp437Glyph(static_cast<unsigned char>(byte)));
    EXPECT_EQ(seen.size(), 255);
}

TEST(DosText, LineBreaksAndTabs)
{
    const struct {
        QByteArray bytes;
        QString shown;
    } cases[] = {
        {"a\r\nb\r\n", u"a\nb\n"_qs},
        {"a\nb\n", u"a\nb\n"_qs},
        {"a\rb\r", u"a\nb\n"_qs},
        {"a\n\rb", u"a\n\nb"_qs},   // LF then CR: two breaks
        {"a\r\r\nb", u"a\n\nb"_qs}, // CR then CR LF: two breaks
        {"a\tb", u"a\tb"_qs},
        {"\xC9\xCD\xBB", u"\u2554\u2550\u2557"_qs},
        {"", u""_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dosTextToUnicode(c.bytes), c.shown) << c.bytes.toHex().constData();
}

} // namespace
