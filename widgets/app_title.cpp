#include "widgets/app_title.h"

#include "base/executable_path.h"

#include <QFileInfo>

QString applicationTitleFor(const QString& executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1).toUpper() + name.mid(1).toLower();
}

QString applicationTitle()
{
    return applicationTitleFor(QString::fromStdString(ExecutablePath()));
}
