#include "dialogs/folder_tree.h"

#include "base/exception.h"
#include "dialogs/drive_list.h"
#include "widgets/guard.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QStyle>

#include <cerrno>
#include <unistd.h>

namespace {

constexpr int kPathRole = Qt::UserRole;

QTreeWidgetItem* addEntry(QTreeWidget* tree, QTreeWidgetItem* parent, const QString& name,
                          const QString& path, QStyle::StandardPixmap picture)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, name);
    item->setData(0, kPathRole, path);
    item->setIcon(0, tree->style()->standardIcon(picture));
    return item;
}

} // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent)
    : QTreeWidget(parent), directory_(QDir::currentPath())
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(10);
    setUniformRowHeights(true);
    setIconSize(QSize(14, 14));
    // Every level is always open: no expand or collapse marks.
    setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    viewport()->setMouseTracking(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { runGuarded([this, item] { openItem(item); }); });
    Update();
}

void TDirectoryListBox::SetDirectory(const QString& path)
{
    if (::chdir(QFile::encodeName(path).constData()) != 0)
        throw Exception(QStringLiteral("I/O error %1").arg(errno).toStdString());
    directory_ = QDir::currentPath();
    Update();
    emit directoryChanged();
}

QString TDirectoryListBox::Drive() const
{
    return VolumeRootOf(directory_);
}

void TDirectoryListBox::SetDrive(const QString& root)
{
    if (root != Drive())
        SetDirectory(root);
}

void TDirectoryListBox::Update()
{
    clear();
    const QString root = QDir::rootPath();
    QTreeWidgetItem* open = addEntry(this, nullptr, root, root, QStyle::SP_DirOpenIcon);
    QString path = root;
    for (const QString& name : directory_.split(u'/', Qt::SkipEmptyParts)) {
        path = QDir(path).filePath(name);
        open = addEntry(this, open, name, path, QStyle::SP_DirOpenIcon);
    }
    const QDir folder(directory_);
    for (const QString& name :
         folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        addEntry(this, open, name, folder.filePath(name), QStyle::SP_DirClosedIcon);
    expandAll();
    setCurrentItem(open);
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter on the folder already open is left to the window around.
        QTreeWidgetItem* item = currentItem();
        if (!item || item->data(0, kPathRole).toString() == directory_) {
            event->ignore();
            return;
        }
        runGuarded([this, item] { openItem(item); });
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

bool TDirectoryListBox::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseMove)
        runGuarded([this] { emit mouseMoved(); });
    return QTreeWidget::viewportEvent(event);
}

void TDirectoryListBox::openItem(QTreeWidgetItem* item)
{
    if (item)
        SetDirectory(item->data(0, kPathRole).toString());
}
