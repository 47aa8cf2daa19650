#include "config/ini_file.h"

#include "config/integer_text.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

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
    if (value.size() >= 2 && value.front() == value.back()
        && (value.front() == u'"' || value.front() == u'\''))
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

// The section's name when the line is a section header.
bool sectionHeader(QStringView line, QString& name)
{
    if (!line.startsWith(u'['))
        return false;
    const qsizetype close = line.indexOf(u']');
    name = trimmedBlanks(line.sliced(1, (close < 0 ? line.size() : close) - 1));
    return true;
}

QByteArray withoutByteOrderMark(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    return text;
}

} // namespace

IniFile::IniFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        text_ = withoutByteOrderMark(file.read(kMaxFileSize));
}

IniFile IniFile::fromText(const QByteArray& text)
{
    IniFile ini;
    ini.text_ = withoutByteOrderMark(text);
    return ini;
}

QString IniFile::ReadString(const QString& section, const QString& key) const
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const QByteArray& rawLine : text_.split('\n')) {
        const QString line = trimmedBlanks(QString::fromUtf8(rawLine).remove(u'\r'));
        QString name;
        if (sectionHeader(line, name)) {
            // Only the first section of that name is read.
            if (sectionSeen)
                return {};
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            sectionSeen = inSection;
            continue;
        }
        if (!inSection || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (trimmedBlanks(QStringView(line).first(equals)).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        return cutToMaxLength(unquoted(trimmedBlanks(QStringView(line).sliced(equals + 1))));
    }
    return {};
}

std::int32_t IniFile::ReadInteger(const QString& section, const QString& key,
                                  std::int32_t fallback) const
{
    QString text = ReadString(section, key);
    if (text.size() > 2 && (text.startsWith(u"0x") || text.startsWith(u"0X")))
        text.replace(0, 2, u'$');
    return StrToIntDef(text, fallback, kSignedHexBits);
}
