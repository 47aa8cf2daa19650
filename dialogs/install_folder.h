#pragma once

#include <QString>
#include <QStringList>

// The folders made so that the configured install folder can be opened: its
// missing parents and itself. Those still empty when the dialog closes are
// taken away again, so a cancelled or redirected install leaves nothing.
class MadeFolders {
public:
    // Makes `path` with every missing parent; false when one cannot be made.
    bool make(const QString& path);
    // Removes the made folders that are still empty, deepest first; answers
    // whether `open` was among them.
    bool removeEmpty(const QString& open);

private:
    QStringList made_; // shallowest first
};

// True when `folder` is the folder the running installer lies in.
bool IsInstallerFolder(const QString& folder);
