#include "imaging_pictures.h"

#include "render/uDIB.h"
#include "render/uScaler.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

using namespace ImagingTest;

namespace {

quint32 Crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray PngChunk(const QByteArray &type, const QByteArray &data)
{
    QByteArray chunk(4, Qt::Uninitialized);
    qToBigEndian(quint32(data.size()), chunk.data());
    chunk += type + data;
    QByteArray crc(4, Qt::Uninitialized);
    qToBigEndian(Crc32(type + data), crc.data());
    return chunk + crc;
}

// A few kilobytes that inflate to a 40000 x 40000 picture: 4.8 GB of pixels.
QByteArray PngBomb()
{
    QByteArray header(13, '\0');
    qToBigEndian(quint32(40000), header.data());
    qToBigEndian(quint32(40000), header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    const QByteArray zeros = qCompress(QByteArray(4 * 1024 * 1024, '\0'), 9).mid(4);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", zeros)
           + PngChunk("IEND", {});
}

class BadPicture : public ::testing::Test
{
protected:
    QString Path(const char *name) const { return FDir.filePath(QLatin1String(name)); }
    QString Saved(const QImage &image, const char *name)
    {
        const QString path = Path(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    // The logo drawn into a 25 x 12.5 mm box at 600 units per inch on white.
    QImage Drawn(const TDIB &logo)
    {
        QImage device(700, 400, QImage::Format_RGB32);
        device.fill(Qt::white);
        QPainter painter(&device);
        TScaleCanvas canvas(painter);
        canvas.SetPixelsPerMMX(600 / 25.4f);
        canvas.SetPixelsPerMMY(600 / 25.4f);
        logo.Draw(canvas, 1, 1, 26, 13.5f);
        return device;
    }

    QTemporaryDir FDir;
};

TEST_F(BadPicture, DecompressionBombIsRefusedAtItsHeader)
{
    const QByteArray bomb = PngBomb();
    ASSERT_LT(bomb.size(), 16 * 1024);
    WriteBytes(Path("bomb.png"), bomb);
    QElapsedTimer timer;
    timer.start();
    const auto [result, picture] = Import(Path("bomb.png"));
    EXPECT_EQ(result, irTooLarge);
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_LT(timer.elapsed(), 2000);

    // What the wizard shows when the bomb is chosen as the logo.
    TDIB logo;
    try {
        logo.LoadFromFile(Path("bomb.png"));
        ADD_FAILURE() << "the bomb was loaded";
    } catch (const EDIBError &error) {
        EXPECT_STREQ(error.what(), "Die Bilddatei konnte nicht geladen werden");
    }
    EXPECT_TRUE(logo.IsEmpty());
}

TEST_F(BadPicture, SinglePixelLogoFillsItsBox)
{
    TDIB logo;
    logo.LoadFromFile(Saved(Filled(1, 1, qRgb(200, 0, 0)), "dot.png"));
    ASSERT_EQ(logo.Width(), 1);
    ASSERT_EQ(logo.Height(), 1);
    const QImage drawn = Drawn(logo);
    EXPECT_EQ(drawn.pixel(30, 30), qRgb(200, 0, 0));
    EXPECT_EQ(drawn.pixel(600, 300), qRgb(200, 0, 0));
    EXPECT_EQ(drawn.pixel(650, 350), qRgb(255, 255, 255));
}

TEST_F(BadPicture, ThirtyThousandByTenLogoFillsItsBox)
{
    TDIB logo;
    logo.LoadFromFile(Saved(Filled(30000, 10, qRgb(0, 0, 200)), "strip.png"));
    ASSERT_EQ(logo.Width(), 30000);
    ASSERT_EQ(logo.Height(), 10);
    const QImage drawn = Drawn(logo);
    EXPECT_EQ(drawn.pixel(30, 30), qRgb(0, 0, 200));
    EXPECT_EQ(drawn.pixel(600, 300), qRgb(0, 0, 200));
    EXPECT_EQ(drawn.pixel(650, 350), qRgb(255, 255, 255));
}

} // namespace
