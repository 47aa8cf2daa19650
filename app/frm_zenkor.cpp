#include "app/frm_zenkor.h"

#include "config/colour.h"
#include "widgets/screen_colour.h"
#include "config/config_paths.h"
#include "widgets/window_controls.h"
#include "config/ini_file.h"
#include "widgets/label.h"
#include "widgets/layout_font.h"
#include "widgets/message_box.h"
#include "widgets/picture.h"
#include "widgets/picture_bindings.h"
#include "widgets/window_placement.h"
#include "widgets/guard.h"
#include "app/desktop_entry.h"
#include "app/program_launcher.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/modal_result.h"
#include "presentation/frm_view_nfo.h"
#include "presentation/media_player.h"
#include "resources/artwork.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardPaths>

Tfrm_zenkor* frm_zenkor = nullptr;

namespace {

const QString kSection = QStringLiteral("zenkor Installer");
constexpr int kWidth = 640;
constexpr int kDesignHeight = 447;
constexpr int kCreatedHeight = 180;
constexpr int kMinimumHeight = 250;
constexpr int kLineWidth = 520;

TPicture* picture(QWidget* parent, int left, int top, int width, int height,
                  QLatin1StringView resource)
{
    return new TPicture(parent, QRect(left, top, width, height), resource);
}

TPicture* litTwin(QWidget* parent, int left, int top, int width, int height,
                  QLatin1StringView resource, const QString& hint)
{
    TPicture* twin = picture(parent, left, top, width, height, resource);
    twin->setToolTip(hint);
    twin->hide();
    return twin;
}

TAutoLabel* label(QWidget* parent, int left, int top, const QString& text, const QColor& textColour)
{
    auto* lbl = new TAutoLabel(parent, QPoint(left, top), text, textColour);
    lbl->setFont(layoutFont());
    return lbl;
}

TAutoLabel* staticText(QWidget* parent, const QRect& geometry, const QString& text,
                       const QColor& textColour)
{
    TAutoLabel* lbl = label(parent, geometry.left(), geometry.top(), text, textColour);
    lbl->setAutoSize(false);
    lbl->resize(geometry.size());
    return lbl;
}

} // namespace

Tfrm_zenkor::Tfrm_zenkor(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Install Program"));
    setFont(layoutFont());
    setMouseTracking(true);
    setAutoFillBackground(true);
    setColour(ColorToQColor(clMaroon));
    setCursor(Qt::ArrowCursor);
    setClientHeight(kDesignHeight);
    createControls();
    bindHandlers();
    // A borderless window has no caption to move it by; the header stands in.
    letWindowBeDraggedBy(*Image);
    closeOnAltF4(*this);
}

void Tfrm_zenkor::createControls()
{
    const QColor white = ColorToQColor(clWhite);
    Image = picture(this, 24, 8, 617, 169, artwork::kHeader);
    Image->setTransparent(true);
    InstallPath = label(this, 64, 328, QStringLiteral("Install Path"), white);
    RARFile = label(this, 64, 360, QStringLiteral("RARFile"), white);
    img_install = picture(this, 536, 152, 97, 25, artwork::kInstall);
    img_exit = picture(this, 536, 216, 81, 25, artwork::kExit);
    img_nfo = picture(this, 536, 184, 73, 25, artwork::kNfo);

    lbl_GameTitle = label(this, 8, 176, QString(), ColorToQColor(clHighlightText));
    lbl_GameTitle->setAlignment(Qt::AlignHCenter);
    lbl_GameTitle->setBackground(ColorToQColor(clMaroon));

    img_install2 =
        litTwin(this, 536, 152, 97, 25, artwork::kInstallLit, QStringLiteral("Install Program"));
    img_nfo2 = litTwin(this, 536, 184, 73, 25, artwork::kNfoLit, QStringLiteral("View NFO File"));
    img_exit2 = litTwin(this, 536, 216, 81, 25, artwork::kExitLit,
                        QStringLiteral("Leave ZenkoR Installer"));
    twins_.setTwins({img_install2, img_nfo2, img_exit2});
    img_install->setLitTwin(img_install2);
    img_nfo->setLitTwin(img_nfo2);
    img_exit->setLitTwin(img_exit2);
    // Tab goes down the buttons as they stand.
    setTabOrder(img_install, img_nfo);
    setTabOrder(img_nfo, img_exit);

    lbl_line1 = label(this, 8, 240, QString(), white);
    lbl_line2 = label(this, 8, 256, QString(), white);
    lbl_line3 = label(this, 8, 272, QString(), white);
    for (TAutoLabel* line : {lbl_line1, lbl_line2, lbl_line3})
        line->setAlignment(Qt::AlignHCenter);
    SpaceRequired = label(this, 64, 344, QStringLiteral("SpaceRequired"), white);
    RunProgram = label(this, 64, 376, QString(), white);

    Music = new TMediaPlayer(this);
    Music->setGeometry(24, 400, 253, 33);
    Music->setAttribute(Qt::WA_NoMousePropagation);

    const QColor olive = ColorToQColor(clOlive);
    StaticText1 = staticText(this, {552, 0, 86, 17}, QStringLiteral("code: zenkor"), olive);
    StaticText1->setBackground(Qt::black);
    StaticText2 = staticText(this, {544, 16, 98, 17}, QStringLiteral("gfx: zenkor art"), olive);
    StaticText2->setBackground(Qt::black);
    StaticText3 =
        staticText(this, {600, 32, 34, 17}, QStringLiteral("v.0.98"), ColorToQColor(clSilver));
    QFont versionFont = layoutFont();
    versionFont.setPixelSize(7);
    StaticText3->setFont(versionFont);
}

void Tfrm_zenkor::bindHandlers()
{
    const PictureBindings bind(*this);
    bind(Image, &Tfrm_zenkor::FrameMouseMove, nullptr);
    bind({img_install, img_install2}, &Tfrm_zenkor::InstallMouseMove, &Tfrm_zenkor::InstallClick);
    bind({img_nfo, img_nfo2}, &Tfrm_zenkor::NfoMouseMOve, &Tfrm_zenkor::NfoClick);
    bind({img_exit, img_exit2}, &Tfrm_zenkor::ExitMouseMove, &Tfrm_zenkor::ExitClick);
    Music->OnNotify = [this] { MusicNotify(); };
}

void Tfrm_zenkor::FormCreate()
{
    const QString iniPath = PathInExeFolder(QStringLiteral("install.ini"));
    if (!QFileInfo(iniPath).isFile())
        showErrorBox(QStringLiteral("error"));
    setClientHeight(kCreatedHeight);

    const IniFile ini(iniPath);
    const auto text = [&](const char* key) {
        return ini.ReadString(kSection, QString::fromLatin1(key));
    };
    const auto colour = [&](const char* key) { return ColorToQColor(ColourFromText(text(key))); };

    lbl_GameTitle->setText(text("GameTitle"));
    lbl_GameTitle->setBackground(colour("GameTitleColorBackground"));
    lbl_GameTitle->setTextColour(colour("GameTitleColorForeground"));
    lbl_GameTitle->setFont(
        layoutFontAtPoints(ini.ReadInteger(kSection, QStringLiteral("GameTitleFontSize"), 0)));
    lbl_GameTitle->resize(kLineWidth, lbl_GameTitle->height());

    lbl_line1->setText(text("InfoLine1"));
    lbl_line2->setText(text("InfoLine2"));
    lbl_line3->setText(text("InfoLine3"));
    lbl_line1->move(lbl_line1->x(), kCreatedHeight + lbl_GameTitle->height());
    lbl_line2->move(lbl_line2->x(), lbl_line1->y() + lbl_line1->height());
    lbl_line3->move(lbl_line3->x(), lbl_line2->y() + lbl_line2->height());

    lbl_line1->setTextColour(colour("InfoLine1ColorForeground"));
    lbl_line2->setTextColour(colour("InfoLine2ColorForeground"));
    lbl_line3->setTextColour(colour("InfoLine3ColorForeground"));
    for (TAutoLabel* line : {lbl_line1, lbl_line2, lbl_line3})
        line->resize(kLineWidth, line->height());

    RunProgram->setText(text("RunProgram"));
    const int height = kCreatedHeight + lbl_GameTitle->height() + lbl_line1->height() +
                       lbl_line2->height() + lbl_line3->height();
    setClientHeight(qMax(height, kMinimumHeight));

    InstallPath->setText(
        ExpandPath(text("InstallPath"), QDir::currentPath(), kNativePathStyle, QDir::homePath()));
    SpaceRequired->setText(text("SpaceRequired"));
    RARFile->setText(PathInExeFolder(text("RARFile")));
    Music->FileName = text("MidiFile").toStdString();
    desktopEntry_ = ini.ReadInteger(kSection, QStringLiteral("DesktopEntry"), 0) != 0;
    setColour(ColorToQColor(clBlack));

    Music->Open();
    Music->Rewind();
    Music->Play();
}

// The size is fixed, not merely set: tiling window managers then float the
// window at its size instead of stretching it over the screen.
void Tfrm_zenkor::setClientHeight(int height)
{
    setFixedSize(kWidth, height);
}

void Tfrm_zenkor::setColour(const QColor& colour)
{
    QPalette shades = palette();
    shades.setColor(QPalette::Window, colour);
    setPalette(shades);
}

void Tfrm_zenkor::FrameMouseMove()
{
    twins_.showOnly(nullptr);
}

void Tfrm_zenkor::InstallMouseMove()
{
    twins_.showOnly(img_install2);
}

void Tfrm_zenkor::NfoMouseMOve()
{
    twins_.showOnly(img_nfo2);
}

void Tfrm_zenkor::ExitMouseMove()
{
    twins_.showOnly(img_exit2);
}

void Tfrm_zenkor::InstallClick()
{
    frm_ChangeDir->SetInstallPath(InstallPath->text());
    frm_ChangeDir->SetSpaceRequired(SpaceRequired->text());
    frm_ChangeDir->SetRarFile(RARFile->text());
    const int result = frm_ChangeDir->exec();
    if (result == mrOk) {
        showInformationBox(QStringLiteral("Program sucessfully installed!"));
        // The program is started from the folder the files went to; a failed
        // start shows nothing.
        if (const auto request =
                launchRequestFor(frm_ChangeDir->GetDirectory(), RunProgram->text())) {
            if (desktopEntry_)
                writeMenuEntry(*request);
            programLauncher().start(*request);
        }
    } else if (result == mrExtractFailed) {
        showInformationBox(QStringLiteral("Error in RAR file!"));
    }
}

// Nothing outside the install folder is written unless the package asks.
void Tfrm_zenkor::writeMenuEntry(const LaunchRequest& launch)
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString failed = WriteDesktopEntry(dataHome, lbl_GameTitle->text(), launch,
                                             PathInExeFolder(QStringLiteral("setup.png")));
    if (!failed.isEmpty())
        showErrorBox(QStringLiteral("Could not write the menu entry (%1)").arg(failed));
}

void Tfrm_zenkor::NfoClick()
{
    frm_ViewNfo->ShowNfoFile();
}

void Tfrm_zenkor::ExitClick()
{
    QCoreApplication::quit();
}

void Tfrm_zenkor::MusicNotify()
{
    Music->Rewind();
}

void Tfrm_zenkor::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    runGuarded([this] { FrameMouseMove(); });
}

// The keyboard's Install: Enter does what a click on the button does.
void Tfrm_zenkor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        runGuarded([this] { InstallClick(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void Tfrm_zenkor::showEvent(QShowEvent* event)
{
    if (!centred_) {
        centred_ = true;
        centreOnScreen(*this, screen(), rect().center());
    }
    QWidget::showEvent(event);
}
