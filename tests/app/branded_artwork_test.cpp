#include "widgets/picture.h"
#include "installer_fixture.h"
#include "resources/artwork.h"

#include <QBuffer>
#include <QPainter>

namespace {

// A packager's installer folder with some of the built-in pictures replaced
// by files beside `setup`.
class BrandedArtworkTest : public InstallerFixture {
protected:
    void SetUp() override { writeIni(workedExample()); }

    void place(const QString& name, const QByteArray& content)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void place(const QString& name, const QImage& picture)
    {
        ASSERT_TRUE(picture.save(dir.filePath(name), "PNG"));
    }

    // The picture control drawn over a blue background.
    static QImage drawnOverBlue(TPicture* picture)
    {
        QImage canvas(picture->size(), QImage::Format_RGB32);
        canvas.fill(Qt::blue);
        QPainter painter(&canvas);
        picture->render(&painter, {}, {}, QWidget::DrawChildren);
        return canvas;
    }
};

TEST_F(BrandedArtworkTest, PicturesBesideSetupReplaceTheBuiltInOnesAndBrokenOnesFallBack)
{
    // A header whose left column has the bottom-left colour, which must not be
    // drawn, and whose other pixels are green.
    QImage header(6, 4, QImage::Format_RGB32);
    header.fill(Qt::green);
    for (int y = 0; y < header.height(); ++y)
        header.setPixel(0, y, qRgb(200, 0, 0));
    place(QStringLiteral("header.png"), header);
    QImage install(10, 10, QImage::Format_RGB32);
    install.fill(Qt::yellow);
    place(QStringLiteral("install_lit.png"), install);
    place(QStringLiteral("install.png"), QByteArray("not a picture"));
    // A JPEG under a PNG name is not taken either.
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        install.save(&buffer, "JPG");
    }
    place(QStringLiteral("exit.png"), jpeg);
    createWindow();

    EXPECT_EQ(window->Image->picture().convertToFormat(QImage::Format_RGB32), header);
    const QImage drawn = drawnOverBlue(window->Image);
    EXPECT_EQ(drawn.pixel(0, 3), qRgb(0, 0, 255)) << "the replaced header's key colour is drawn";
    EXPECT_EQ(drawn.pixel(3, 1), qRgb(0, 255, 0));
    EXPECT_EQ(drawn.pixel(10, 10), qRgb(0, 0, 255)) << "the picture is not scaled to the control";

    EXPECT_EQ(window->img_install2->picture().convertToFormat(QImage::Format_RGB32), install);
    EXPECT_EQ(window->img_install->picture(), QImage(artwork::kInstall));
    EXPECT_EQ(window->img_exit->picture(), QImage(artwork::kExit));
    EXPECT_EQ(window->img_nfo->picture(), QImage(artwork::kNfo));
}

} // namespace
