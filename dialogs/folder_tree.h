#pragma once

#include <QString>
#include <QTreeWidget>

// The folder tree: the root, every folder on the path to the open folder and
// the open folder itself (selected), then the open folder's subfolders in
// name order, hidden ones left out. A double click or Enter opens an entry
// (Enter on the open folder passes to the window); opening a folder by any
// means makes it the process's current directory.
class TDirectoryListBox : public QTreeWidget {
    Q_OBJECT
public:
    explicit TDirectoryListBox(QWidget* parent);

    // The open folder as the platform reports the current directory.
    QString Directory() const { return directory_; }
    // Opens a folder; throws Exception "I/O error N" when it cannot be entered.
    void SetDirectory(const QString& path);
    // The mount point of the open folder's volume.
    QString Drive() const;
    // Opens the root of another volume; the same volume changes nothing.
    void SetDrive(const QString& root);
    // Rebuilds the entries from disk.
    void Update();

signals:
    void mouseMoved();
    // A folder was opened.
    void directoryChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void openItem(QTreeWidgetItem* item);

    QString directory_;
};
