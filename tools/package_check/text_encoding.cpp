#include "tools/package_check/text_encoding.h"

#include <QStringDecoder>

#include <algorithm>

QString wideEncodingName(const QByteArray& bytes)
{
    // UTF-32 first: its little-endian mark begins like UTF-16's.
    if (bytes.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)))
        return QStringLiteral("UTF-32 (little-endian)");
    if (bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return QStringLiteral("UTF-32 (big-endian)");
    if (bytes.startsWith("\xFF\xFE"))
        return QStringLiteral("UTF-16 (little-endian)");
    if (bytes.startsWith("\xFE\xFF"))
        return QStringLiteral("UTF-16 (big-endian)");
    const qsizetype zeros = std::count(bytes.cbegin(), bytes.cend(), '\0');
    if (zeros == 0 || zeros * 4 < bytes.size())
        return {};
    // Without a mark: ASCII text in UTF-16 has its zero bytes at odd offsets
    // in little-endian order, at even ones in big-endian order.
    const bool firstZero = !bytes.isEmpty() && bytes[0] == '\0';
    return firstZero ? QStringLiteral("UTF-16 (big-endian, no byte order mark)")
                     : QStringLiteral("UTF-16 (little-endian, no byte order mark)");
}

bool isUtf8BeyondAscii(const QByteArray& bytes)
{
    const bool beyondAscii =
        std::any_of(bytes.cbegin(), bytes.cend(), [](char c) { return (c & 0x80) != 0; });
    if (!beyondAscii)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = utf8.decode(bytes);
    return !utf8.hasError();
}
