#include "dialogs/install_folder.h"

#include "base/executable_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

bool MadeFolders::make(const QString& path)
{
    QStringList missing;
    for (QString folder = QDir::cleanPath(path); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path())
        missing.prepend(folder);
    for (const QString& folder : missing) {
        if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0)
            return false;
        made_.append(folder);
    }
    return true;
}

bool MadeFolders::removeEmpty(const QString& open)
{
    bool openRemoved = false;
    while (!made_.isEmpty()) {
        const QString folder = made_.takeLast();
        if (::rmdir(QFile::encodeName(folder).constData()) != 0)
            break; // not empty: the folders above it are not either
        openRemoved = openRemoved || QDir::cleanPath(open) == folder;
    }
    made_.clear();
    return openRemoved;
}

bool IsInstallerFolder(const QString& folder)
{
    const QString installer =
        QFileInfo(QString::fromStdString(ExecutableFolder())).canonicalFilePath();
    return !installer.isEmpty() && QFileInfo(folder).canonicalFilePath() == installer;
}
