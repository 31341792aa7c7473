#include "imaging_pictures.h"

#include "render/uDIB.h"
#include "render/uScaler.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

using namespace ImagingTest;

namespace {

// Sizes of the pictures embedded in a PDF file, as poppler lists them.
QList<QSize> EmbeddedPictureSizes(const QString &pdf)
{
    QProcess list;
    list.start("pdfimages", {"-list", pdf});
    if (!list.waitForFinished(30000) || list.exitCode() != 0)
        return {};
    QList<QSize> sizes;
    const QStringList lines = QString::fromLocal8Bit(list.readAllStandardOutput()).split('\n');
    for (const QString &line : lines.mid(2)) {
        const QStringList columns = line.simplified().split(' ');
        if (columns.size() > 4 && columns[2] == "image")
            sizes.append(QSize(columns[3].toInt(), columns[4].toInt()));
    }
    return sizes;
}

QImage Stripes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

class LogoDrawing : public ::testing::Test
{
protected:
    // Draws the logo into a 25 x 12.5 mm box at 600 units per inch and
    // returns the device size of the box.
    QSize DrawAt600Dpi(QPaintDevice &device, const TDIB &logo)
    {
        QPainter painter(&device);
        TScaleCanvas canvas(painter);
        canvas.SetPixelsPerMMX(600 / 25.4f);
        canvas.SetPixelsPerMMY(600 / 25.4f);
        logo.Draw(canvas, 10, 10, 35, 22.5f);
        return QSize(canvas.MMToX(35) - canvas.MMToX(10), canvas.MMToY(22.5f) - canvas.MMToY(10));
    }

    QTemporaryDir FDir;
};

TEST_F(LogoDrawing, PrinterGetsLargePicturesResampledToTheBoxSize)
{
    TDIB logo;
    logo.SetHandle(PackImage(Stripes(2000, 1000)));
    TDIB small;
    small.SetHandle(PackImage(Stripes(100, 50)));

    const auto printed = [&](const TDIB &picture, const QString &name) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FDir.filePath(name));
        printer.setResolution(600);
        const QSize box = DrawAt600Dpi(printer, picture);
        return std::make_pair(box, EmbeddedPictureSizes(FDir.filePath(name)));
    };

    const auto [box, large] = printed(logo, "large.pdf");
    EXPECT_NEAR(box.width(), 590, 1);
    EXPECT_NEAR(box.height(), 295, 1);
    EXPECT_EQ(large, (QList<QSize>{box}));
    // Smaller pictures go to the printer as they are, never enlarged.
    EXPECT_EQ(printed(small, "small.pdf").second, (QList<QSize>{QSize(100, 50)}));
    // A strip far wider than the box but lower: only its width is averaged down.
    TDIB strip;
    strip.SetHandle(PackImage(Filled(30000, 10, qRgb(0, 0, 200))));
    EXPECT_EQ(printed(strip, "strip.pdf").second, (QList<QSize>{QSize(box.width(), 10)}));
    EXPECT_EQ(logo.Width(), 2000); // the logo itself is untouched
}

TEST_F(LogoDrawing, PdfWriterGetsLargePicturesResampledLikeAPrinter)
{
    TDIB logo;
    logo.SetHandle(PackImage(Stripes(2000, 1000)));
    const QString pdf = FDir.filePath("document.pdf");
    QSize box;
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        box = DrawAt600Dpi(writer, logo);
    }
    EXPECT_EQ(EmbeddedPictureSizes(pdf), (QList<QSize>{box}));
}

TEST_F(LogoDrawing, FillsItsDeviceRectangleAndRestoresTheStretchMode)
{
    TDIB logo;
    logo.SetHandle(PackImage(Filled(30, 20, qRgb(200, 0, 0))));
    QImage target(100, 60, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        TScaleCanvas canvas(painter);
        canvas.SetPixelsPerMMX(4);
        canvas.SetPixelsPerMMY(4);
        logo.Draw(canvas, 5, 5, 15, 10);
        EXPECT_FALSE(painter.testRenderHint(QPainter::SmoothPixmapTransform));
        TDIB().Draw(canvas, 0, 0, 25, 15); // an empty picture draws nothing
    }
    EXPECT_EQ(target.pixel(19, 19), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(20, 20), qRgb(200, 0, 0));
    EXPECT_EQ(target.pixel(59, 39), qRgb(200, 0, 0));
    EXPECT_EQ(target.pixel(60, 40), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(60, 30), qRgb(255, 255, 255));
}

} // namespace
