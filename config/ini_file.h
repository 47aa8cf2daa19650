#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>

// The installer's own reader of INI text files, parsing the text once into a
// table of sections and keys. Section and key names match
// without regard to case; a value is the text after the first "=", trimmed,
// with a pair of matching quotes removed and cut to 1023 characters. A
// missing file, section or key reads as empty; for a key or section written
// twice the first one counts. Lines starting with ";" and lines without "="
// are ignored. The text is UTF-8 (a byte order mark is skipped) or, when the
// file is not valid UTF-8, Windows-1252.
class IniFile {
public:
    static constexpr int kMaxValueLength = 1023;

    // Reads the file once; an unreadable file or a folder reads as empty.
    explicit IniFile(const QString& path);
    // Parses INI text directly.
    static IniFile fromText(const QByteArray& text);

    QString ReadString(const QString& section, const QString& key) const;
    // The value as a 32-bit integer ("0x" and "$" introduce hexadecimal);
    // `fallback` when it does not convert.
    std::int32_t ReadInteger(const QString& section, const QString& key,
                             std::int32_t fallback) const;

    // The sections, and the keys of one section, as first written in the
    // file and in its order: what a packager wrote, for checking it.
    QStringList SectionNames() const;
    QStringList KeyNames(const QString& section) const;

private:
    IniFile() = default;
    void parse(QByteArray text);

    // Values by case-folded section and key names.
    QHash<QString, QHash<QString, QString>> sections_;
    QStringList sectionNames_;
    // Keys as written, by case-folded section name.
    QHash<QString, QStringList> keyNames_;
};
