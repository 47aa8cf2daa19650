#include "widgets/label.h"
#include "widgets/picture.h"
#include "installer_fixture.h"
#include "presentation/media_player.h"

#include <QFontMetrics>

namespace {

using CreationSequenceTest = InstallerFixture;

std::vector<QString> boxTexts(const MessageBoxRecorder& recorder)
{
    std::vector<QString> texts;
    for (const auto& box : recorder.boxes)
        texts.push_back(box.text);
    return texts;
}

QColor windowColour(const QWidget& w)
{
    return w.palette().color(QPalette::Window);
}

void expectLinesStackedUnderTheTitle(const Tfrm_zenkor& w)
{
    EXPECT_EQ(w.lbl_GameTitle->y(), 176);
    EXPECT_EQ(w.lbl_line1->y(), 180 + w.lbl_GameTitle->height());
    EXPECT_EQ(w.lbl_line2->y(), w.lbl_line1->y() + w.lbl_line1->height());
    EXPECT_EQ(w.lbl_line3->y(), w.lbl_line2->y() + w.lbl_line2->height());
}

TEST_F(CreationSequenceTest, WorkedExampleBrandsTheWindow)
{
    writeIni(workedExample());
    createWindow();
    const Tfrm_zenkor& w = *window;

    EXPECT_EQ(boxTexts(boxes), std::vector<QString>{});
    EXPECT_EQ(w.width(), 640);
    const int lines = w.lbl_GameTitle->height() + w.lbl_line1->height() * 3;
    EXPECT_EQ(w.height(), std::max(250, 180 + lines));
    EXPECT_GT(w.lbl_GameTitle->height(), w.lbl_line1->height());
    expectLinesStackedUnderTheTitle(w);
    for (const TAutoLabel* line : {w.lbl_GameTitle, w.lbl_line1, w.lbl_line2, w.lbl_line3}) {
        EXPECT_EQ(line->width(), 520);
        EXPECT_EQ(line->x(), 8);
    }

    EXPECT_EQ(w.lbl_GameTitle->text(), u"Some Game");
    EXPECT_EQ(w.lbl_GameTitle->backgroundShown(), QColor(0, 0, 0));
    EXPECT_EQ(w.lbl_GameTitle->textColour(), QColor(255, 255, 0));
    EXPECT_EQ(w.lbl_line1->textColour(), QColor(255, 255, 255));
    EXPECT_EQ(w.lbl_line2->textColour(), QColor(192, 192, 192));
    EXPECT_EQ(w.lbl_line3->textColour(), QColor(0, 255, 0));
    EXPECT_EQ(w.lbl_line3->text(), u"Press Install to begin");
    EXPECT_EQ(windowColour(w), QColor(0, 0, 0));
    EXPECT_EQ(w.lbl_line1->backgroundShown(), QColor(0, 0, 0));
    EXPECT_EQ(w.StaticText3->backgroundShown(), QColor(0, 0, 0));

    EXPECT_EQ(w.RunProgram->text(), u"game.exe");
    EXPECT_EQ(w.InstallPath->text(), QDir::currentPath() + QStringLiteral("/Games/SomeGame"));
    EXPECT_EQ(w.SpaceRequired->text(), u"650");
    EXPECT_EQ(w.RARFile->text(), dir.path() + QStringLiteral("/data/game.rar"));

    EXPECT_EQ(media.openedFile, "music.mid");
    EXPECT_EQ(media.calls, (std::vector<std::string>{"open", "rewind", "play"}));
}

struct FontCase {
    const char* size;
    bool valueLabelsInView;
};

class TitleFontSizeTest : public InstallerFixture, public testing::WithParamInterface<FontCase> {};

TEST_P(TitleFontSizeTest, WindowGrowsWithTheTitleAndKeepsItsMinimum)
{
    writeIni(replacing(workedExample(), "GameTitleFontSize", GetParam().size));
    createWindow();
    const Tfrm_zenkor& w = *window;
    ASSERT_TRUE(boxes.boxes.empty());

    const int natural = 180 + w.lbl_GameTitle->height() + 3 * w.lbl_line1->height();
    EXPECT_EQ(w.height(), std::max(250, natural));
    expectLinesStackedUnderTheTitle(w);
    // The lowest button ends at 241: all three stay inside the window.
    EXPECT_GE(w.height(), w.img_exit->geometry().bottom() + 1);
    EXPECT_EQ(w.height() > w.InstallPath->y(), GetParam().valueLabelsInView);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TitleFontSizeTest,
                         testing::Values(FontCase{"0", false}, FontCase{"letters", false},
                                         FontCase{"0x10", false}, FontCase{"100", true},
                                         FontCase{"2147483647", true}));

TEST_F(CreationSequenceTest, DefaultTitleSizeIsTheLayoutFontsLine)
{
    writeIni(replacing(workedExample(), "GameTitleFontSize", "0"));
    createWindow();
    EXPECT_EQ(window->lbl_GameTitle->height(), window->lbl_line1->height());
    EXPECT_EQ(window->height(), 250);
}

TEST_F(CreationSequenceTest, HexadecimalFontSizesMatchTheirDecimalValue)
{
    writeIni(replacing(workedExample(), "GameTitleFontSize", "$10"));
    createWindow();
    const int hexHeight = window->lbl_GameTitle->height();
    writeIni(replacing(workedExample(), "GameTitleFontSize", "16"));
    createWindow();
    EXPECT_EQ(window->lbl_GameTitle->height(), hexHeight);
    EXPECT_GT(hexHeight, window->lbl_line1->height());
}

TEST_F(CreationSequenceTest, MissingFileStopsAtTheFirstColour)
{
    createWindow();
    const Tfrm_zenkor& w = *window;

    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, u"error");
    EXPECT_EQ(boxes.boxes[0].caption, u"Error");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.boxes[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(boxes.boxes[1].text, u"'$' is not a valid integer value.");
    EXPECT_EQ(boxes.boxes[1].caption, u"Setup");
    EXPECT_EQ(boxes.boxes[1].icon, QMessageBox::Critical);

    EXPECT_EQ(w.height(), 180);
    EXPECT_EQ(windowColour(w), QColor(128, 0, 0));
    EXPECT_EQ(w.lbl_GameTitle->backgroundShown(), QColor(128, 0, 0));
    EXPECT_EQ(w.lbl_line1->y(), 240);
    EXPECT_EQ(w.lbl_line2->y(), 256);
    EXPECT_EQ(w.lbl_line3->y(), 272);
    EXPECT_EQ(w.InstallPath->text(), u"Install Path");
    EXPECT_EQ(w.SpaceRequired->text(), u"SpaceRequired");
    EXPECT_EQ(w.RARFile->text(), u"RARFile");
    EXPECT_EQ(w.RunProgram->text(), u"");
    EXPECT_TRUE(media.calls.empty());
}

TEST_F(CreationSequenceTest, FolderNamedLikeTheFileCountsAsMissing)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("install.ini")));
    createWindow();
    EXPECT_EQ(boxTexts(boxes),
              (std::vector<QString>{QStringLiteral("error"),
                                    QStringLiteral("'$' is not a valid integer value.")}));
    EXPECT_EQ(window->height(), 180);
}

TEST_F(CreationSequenceTest, RandomBytesStopAtTheFirstColour)
{
    QByteArray bytes(4096, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7919 + 13) % 256);
    writeIni(bytes);
    createWindow();
    EXPECT_EQ(boxTexts(boxes),
              std::vector<QString>{QStringLiteral("'$' is not a valid integer value.")});
}

TEST_F(CreationSequenceTest, BadLineColourLeavesTheLaterKeysUnread)
{
    writeIni(replacing(workedExample(), "InfoLine1ColorForeground", "#FFFFFF"));
    createWindow();
    const Tfrm_zenkor& w = *window;

    EXPECT_EQ(boxTexts(boxes),
              std::vector<QString>{QStringLiteral("'$#FFFFFF' is not a valid integer value.")});
    // Steps up to the stacking ran.
    EXPECT_EQ(w.lbl_GameTitle->textColour(), QColor(255, 255, 0));
    EXPECT_EQ(w.lbl_line2->text(), u"Requires a 3D accelerator");
    expectLinesStackedUnderTheTitle(w);
    // Keys 9 to 15 and everything after the failure did not.
    EXPECT_EQ(w.lbl_line2->textColour(), QColor(255, 255, 255));
    EXPECT_EQ(w.lbl_line3->textColour(), QColor(255, 255, 255));
    EXPECT_NE(w.lbl_line1->width(), 520);
    EXPECT_EQ(w.RunProgram->text(), u"");
    EXPECT_EQ(w.InstallPath->text(), u"Install Path");
    EXPECT_EQ(w.SpaceRequired->text(), u"SpaceRequired");
    EXPECT_EQ(w.RARFile->text(), u"RARFile");
    EXPECT_EQ(w.height(), 180);
    EXPECT_EQ(windowColour(w), QColor(128, 0, 0));
    EXPECT_TRUE(media.calls.empty());
}

TEST_F(CreationSequenceTest, LongValuesAndLoneQuotesAreTakenAsText)
{
    QByteArray ini = replacing(workedExample(), "GameTitle", QByteArray(2000, 'W'));
    ini = replacing(ini, "InfoLine1", "\"");
    writeIni(ini);
    createWindow();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(window->lbl_GameTitle->text().size(), 1023);
    EXPECT_EQ(window->lbl_line1->text(), u"\"");
}

TEST_F(CreationSequenceTest, MusicThatCannotOpenEndsTheSequenceLast)
{
    media.openError = "The specified file cannot be played";
    writeIni(workedExample());
    createWindow();
    EXPECT_EQ(boxTexts(boxes),
              std::vector<QString>{QStringLiteral("The specified file cannot be played.")});
    EXPECT_EQ(windowColour(*window), QColor(0, 0, 0));
    EXPECT_EQ(window->lbl_line1->width(), 520);
    EXPECT_FALSE(window->Music->IsOpen());
}

TEST_F(CreationSequenceTest, EndOfTheMusicRewindsWithoutPlayingAgain)
{
    writeIni(workedExample());
    createWindow();
    ASSERT_TRUE(media.done);
    media.calls.clear();
    media.done(MediaBackend::Notice::Successful);
    EXPECT_EQ(media.calls, std::vector<std::string>{"rewind"});
}

TEST_F(CreationSequenceTest, EmptyLinesKeepOneLineOfHeight)
{
    QByteArray ini = workedExample();
    for (const char* key : {"InfoLine1", "InfoLine2", "InfoLine3"})
        ini = replacing(ini, key, "");
    writeIni(ini);
    createWindow();
    // The layout font's designed 13-pixel line.
    for (const TAutoLabel* line : {window->lbl_line1, window->lbl_line2, window->lbl_line3})
        EXPECT_EQ(line->height(), 13);
    expectLinesStackedUnderTheTitle(*window);
}

} // namespace
