#include "imaging_pictures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include <unistd.h>

using namespace ImagingTest;

namespace {

class ImagingImport : public ::testing::Test
{
protected:
    QString Path(const QString &name) const { return FDir.filePath(name); }

    QString Saved(const QImage &image, const QString &name, const char *format)
    {
        const QString path = Path(name);
        EXPECT_TRUE(image.save(path, format)) << name.toStdString();
        return path;
    }

    QTemporaryDir FDir;
};

TEST_F(ImagingImport, LosslessFormatsKeepPixelsInBottomUpRows)
{
    const QImage sample = SamplePicture();
    QImage withAlpha = sample.convertToFormat(QImage::Format_ARGB32);
    withAlpha.setPixel(1, 0, qRgba(10, 20, 30, 0));

    struct Case
    {
        QString path;
        int bitCount;
    };
    // The same bitmap stored top-down: a negative height, the rows reversed.
    QByteArray bmp = ReadBytes(Saved(sample, "a.bmp", "BMP"));
    qint32 offset = 0;
    std::memcpy(&offset, bmp.constData() + 10, 4);
    const qint32 height = -23;
    const qsizetype rowBytes = DIBRowBytes(37, 24);
    QByteArray topDown = bmp.left(offset);
    std::memcpy(topDown.data() + 22, &height, 4);
    for (int row = 22; row >= 0; --row)
        topDown += bmp.mid(offset + row * rowBytes, rowBytes);
    WriteBytes(Path("topdown.bmp"), topDown);

    const Case cases[] = {
        {Path("a.bmp"), 24},
        {Path("topdown.bmp"), 24},
        {Saved(sample, "a.tif", "TIFF"), 24},
        {Saved(sample, "a.png", "PNG"), 24},
        {Saved(withAlpha, "alpha.png", "PNG"), 24},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const auto [result, picture] = Import(c.path);
        ASSERT_EQ(result, irOK);
        const TBitmapInfoHeader header = HeaderOf(picture);
        EXPECT_EQ(header.biSize, 40u);
        EXPECT_EQ(header.biWidth, 37);
        EXPECT_EQ(header.biHeight, 23);
        EXPECT_EQ(header.biPlanes, 1);
        EXPECT_EQ(header.biBitCount, c.bitCount);
        EXPECT_EQ(header.biCompression, 0u);
        const qsizetype rowBytes = DIBRowBytes(37, c.bitCount);
        EXPECT_EQ(rowBytes % 4, 0);
        EXPECT_EQ(picture.Size(), 40 + rowBytes * 23);

        // The first row in memory is the picture's bottom row.
        const uchar *bottomRow = picture.Bits() + 40;
        const int bytesPerPixel = c.bitCount / 8;
        EXPECT_EQ(bottomRow[0], 0);   // red: blue byte first
        EXPECT_EQ(bottomRow[2], 255);
        const uchar *yellow = bottomRow + 36 * bytesPerPixel;
        EXPECT_EQ(qRgb(yellow[2], yellow[1], yellow[0]), qRgb(255, 255, 0));
        const uchar *topRow = picture.Bits() + 40 + 22 * rowBytes;
        EXPECT_EQ(qRgb(topRow[2], topRow[1], topRow[0]), qRgb(0, 255, 0));
        if (c.path.contains(QLatin1String("alpha"))) { // the transparent pixel shows the paper
            EXPECT_EQ(qRgb(topRow[5], topRow[4], topRow[3]), qRgb(255, 255, 255));
        }
    }
}

TEST_F(ImagingImport, TransparentPartsShowThePaper)
{
    // Left third opaque red, middle half-transparent red, right transparent.
    QImage image(30, 10, QImage::Format_ARGB32);
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 10; ++y)
            image.setPixel(x, y, x < 10 ? qRgba(255, 0, 0, 255) : x < 20 ? qRgba(255, 0, 0, 128) : qRgba(0, 0, 0, 0));
    QImage indexed(30, 10, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgba(0, 0, 0, 0)});
    for (int x = 0; x < 30; ++x)
        for (int y = 0; y < 10; ++y)
            indexed.setPixel(x, y, x < 20 ? 0 : 1);
    QImageWriter webp(Path("a.webp"), "webp");
    webp.setQuality(100); // lossless
    ASSERT_TRUE(webp.write(image));

    const QString paths[] = {Saved(image, "a.png", "PNG"), Saved(image, "a.tif", "TIFF"), Path("a.webp"),
                             Saved(indexed, "indexed.png", "PNG")};
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        const auto [result, picture] = Import(path);
        ASSERT_EQ(result, irOK);
        EXPECT_EQ(HeaderOf(picture).biBitCount, 24);
        const QImage read = UnpackImage(picture);
        EXPECT_EQ(read.pixel(2, 5), qRgb(255, 0, 0));
        EXPECT_EQ(read.pixel(25, 5), qRgb(255, 255, 255));
        if (!path.contains(QLatin1String("indexed"))) {
            EXPECT_NEAR(qGreen(read.pixel(15, 5)), 127, 1);
        }
    }

    // Qt writes no GIF: two pixels, red and the transparent colour.
    WriteBytes(Path("a.gif"), QByteArray::fromHex("47494638396102000100f00000"
                                                  "ff0000000000"
                                                  "21f90401000001002c000000000200010000"
                                                  "0202440a003b"));
    const auto [result, picture] = Import(Path("a.gif"));
    ASSERT_EQ(result, irOK);
    const QImage read = UnpackImage(picture);
    EXPECT_EQ(read.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(read.pixel(1, 0), qRgb(255, 255, 255));
}

TEST_F(ImagingImport, PaletteBitmapKeepsItsColourTable)
{
    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(200, 100, 50), qRgb(255, 255, 255)});
    indexed.fill(1);
    indexed.setPixel(4, 0, 2);
    const auto [result, picture] = Import(Saved(indexed, "eight.bmp", "BMP"));
    ASSERT_EQ(result, irOK);
    const TBitmapInfoHeader header = HeaderOf(picture);
    EXPECT_EQ(header.biBitCount, 8);
    ASSERT_GE(header.biClrUsed, 3u);
    ASSERT_LE(header.biClrUsed, 256u);
    const qsizetype tableBytes = 4 * header.biClrUsed;
    EXPECT_EQ(picture.Size(), 40 + tableBytes + 8 * 3);

    const uchar *table = picture.Bits() + 40;
    const uchar *topRow = table + tableBytes + 2 * 8;
    const uchar *colour = table + 4 * topRow[4];
    EXPECT_EQ(qRgb(colour[2], colour[1], colour[0]), qRgb(255, 255, 255));
    colour = table + 4 * topRow[0];
    EXPECT_EQ(qRgb(colour[2], colour[1], colour[0]), qRgb(200, 100, 50));
}

TEST_F(ImagingImport, JpegIsDecodedWhateverItsName)
{
    const QImage red = Filled(64, 48, qRgb(255, 0, 0));
    for (const QString name : {"logo.jpg", "logo.bmp"}) {
        SCOPED_TRACE(name.toStdString());
        const auto [result, picture] = Import(Saved(red, name, "JPEG"));
        ASSERT_EQ(result, irOK);
        const TBitmapInfoHeader header = HeaderOf(picture);
        EXPECT_EQ(header.biWidth, 64);
        EXPECT_EQ(header.biHeight, 48);
        EXPECT_EQ(header.biBitCount, 24);
        const QRgb centre = Pixel24(picture, 32, 24);
        EXPECT_GT(qRed(centre), 240);
        EXPECT_LT(qGreen(centre), 15);
        EXPECT_LT(qBlue(centre), 15);
    }
}

TEST_F(ImagingImport, BrokenFilesAreRefusedWithoutAPicture)
{
    const QImage sample = SamplePicture().scaled(400, 300);
    const QByteArray jpeg = ReadBytes(Saved(sample, "whole.jpg", "JPEG"));
    const QByteArray bmp = ReadBytes(Saved(sample, "whole.bmp", "BMP"));
    const QByteArray png = ReadBytes(Saved(sample, "whole.png", "PNG"));
    WriteBytes(Path("half.jpg"), jpeg.left(jpeg.size() / 2));
    WriteBytes(Path("half.bmp"), bmp.left(bmp.size() / 2));
    WriteBytes(Path("half.png"), png.left(png.size() / 2));
    WriteBytes(Path("text.jpg"), "Dies ist kein Bild, nur ein Text.\n");
    WriteBytes(Path("empty.bmp"), {});
    // A picture format the decoders know, but not bitmap, JPEG, TIFF or PNG.
    Saved(sample, "logo.jpg", "PPM");

    const std::pair<const char *, int> cases[] = {
        {"half.jpg", irCorrupt},       {"half.bmp", irCorrupt},    {"half.png", irCorrupt},
        {"text.jpg", irNotAPicture},   {"empty.bmp", irNotAPicture}, {"missing.jpg", irNotAPicture},
        {"logo.jpg", irNotAPicture},
    };
    for (const auto &[name, expected] : cases) {
        SCOPED_TRACE(name);
        const auto [result, picture] = Import(Path(name));
        EXPECT_EQ(result, expected);
        EXPECT_TRUE(picture.IsEmpty());
    }
}

TEST_F(ImagingImport, HugeSizeInTheHeaderIsRefusedBeforeDecoding)
{
    // Small files whose headers claim far more pixels than they hold: the
    // decoder would allocate for the claimed size.
    QByteArray bmp = ReadBytes(Saved(Filled(8, 8, qRgb(0, 0, 0)), "small.bmp", "BMP"));
    const qint32 side = 11000; // 121 megapixels
    std::memcpy(bmp.data() + 18, &side, 4);
    std::memcpy(bmp.data() + 22, &side, 4);
    WriteBytes(Path("huge.bmp"), bmp);

    QByteArray jpeg = ReadBytes(Saved(Filled(8, 8, qRgb(0, 0, 0)), "small.jpg", "JPEG"));
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    for (const int offset : {5, 7}) { // height, then width: 60000 each
        jpeg[frame + offset] = char(0xEA);
        jpeg[frame + offset + 1] = char(0x60);
    }
    WriteBytes(Path("huge.jpg"), jpeg);

    for (const char *name : {"huge.bmp", "huge.jpg"}) {
        SCOPED_TRACE(name);
        const auto [result, picture] = Import(Path(name));
        EXPECT_EQ(result, irTooLarge);
        EXPECT_TRUE(picture.IsEmpty());
    }
}

TEST_F(ImagingImport, ParameterBlockIsChecked)
{
    const QString path = Saved(Filled(4, 4, qRgb(1, 2, 3)), "ok.png", "PNG");
    const QByteArray name = QFile::encodeName(path);

    EXPECT_EQ(ipImportInd(nullptr), irBadParams);
    TImportParams wrongSize;
    wrongSize.Size = 100;
    wrongSize.Mode = ipImportFile;
    wrongSize.FileName = name.constData();
    EXPECT_EQ(ipImportInd(&wrongSize), irBadParams);
    TImportParams wrongMode;
    wrongMode.FileName = name.constData();
    EXPECT_EQ(ipImportInd(&wrongMode), irBadParams);

    // A block used twice does not keep the first picture after a failure.
    TImportParams reused;
    reused.Mode = ipImportFile;
    reused.FileName = name.constData();
    ASSERT_EQ(ipImportInd(&reused), irOK);
    ASSERT_FALSE(reused.Picture.IsEmpty());
    const QByteArray missing = QFile::encodeName(Path("nothing.png"));
    reused.FileName = missing.constData();
    EXPECT_EQ(ipImportInd(&reused), irNotAPicture);
    EXPECT_TRUE(reused.Picture.IsEmpty());
}

// Where this process has read a file up to, through any descriptor open on
// it; -1 while none is. A mapped file counts as read to its end.
qint64 ReadPosition(const QString &path, qint64 size)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (ReadBytes(QStringLiteral("/proc/self/maps")).contains(QFile::encodeName(target)))
        return size;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : descriptors.entryList(QDir::Files | QDir::System)) {
        if (QFileInfo(descriptors.filePath(fd)).symLinkTarget() != target)
            continue;
        const QByteArray info = ReadBytes(QStringLiteral("/proc/self/fdinfo/") + fd);
        return info.mid(info.indexOf("pos:") + 4).split('\n').first().trimmed().toLongLong();
    }
    return -1;
}

// A file cut short while it is decoded: refused as corrupt, where a mapped
// file would have killed the program.
TEST_F(ImagingImport, PictureCutWhileItIsDecodedIsRefused)
{
    QImage noise(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y)
        random.fillRange(reinterpret_cast<quint32 *>(noise.scanLine(y)), noise.width());
    const QString path = Path("noise.png");
    QImageWriter writer(path, "png");
    writer.setCompression(1);
    ASSERT_TRUE(writer.write(noise));
    const qint64 size = QFileInfo(path).size();

    std::atomic<bool> cut{false};
    std::thread cutter([&] {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 20000 && ReadPosition(path, size) < size / 2)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        cut = ::truncate(QFile::encodeName(path).constData(), size / 4) == 0;
    });
    const auto [result, picture] = Import(path);
    cutter.join();
    ASSERT_TRUE(cut);
    EXPECT_EQ(result, irCorrupt);
    EXPECT_TRUE(picture.IsEmpty());
}

} // namespace
