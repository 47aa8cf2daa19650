#include "app/desktop_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A value of the entry format's string type: backslash and line breaks
// escaped.
QString escapedString(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}

// One word of an Exec line in double quotes: inside them '"', '`', '$' and
// '\' take a backslash, and '%' is doubled so that it is no field code.
QString quotedWord(const QString& word)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : word) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        else if (c == u'%')
            out += u'%';
        out += c;
    }
    return out + u'"';
}

// The title as the label shows it: "&&" is one "&", a single "&" is a mark.
QString shownTitle(const QString& title)
{
    QString out;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == u'&' && i + 1 < title.size())
            ++i;
        else if (title[i] == u'&')
            continue;
        out += title[i];
    }
    return out.trimmed();
}

QString slug(const QString& text)
{
    QString out;
    for (const QChar c : text.toLower()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out += c;
        else if (!out.isEmpty() && !out.endsWith(u'-'))
            out += u'-';
    }
    while (out.endsWith(u'-'))
        out.chop(1);
    return out;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

QString DesktopExecValue(const LaunchRequest& launch)
{
    QStringList words{quotedWord(launch.program)};
    for (const QString& argument : launch.arguments)
        words << quotedWord(argument);
    return escapedString(words.join(u' '));
}

QString DesktopEntryText(const QString& title, const LaunchRequest& launch, const QString& iconPath)
{
    QString name = shownTitle(title);
    if (name.isEmpty())
        name = QFileInfo(launch.program).fileName();
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=") +
                   escapedString(name) + QStringLiteral("\nExec=") + DesktopExecValue(launch) +
                   QStringLiteral("\nPath=") + escapedString(launch.workingDirectory) + u'\n';
    if (!iconPath.isEmpty())
        text += QStringLiteral("Icon=") + escapedString(iconPath) + u'\n';
    return text + QStringLiteral("Terminal=false\nCategories=Game;\n");
}

QString DesktopEntryId(const QString& title, const LaunchRequest& launch)
{
    QString name = slug(shownTitle(title));
    if (name.isEmpty())
        name = slug(QFileInfo(launch.program).completeBaseName());
    return QStringLiteral("zenkor-") + (name.isEmpty() ? QStringLiteral("program") : name);
}

QString WriteDesktopEntry(const QString& dataHome, const QString& title,
                          const LaunchRequest& launch, const QString& iconSource)
{
    const QString id = DesktopEntryId(title, launch);
    const QDir home(dataHome);
    QString icon;
    if (QFileInfo(iconSource).isFile()) {
        icon = home.filePath(QStringLiteral("icons/%1.png").arg(id));
        QFile source(iconSource);
        if (!home.mkpath(QStringLiteral("icons")) || !source.open(QIODevice::ReadOnly) ||
            !writeFile(icon, source.readAll()))
            return icon;
    }
    QString entry = home.filePath(QStringLiteral("applications/%1.desktop").arg(id));
    if (!home.mkpath(QStringLiteral("applications")) ||
        !writeFile(entry, DesktopEntryText(title, launch, icon).toUtf8()))
        return entry;
    return {};
}
