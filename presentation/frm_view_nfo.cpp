#include "presentation/frm_view_nfo.h"

#include "base/executable_path.h"
#include "presentation/nfo_file.h"
#include "presentation/nfo_font.h"
#include "presentation/raster_memo.h"
#include "widgets/window_controls.h"
#include "widgets/window_placement.h"

#include <QDir>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPlainTextEdit>

Tfrm_ViewNfo* frm_ViewNfo = nullptr;

namespace {

const QString kNfoFileName = QStringLiteral("zenkor.nfo");

} // namespace

Tfrm_ViewNfo::Tfrm_ViewNfo(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      NFOFile(new TRasterMemo(this))
{
    setWindowTitle(QStringLiteral("View ZenkoR NFO File"));
    setFixedSize(497, 375);
    QPalette windowColours = palette();
    windowColours.setColor(QPalette::Window, QColor(0x80, 0x00, 0x80));
    setPalette(windowColours);
    setAutoFillBackground(true);

    NFOFile->setObjectName(QStringLiteral("NFOFile"));
    // The system's window colours, not the purple the form passes down.
    QPalette memoColours = NFOFile->palette();
    memoColours.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::Window));
    NFOFile->setPalette(memoColours);
    // Two pixels taller than the client area: the lower border lies outside.
    NFOFile->setGeometry(0, 0, 497, 377);
    NFOFile->setFont(nfoFont());
    NFOFile->setReadOnly(true);
    NFOFile->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    NFOFile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    NFOFile->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NFOFile->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    NFOFile->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    NFOFile->setTabStopDistance(8 * QFontMetricsF(NFOFile->font()).horizontalAdvance(u' '));
    NFOFile->setPlainText(QStringLiteral("NFOFile"));
    NFOFile->setFocus();

    closeOnAltF4(*this);
}

void Tfrm_ViewNfo::keyPressEvent(QKeyEvent* event)
{
    // The viewer closes only by its close box; Esc would otherwise reject it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tfrm_ViewNfo::LoadNfoFile()
{
    // Read from setup's own folder, not the current directory: the folder
    // tree moves that, and the NFO would be lost once the user had browsed.
    const QDir setupFolder(QString::fromStdString(ExecutableFolder()));
    NFOFile->setPlainText(readNfoFile(setupFolder.filePath(kNfoFileName)));
}

void Tfrm_ViewNfo::ShowNfoFile()
{
    LoadNfoFile();
    NFOFile->setFocus();
    // Centred once, on the screen of the window it belongs to; later
    // showings keep the place the user left it at.
    if (!placed_) {
        placed_ = true;
        centreOnScreen(*this, screenOfOwner(*this), rect().center());
    }
    exec();
}
