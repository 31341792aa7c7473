#include "imaging_pictures.h"

#include "render/uDIB.h"
#include "render/uScaler.h"
#include "render/uVectorPicture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <atomic>
#include <ctime>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

QByteArray PngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray DataUrl(const char *type, const QByteArray &bytes)
{
    return QByteArray("data:") + type + ";base64," + bytes.toBase64();
}

bool HasRed(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60)
                return true;
        }
    return false;
}

// A reader that opens the FIFO or reads standard input would wait for ever.
// While it lives, standard input is a pipe that stays silent for a few
// seconds, and every open of the FIFO is noticed and let through at once,
// so such a reader fails the test instead of hanging it.
class TBlockingSources
{
public:
    explicit TBlockingSources(const QString &fifo)
        : FFifo(QFile::encodeName(fifo))
    {
        ::mkfifo(FFifo.constData(), 0600);
        FStdin = ::dup(0);
        if (::pipe(FPipe) == 0)
            ::dup2(FPipe[0], 0);
        FWatch = std::thread([this] { Watch(); });
    }
    ~TBlockingSources()
    {
        FStop = true;
        FWatch.join();
        ::close(FPipe[1]);
        ::dup2(FStdin, 0);
        ::close(FStdin);
        ::close(FPipe[0]);
    }
    bool FifoOpened() const { return FOpened; }

private:
    void Watch()
    {
        QElapsedTimer clock;
        clock.start();
        while (!FStop) {
            // Succeeds only while someone waits to read it.
            const int fd = ::open(FFifo.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                FOpened = true;
                ::close(fd);
            }
            if (clock.elapsed() > 3000 && FPipe[1] >= 0) {
                ::close(FPipe[1]);
                FPipe[1] = -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    QByteArray FFifo;
    int FStdin = -1;
    int FPipe[2] = {-1, -1};
    std::atomic<bool> FStop{false};
    std::atomic<bool> FOpened{false};
    std::thread FWatch;
};

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

// A logo someone sends may name any file or address: it is drawn from its
// own document alone, without waiting, and says what it left out.
TEST_F(BadPicture, VectorLogoReadsNothingButItself)
{
    const QImage red = Filled(8, 8, qRgb(255, 0, 0));
    const QString secret = Saved(red, "secret.png");
    ASSERT_TRUE(QDir().mkpath(Path("home")));
    Saved(red, "home/.face");
    WriteBytes(Path("red.css"), "rect { fill: #ff0000 }");
    const QString fifo = Path("logo-fifo.png");
    const QString css = Path("red.css");
    const QString svg = QStringLiteral(
                            R"s(<?xml version="1.0"?><?xml-stylesheet type="text/css" href="%1"?>)s"
                            R"s(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )s"
                            R"s(viewBox="0 0 40 20"><style>@import url("%1");</style>)s"
                            R"s(<rect width="20" height="20" fill="#0000ff"/>)s"
                            R"s(<image x="20" width="20" height="20" xlink:href="%2"/>)s"
                            R"s(<image x="20" width="20" height="20" xlink:href=".face"/>)s"
                            R"s(<image x="20" width="20" height="20" xlink:href="%3"/>)s"
                            R"s(<image x="20" width="20" height="20" xlink:href="/dev/stdin"/>)s"
                            R"s(<image x="20" width="20" height="20" xlink:href="http://127.0.0.1:9/logo.png"/>)s"
                            R"s(<rect x="20" width="20" height="20" fill="url(%4#g)"/></svg>)s")
                            .arg(css, secret, fifo, Path("other.svg"));
    WriteBytes(Path("logo.svg"), svg.toUtf8());

    const QString working = QDir::currentPath();
    QDir::setCurrent(Path("home"));
    TDIB logo;
    QElapsedTimer clock;
    clock.start();
    {
        const TBlockingSources blocking(fifo);
        logo.LoadFromFile(Path("logo.svg"));
        EXPECT_FALSE(blocking.FifoOpened());
    }
    QDir::setCurrent(working);
    EXPECT_LT(clock.elapsed(), 2000);

    ASSERT_TRUE(logo.IsVector());
    EXPECT_EQ(logo.LeftOut(), QStringList({css, secret, QStringLiteral(".face"), fifo, QStringLiteral("/dev/stdin"),
                                           QStringLiteral("http://127.0.0.1:9/logo.png"), Path("other.svg#g")}));
    // One sentence: the first names, and that there are more.
    const QString text = logo.LeftOutText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Aus der Logodatei %1 wurde weggelassen, was auf andere Dateien oder "
                                               "Adressen verweist oder zu groß ist: ")
                                    .arg(Path("logo.svg"))))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral(", .face, …"))) << text.toStdString();
    const QImage drawn = Drawn(logo);
    EXPECT_FALSE(HasRed(drawn));
    EXPECT_EQ(drawn.pixel(100, 200), qRgb(0, 0, 255));
    EXPECT_FALSE(HasRed(UnpackImage(logo.Handle())));
}

// A logo path naming a FIFO or standard input is refused at once, without
// waiting for a writer; neither is read as a picture or as a document.
TEST_F(BadPicture, LogoThatIsNoRegularFileIsRefusedWithoutWaiting)
{
    const QString fifo = Path("logo.svg");
    const TBlockingSources blocking(fifo);
    QElapsedTimer clock;
    clock.start();
    for (const QString &path : {fifo, QStringLiteral("/dev/stdin")}) {
        TDIB logo;
        EXPECT_THROW(logo.LoadFromFile(path), EDIBError) << path.toStdString();
    }
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(blocking.FifoOpened());
}

// Pictures embedded in the document are drawn, a few within the import's
// bounds; one that is itself a document, which could name files, is not.
TEST_F(BadPicture, EmbeddedPicturesAreDrawnWithinTheirBounds)
{
    const QByteArray nested = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                              "xmlns:xlink=\"http://www.w3.org/1999/xlink\" viewBox=\"0 0 8 8\"><image width=\"8\" "
                              "height=\"8\" xlink:href=\""
                              + Saved(Filled(8, 8, qRgb(255, 0, 0)), "secret.png").toUtf8() + "\"/></svg>";
    const QByteArray svg = R"s(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )s"
                           R"s(viewBox="0 0 30 10"><image width="10" height="10" xlink:href=")s"
                           + DataUrl("image/png", PngBytes(Filled(4, 4, qRgb(0, 0, 255))))
                           + R"s("/><image x="10" width="10" height="10" xlink:href=")s"
                           + DataUrl("image/svg+xml", nested)
                           + R"s("/><image x="20" width="10" height="10" xlink:href=")s"
                           + DataUrl("image/png", PngBomb()) + R"s("/></svg>)s";
    WriteBytes(Path("embedded.svg"), svg);
    TDIB logo;
    logo.LoadFromFile(Path("embedded.svg"));
    const QImage drawn = Drawn(logo);
    EXPECT_EQ(drawn.pixel(100, 150), qRgb(0, 0, 255));
    EXPECT_FALSE(HasRed(drawn));
    EXPECT_EQ(logo.LeftOut(), QStringList({QStringLiteral("data:image/svg+xml;base64,…"),
                                           QStringLiteral("data:image/png;base64,…")}));
}

// Within the size limit of the file, a document can ask for minutes and
// gigabytes: refused like a bad picture when its drawing would cost more
// than about a second, drawn on paper as a picture when its vectors would
// make every card of a PDF large.
TEST_F(BadPicture, CostlyVectorLogosAreRefusedOrPrintedAsPictures)
{
    const QByteArray svg = R"s(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )s"
                           R"s(viewBox="0 0 100 50">)s";
    QByteArray stops = svg + R"s(<linearGradient id="g">)s";
    for (int i = 0; i < 150000; ++i)
        stops += R"s(<stop offset="0.5" stop-color="#00f"/>)s";
    QByteArray fan = svg + R"s(<defs><circle id="u0" r="1"/>)s";
    for (int level = 1; level <= 6; ++level) {
        fan += QStringLiteral(R"s(<g id="u%1">)s").arg(level).toUtf8();
        for (int i = 0; i < 10; ++i)
            fan += QStringLiteral(R"s(<use xlink:href="#u%1"/>)s").arg(level - 1).toUtf8();
        fan += "</g>";
    }
    const QByteArray entities = R"s(<?xml version="1.0"?><!DOCTYPE svg [<!ENTITY a ")s" + QByteArray(3000, 'a')
                                + R"s(">]>)s" + svg + "<text>" + QByteArray("&a;").repeated(2000) + "</text></svg>";
    const struct
    {
        const char *Name;
        QByteArray Content;
    } refused[] = {
        {"500 000 circles", svg + QByteArray(R"s(<circle r="1"/>)s").repeated(500000) + "</svg>"},
        {"150 000 stops", stops + R"s(</linearGradient><rect width="100" height="50" fill="url(#g)"/></svg>)s"},
        {"a million circles by <use>", fan + R"s(</defs><use xlink:href="#u6"/></svg>)s"},
        {"6 million characters by entity", entities},
    };
    for (const auto &c : refused) {
        SCOPED_TRACE(c.Name);
        ASSERT_LT(c.Content.size(), 8 * 1024 * 1024);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(TVectorPicture::FromData(c.Content), nullptr);
        EXPECT_LT(clock.elapsed(), 1000);
    }

    const QByteArray text = svg + R"s(<text y="20" font-size="2">)s" + QByteArray("Lorem ipsum ").repeated(2500)
                            + "</text></svg>";
    const auto longText = TVectorPicture::FromData(text);
    ASSERT_NE(longText, nullptr);
    EXPECT_FALSE(longText->PrintsAsVectors());
    const auto circle = TVectorPicture::FromData(svg + R"s(<circle cx="50" cy="25" r="20"/></svg>)s");
    ASSERT_NE(circle, nullptr);
    EXPECT_TRUE(circle->PrintsAsVectors());
}

} // namespace
