#include "base/exception.h"
#include "base/executable_path.h"
#include "presentation/cp437.h"
#include "presentation/frm_view_nfo.h"
#include "presentation/nfo_file.h"
#include "qt_application.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Runs the test with setup in a fresh temporary folder, also the current
// directory.
class NfoViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qtApplication();
        previous_ = QDir::currentPath();
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
        SetExecutablePathOverride(path(QStringLiteral("setup")).toStdString());
    }
    void TearDown() override
    {
        SetExecutablePathOverride({});
        QDir::setCurrent(previous_);
    }

    QString path(const QString& name) const { return folder_.filePath(name); }

    std::string errorOf(Tfrm_ViewNfo& viewer)
    {
        try {
            viewer.LoadNfoFile();
        } catch (const Exception& error) {
            return error.Message();
        }
        return "no error";
    }

    QTemporaryDir folder_;
    QString previous_;
};

// The folder tree moves the current directory; the package's NFO stays
// setup's, read anew at each click.
TEST_F(NfoViewerTest, ReadsTheFileBesideSetupAtEachClickWhereverTheCurrentDirectoryIs)
{
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    writeFile(path("zenkor.nfo"), "setup's folder");
    writeFile(QDir(other.path()).filePath("zenkor.nfo"), "another folder");

    Tfrm_ViewNfo viewer;
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "NFOFile");
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "setup's folder");

    ASSERT_TRUE(QDir::setCurrent(other.path()));
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "setup's folder");

    writeFile(path("zenkor.nfo"), "changed\r\nfile");
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "changed\nfile");
}

TEST_F(NfoViewerTest, LfOnlyShowsTheSameLinesAsCrLf)
{
    Tfrm_ViewNfo viewer;
    writeFile(path("zenkor.nfo"), "one\ntwo\n\nfour");
    viewer.LoadNfoFile();
    const QString lfOnly = viewer.NFOFile->toPlainText();
    writeFile(path("zenkor.nfo"), "one\r\ntwo\r\n\r\nfour");
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), lfOnly);
    EXPECT_EQ(viewer.NFOFile->document()->blockCount(), 4);
}

TEST_F(NfoViewerTest, EmptyFileAndTextEndingAtNul)
{
    Tfrm_ViewNfo viewer;
    writeFile(path("zenkor.nfo"), "");
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "");

    writeFile(path("zenkor.nfo"), QByteArray("shown\0hidden", 12));
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "shown");

    writeFile(path("zenkor.nfo"), QByteArray("\0all hidden", 11));
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "");
}

TEST_F(NfoViewerTest, EveryByteValueShowsItsCp437Glyph)
{
    QByteArray bytes;
    for (int byte = 1; byte <= 0xFF; ++byte)
        bytes += static_cast<char>(byte);
    bytes += '\0';
    writeFile(path("zenkor.nfo"), bytes);

    Tfrm_ViewNfo viewer;
    viewer.LoadNfoFile();
    // The raw text, as toPlainText() turns the no-break space of 255 into a space.
    QString shown = viewer.NFOFile->document()->toRawText();
    shown.replace(QChar::ParagraphSeparator, u'\n');
    // Tab stays a tab; LF, and CR before it, are line breaks.
    QString expected;
    for (int byte = 1; byte <= 0xFF; ++byte) {
        if (byte == '\t' || byte == '\n')
            expected += QChar(byte);
        else if (byte == '\r')
            expected += u'\n';
        else
            expected += QChar(cp437Glyph(static_cast<unsigned char>(byte)));
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(NfoViewerTest, TheRasterFontDrawsEveryGlyphItself)
{
    Tfrm_ViewNfo viewer;
    const QFont font = viewer.NFOFile->font();
    EXPECT_EQ(QFontInfo(font).family().toStdString(), "Fixed");
    EXPECT_EQ(QFontInfo(font).pixelSize(), 8);
    EXPECT_TRUE(QFontInfo(font).fixedPitch());

    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    for (int byte = 1; byte <= 0xFF; ++byte) {
        const char16_t glyph = cp437Glyph(static_cast<unsigned char>(byte));
        if (glyph != u' ' && glyph != u'\u00A0') {
            EXPECT_TRUE(raw.supportsCharacter(QChar(glyph))) << "byte " << byte;
        }
    }
}

// Counts the lines of ink that run unbroken through a rectangle of the memo's
// picture: rows when `across`, columns otherwise.
int unbrokenLines(const QImage& shot, const QRect& area, QRgb ink, bool across)
{
    const int lines = across ? area.height() : area.width();
    const int length = across ? area.width() : area.height();
    int unbroken = 0;
    for (int line = 0; line < lines; ++line) {
        bool whole = true;
        for (int at = 0; at < length && whole; ++at) {
            const QPoint pixel =
                across ? area.topLeft() + QPoint(at, line) : area.topLeft() + QPoint(line, at);
            whole = shot.pixel(pixel) == ink;
        }
        unbroken += whole;
    }
    return unbroken;
}

TEST_F(NfoViewerTest, LineCharactersJoinCrisplyFromCellToCell)
{
    writeFile(path("zenkor.nfo"), "\xCD\xCD\xCD\xCD\xCD\r\n\xBA\r\n\xBA\r\n\xBA");
    Tfrm_ViewNfo viewer;
    viewer.LoadNfoFile();
    const QImage shot = viewer.NFOFile->viewport()->grab().toImage();
    const QRgb ink = viewer.NFOFile->palette().color(QPalette::Text).rgb();

    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            colours.insert(shot.pixel(x, y));
    EXPECT_EQ(colours.size(), 2) << "text and background only, nothing smoothed";

    const auto cell = [&](int position) {
        QTextCursor cursor(viewer.NFOFile->document());
        cursor.setPosition(position);
        return viewer.NFOFile->cursorRect(cursor);
    };
    // Five "═" in a row: two rows of ink from the first cell to the last.
    const QRect doubleRow(cell(0).topLeft(), QPoint(cell(5).left() - 1, cell(0).bottom()));
    EXPECT_EQ(unbrokenLines(shot, doubleRow, ink, true), 2);
    // Three "║" on top of each other: two columns of ink through all lines.
    const int width = QFontMetrics(viewer.NFOFile->font()).horizontalAdvance(u'\u2551');
    const QRect doubleColumn(cell(6).topLeft(),
                             QPoint(cell(6).left() + width - 1, cell(10).bottom()));
    EXPECT_EQ(unbrokenLines(shot, doubleColumn, ink, false), 2);
}

// Run once as it is and once more with QT_SCALE_FACTOR=2: on a denser screen
// the memo shows its 1x picture enlarged pixel for pixel, glyphs and all.
TEST_F(NfoViewerTest, RasterTextGrowsByWholePixelsWithTheScreen)
{
    writeFile(path("zenkor.nfo"),
              "\xC9\xCD\xCD\xBB ZenkoR\r\n\xBA\xDB\xB1\xBA\r\n\xC8\xCD\xCD\xBC");
    Tfrm_ViewNfo viewer;
    viewer.LoadNfoFile();
    QWidget& memo = *viewer.NFOFile->viewport();
    // Grabbing first lays the memo out at its final size.
    const QImage shot = memo.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage native(memo.size(), QImage::Format_RGB32);
    memo.render(&native);
    const QRgb ink = viewer.NFOFile->palette().color(QPalette::Text).rgb();
    int inked = 0;
    for (int y = 0; y < native.height(); ++y)
        for (int x = 0; x < native.width(); ++x)
            inked += native.pixel(x, y) == ink;
    ASSERT_GT(inked, 0) << "the text is drawn";

    const qreal ratio = memo.devicePixelRatioF();
    const QImage enlarged =
        native.scaled(native.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_EQ(shot.size(), enlarged.size());
    EXPECT_TRUE(shot == enlarged) << "at " << ratio << "x";
}

TEST_F(NfoViewerTest, ErrorsKeepThePreviousText)
{
    Tfrm_ViewNfo viewer;
    writeFile(path("zenkor.nfo"), "kept");
    viewer.LoadNfoFile();

    ASSERT_TRUE(QFile::remove(path("zenkor.nfo")));
    EXPECT_EQ(errorOf(viewer), "Cannot open file zenkor.nfo");

    ASSERT_TRUE(QDir(folder_.path()).mkdir("zenkor.nfo"));
    EXPECT_EQ(errorOf(viewer), "Cannot open file zenkor.nfo");
    ASSERT_TRUE(QDir(folder_.path()).rmdir("zenkor.nfo"));

    ASSERT_EQ(mkfifo(QFile::encodeName(path("zenkor.nfo")).constData(), 0600), 0);
    EXPECT_EQ(errorOf(viewer), "Cannot open file zenkor.nfo"); // without waiting for a writer
    ASSERT_TRUE(QFile::remove(path("zenkor.nfo")));

    writeFile(path("zenkor.nfo"), QByteArray(kNfoCapacity + 1, 'x'));
    EXPECT_EQ(errorOf(viewer), "Text exceeds memo capacity");
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "kept");
}

TEST_F(NfoViewerTest, CapacityCountsTheTextBeforeTheNul)
{
    const struct {
        QByteArray bytes;
        bool fits;
    } cases[] = {
        {QByteArray(64, 'x'), true},
        {QByteArray(65, 'x'), false},
        {QByteArray(64, 'x') + '\0' + QByteArray(1000, 'y'), true},
        {QByteArray(), true},
    };
    for (const auto& c : cases) {
        writeFile(path("n.nfo"), c.bytes);
        bool fits = true;
        try {
            readNfoFile(path("n.nfo"), 64);
        } catch (const Exception&) {
            fits = false;
        }
        EXPECT_EQ(fits, c.fits) << c.bytes.size();
    }
}

TEST_F(NfoViewerTest, HugeFileIsRefusedAndABinaryOneIsShown)
{
    {
        QFile huge(path("zenkor.nfo"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(100LL * 1024 * 1024)); // sparse: reads back as NULs
    }
    Tfrm_ViewNfo viewer;
    viewer.LoadNfoFile();
    EXPECT_EQ(viewer.NFOFile->toPlainText(), "");

    QByteArray binary;
    for (int i = 0; i < 100000; ++i)
        binary += static_cast<char>(1 + (i * 7919) % 255);
    writeFile(path("zenkor.nfo"), binary + QByteArray(100LL * 1024 * 1024 - binary.size(), 'z'));
    EXPECT_EQ(errorOf(viewer), "Text exceeds memo capacity");

    writeFile(path("zenkor.nfo"), binary);
    EXPECT_EQ(errorOf(viewer), "no error");
    EXPECT_FALSE(viewer.NFOFile->toPlainText().isEmpty());
}

TEST_F(NfoViewerTest, WindowLayout)
{
    Tfrm_ViewNfo viewer;
    EXPECT_EQ(viewer.windowTitle(), "View ZenkoR NFO File");
    EXPECT_TRUE(viewer.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(viewer.size(), QSize(497, 375));
    EXPECT_EQ(viewer.minimumSize(), viewer.maximumSize());
    EXPECT_EQ(viewer.NFOFile->geometry(), QRect(0, 0, 497, 377));
    EXPECT_TRUE(viewer.NFOFile->isReadOnly());
    EXPECT_TRUE(viewer.NFOFile->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    EXPECT_TRUE(viewer.NFOFile->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    EXPECT_EQ(viewer.NFOFile->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(viewer.NFOFile->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(viewer.NFOFile->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(NfoViewerTest, ShowsModallyWithTheMemoFocusedAndClosesOnlyByItsCloseBox)
{
    writeFile(path("zenkor.nfo"), "modal");
    Tfrm_ViewNfo viewer;
    bool wasModal = false, memoFocused = false, stayedOpenOnEscape = false;
    QString shown;
    QTimer::singleShot(0, &viewer, [&] {
        wasModal = viewer.isModal() && viewer.isVisible();
        memoFocused = viewer.focusWidget() == viewer.NFOFile;
        shown = viewer.NFOFile->toPlainText();
        QTest::keyClick(viewer.NFOFile, Qt::Key_Escape);
        stayedOpenOnEscape = viewer.isVisible();
        viewer.close();
    });
    viewer.ShowNfoFile();
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(stayedOpenOnEscape);
    EXPECT_TRUE(memoFocused);
    EXPECT_EQ(shown, "modal");
    EXPECT_FALSE(viewer.isVisible());

    ASSERT_TRUE(QFile::remove(path("zenkor.nfo")));
    EXPECT_THROW(viewer.ShowNfoFile(), Exception);
    EXPECT_FALSE(viewer.isVisible());
}

} // namespace
