#include "config/ini_file.h"

#include "config/integer_text.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Anything larger is not a configuration file; reading stops there.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimmedBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\''))
        return value.sliced(1, value.size() - 2);
    return value;
}

QString cutToMaxLength(QString value)
{
    if (value.size() <= IniFile::kMaxValueLength)
        return value;
    qsizetype length = IniFile::kMaxValueLength;
    // Never leave half of a surrogate pair behind.
    if (value[length - 1].isHighSurrogate())
        --length;
    value.truncate(length);
    return value;
}

// A file written on Windows is usually in its Western code page, so a file
// that is not valid UTF-8 throughout is read as Windows-1252 as a whole.
QString decoded(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252", QStringDecoder::Flag::Stateless);
    return windows1252.decode(bytes);
}

// The section's name when the line is a section header.
bool sectionHeader(QStringView line, QString& name)
{
    if (!line.startsWith(u'['))
        return false;
    const qsizetype close = line.indexOf(u']');
    name = trimmedBlanks(line.sliced(1, (close < 0 ? line.size() : close) - 1));
    return true;
}

} // namespace

IniFile::IniFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        parse(file.read(kMaxFileSize));
}

IniFile IniFile::fromText(const QByteArray& text)
{
    IniFile ini;
    ini.parse(text);
    return ini;
}

void IniFile::parse(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3); // a UTF-8 byte order mark
    QString section;
    bool reading = false; // inside the first section of its name
    for (QString& rawLine : decoded(text).split(u'\n')) {
        const QString line = trimmedBlanks(rawLine.remove(u'\r'));
        QString name;
        if (sectionHeader(line, name)) {
            section = name.toCaseFolded();
            reading = !sections_.contains(section);
            if (reading) {
                sections_.insert(section, {});
                sectionNames_.append(name);
            }
            continue;
        }
        if (!reading || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QString written = trimmedBlanks(QStringView(line).first(equals));
        const QString key = written.toCaseFolded();
        QHash<QString, QString>& keys = sections_[section];
        if (!keys.contains(key)) {
            keyNames_[section].append(written);
            keys.insert(
                key, cutToMaxLength(unquoted(trimmedBlanks(QStringView(line).sliced(equals + 1)))));
        }
    }
}

QString IniFile::ReadString(const QString& section, const QString& key) const
{
    const auto found = sections_.constFind(section.toCaseFolded());
    return found == sections_.cend() ? QString() : found->value(key.toCaseFolded());
}

std::int32_t IniFile::ReadInteger(const QString& section, const QString& key,
                                  std::int32_t fallback) const
{
    QString text = ReadString(section, key);
    if (text.size() > 2 && (text.startsWith(u"0x") || text.startsWith(u"0X")))
        text.replace(0, 2, u'$');
    return StrToIntDef(text, fallback, kSignBeforeDollar);
}

QStringList IniFile::SectionNames() const
{
    return sectionNames_;
}

QStringList IniFile::KeyNames(const QString& section) const
{
    return keyNames_.value(section.toCaseFolded());
}
