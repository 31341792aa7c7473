#include "imaging_pictures.h"

#include "render/uDIB.h"
#include "render/uScaler.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <ctime>

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

// A few kilobytes that claim a picture of that size, here 4.8 GB of pixels.
QByteArray PngBomb(quint32 side = 40000, char interlace = 0)
{
    QByteArray header(13, '\0');
    qToBigEndian(side, header.data());
    qToBigEndian(side, header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 2; // RGB
    header[12] = interlace;
    const QByteArray zeros = qCompress(QByteArray(4 * 1024 * 1024, '\0'), 9).mid(4);
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + PngChunk("IHDR", header) + PngChunk("IDAT", zeros)
           + PngChunk("IEND", {});
}

// The bytes as a gzip file, which a compressed SVG document is.
QByteArray Gzipped(const QByteArray &bytes)
{
    QByteArray trailer(8, Qt::Uninitialized);
    qToLittleEndian(Crc32(bytes), trailer.data());
    qToLittleEndian(quint32(bytes.size()), trailer.data() + 4);
    return QByteArray("\x1F\x8B\x08\0\0\0\0\0\0\x03", 10) + qCompress(bytes).mid(6).chopped(4) + trailer;
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

// A card printed whole at 1200 dots per inch is 4016 x 2598 pixels: a
// picture is kept at no more than that, decoded at a reduced size where the
// format allows, so a large logo costs no more than a small one.
TEST_F(BadPicture, LargePicturesAreKeptAtWhatACardNeeds)
{
    QImage palette(3000, 5000, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(200, 0, 0), qRgb(0, 0, 200)});
    palette.fill(1);
    const QImage colour = Filled(5000, 3000, qRgb(0, 120, 60));
    EXPECT_TRUE(colour.save(Path("colour.jpg"), "JPEG", 95));
    const struct
    {
        QString Path;
        QSize Kept;
        QRgb Colour;
    } cases[] = {
        {Saved(colour, "colour.png"), {4016, 2410}, qRgb(0, 120, 60)},
        {Path("colour.jpg"), {4016, 2410}, qRgb(0, 120, 60)},
        {Saved(palette, "palette.png"), {2410, 4016}, qRgb(0, 0, 200)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        const auto [result, picture] = Import(c.Path);
        ASSERT_EQ(result, irOK);
        EXPECT_EQ(QSize(HeaderOf(picture).biWidth, HeaderOf(picture).biHeight), c.Kept);
        const QRgb middle = UnpackImage(picture).pixel(c.Kept.width() / 2, c.Kept.height() / 2);
        EXPECT_NEAR(qRed(middle), qRed(c.Colour), 3);
        EXPECT_NEAR(qGreen(middle), qGreen(c.Colour), 3);
        EXPECT_NEAR(qBlue(middle), qBlue(c.Colour), 3);
    }

    // An interlaced PNG is decoded whole: 400 MB for 9999 x 9999 pixels,
    // refused before anything is decoded.
    WriteBytes(Path("interlaced.png"), PngBomb(9999, 1));
    EXPECT_EQ(Import(Path("interlaced.png")).first, irTooLarge);
}

// A few bytes of run-length bitmap that unpack to a strip of 16 million
// rows: averaged down in bands of rows, not one row at a time.
TEST_F(BadPicture, RunLengthStripOfMillionsOfRowsIsReducedQuickly)
{
    QByteArray bmp(14 + 40 + 8, '\0');
    uchar *p = reinterpret_cast<uchar *>(bmp.data());
    p[0] = 'B', p[1] = 'M';
    qToLittleEndian(quint32(bmp.size() + 2), p + 2);
    qToLittleEndian(quint32(14 + 40 + 8), p + 10);
    qToLittleEndian(quint32(40), p + 14);
    qToLittleEndian(qint32(1), p + 18);
    qToLittleEndian(qint32(16000000), p + 22);
    qToLittleEndian(quint16(1), p + 26);
    qToLittleEndian(quint16(8), p + 28);
    qToLittleEndian(quint32(1), p + 30); // run-length coded
    qToLittleEndian(quint32(2), p + 34);
    qToLittleEndian(quint32(2), p + 46); // two colours: dark red, black
    p[54 + 2] = 200;
    WriteBytes(Path("strip.bmp"), bmp + QByteArray("\x00\x01", 2)); // end of bitmap: all colour 0

    const qint64 start = qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
    const auto [result, picture] = Import(Path("strip.bmp"));
    EXPECT_LT(qint64(std::clock()) * 1000 / CLOCKS_PER_SEC - start, 5000);
    ASSERT_EQ(result, irOK);
    EXPECT_EQ(QSize(HeaderOf(picture).biWidth, HeaderOf(picture).biHeight), QSize(1, 4016));
    EXPECT_EQ(Pixel24(picture, 0, 2000), qRgb(200, 0, 0));
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
    ASSERT_EQ(logo.Width(), 4016); // kept at what a card needs
    ASSERT_EQ(logo.Height(), 1);
    const QImage drawn = Drawn(logo);
    EXPECT_EQ(drawn.pixel(30, 30), qRgb(0, 0, 200));
    EXPECT_EQ(drawn.pixel(600, 300), qRgb(0, 0, 200));
    EXPECT_EQ(drawn.pixel(650, 350), qRgb(255, 255, 255));
}

// A broken or hostile vector logo is refused as a bad picture is, quickly.
TEST_F(BadPicture, BrokenVectorLogosAreRefused)
{
    const QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 10">)";
    const QByteArray laughs = R"(<?xml version="1.0"?><!DOCTYPE svg [<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">)"
                              R"(<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">)"
                              R"(<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">)"
                              R"(<!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">)"
                              R"(<!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">)"
                              R"(<!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;">]>)"
                              R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 10"><text>&f;</text></svg>)";
    const struct
    {
        const char *Name;
        QByteArray Content;
    } cases[] = {
        {"cut.svg", svg + R"(<rect width="5" height=)"},
        {"no_extent.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 0 0"><rect/></svg>)"},
        {"html.svg", "<html><body>no picture</body></html>"},
        // Inflated without a bound of its own: a few megabytes may become gigabytes.
        {"compressed.svg", Gzipped(svg + R"(<rect width="5" height="5"/></svg>)")},
        {"laughs.svg", laughs},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(Path(c.Name), c.Content);
        TDIB logo;
        QElapsedTimer timer;
        timer.start();
        EXPECT_THROW(logo.LoadFromFile(Path(c.Name)), EDIBError);
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_TRUE(logo.IsEmpty());
        EXPECT_FALSE(logo.IsVector());
    }
}

} // namespace
