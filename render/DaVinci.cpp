#include "render/DaVinci.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cmath>

namespace {

// No uncompressed picture within the pixel limit is bigger than this.
constexpr qint64 MaxFileBytes = MaxImportPixels * 4 + 64 * 1024 * 1024;
// What the decoder may allocate for one picture. Larger pictures are
// decoded at a reduced size where the format allows it and refused where
// it does not.
constexpr qint64 DecodeBudgetBytes = 96 * 1024 * 1024;
// The most a logo is kept at: a whole 85 x 55 mm card at 1200 dots per
// inch. More pixels would only cost memory on every road that draws it.
constexpr int KeptLongSide = 4016;
constexpr int KeptShortSide = 2598;

quint32 ReadLE32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 ReadLE16(const uchar *p)
{
    return quint16(p[0] | p[1] << 8);
}

bool IsStandaloneJpegMarker(uchar marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The decoder fills a JPEG that ends early with grey instead of failing, so
// the marker structure is walked up to the end-of-image marker.
bool IsJpegComplete(const uchar *data, qsizetype size)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 1 < size) {
        if (data[i] != 0xFF)
            return false;
        const uchar marker = data[i + 1];
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        i += 2;
        if (marker == 0xD9)
            return true;
        if (IsStandaloneJpegMarker(marker))
            continue;
        if (i + 2 > size)
            return false;
        const int length = data[i] << 8 | data[i + 1];
        if (length < 2)
            return false;
        i += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data: runs to the next marker that is neither a
        // stuffed 0xFF nor a restart marker.
        while (i + 1 < size
               && !(data[i] == 0xFF && data[i + 1] != 0x00 && data[i + 1] != 0xFF
                    && !IsStandaloneJpegMarker(data[i + 1])))
            ++i;
    }
    return false;
}

// The decoder also accepts a bitmap file whose pixel rows are cut short.
bool IsBmpComplete(const uchar *data, qsizetype size)
{
    if (size < 26)
        return false;
    const quint32 offBits = ReadLE32(data + 10);
    const quint32 infoSize = ReadLE32(data + 14);
    qint64 width, height, bitCount, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = ReadLE16(data + 18);
        height = ReadLE16(data + 20);
        bitCount = ReadLE16(data + 24);
    } else {
        if (size < 38)
            return false;
        width = qint32(ReadLE32(data + 18));
        height = qint32(ReadLE32(data + 22));
        bitCount = ReadLE16(data + 28);
        compression = ReadLE32(data + 30);
        imageSize = ReadLE32(data + 34);
    }
    constexpr qint64 Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6;
    qint64 pixelBytes;
    if (compression == Rgb || compression == BitFields || compression == AlphaBitFields)
        pixelBytes = DIBRowBytes(int(qAbs(width)), int(bitCount)) * qAbs(height);
    else if (compression == Rle8 || compression == Rle4)
        pixelBytes = imageSize;
    else
        return true; // embedded JPEG or PNG data: their decoder checks them
    return size >= qint64(offBits) + pixelBytes;
}

bool IsComplete(const QByteArray &format, const uchar *data, qsizetype size)
{
    if (format == "jpeg")
        return IsJpegComplete(data, size);
    if (format == "bmp")
        return IsBmpComplete(data, size);
    return true; // the PNG and TIFF decoders fail on cut data themselves
}

bool IsImportFormat(const QByteArray &format)
{
    return format == "bmp" || format == "jpeg" || format == "tiff" || format == "png" || format == "gif"
           || format == "webp";
}

// The reader's allocation limit is the program's; set for one picture.
class TAllocationLimit
{
public:
    explicit TAllocationLimit(int megabytes)
        : FPrevious(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~TAllocationLimit() { QImageReader::setAllocationLimit(FPrevious); }
    TAllocationLimit(const TAllocationLimit &) = delete;
    TAllocationLimit &operator=(const TAllocationLimit &) = delete;

private:
    int FPrevious;
};

// The picture's size shrunk, keeping its proportions, to what is kept of it.
QSize KeptSize(const QSize &size)
{
    const bool landscape = size.width() >= size.height();
    const double scale = qMin(1.0, qMin(double(landscape ? KeptLongSide : KeptShortSide) / size.width(),
                                        double(landscape ? KeptShortSide : KeptLongSide) / size.height()));
    return QSize(qMax(1, qRound(size.width() * scale)), qMax(1, qRound(size.height() * scale)));
}

qint64 ImageBytes(const QSize &size, int bitsPerPixel)
{
    return (qint64(size.width()) * bitsPerPixel + 7) / 8 * size.height();
}

// The PNG decoder reduces eight-bit colour pictures row by row while it
// reads them, holding only the reduced picture; every other kind of PNG it
// decodes whole first.
bool PngReducesWhileDecoding(const uchar *data, qsizetype size)
{
    if (size < 29)
        return false;
    const uchar bitDepth = data[24], colourType = data[25], interlace = data[28];
    return bitDepth == 8 && (colourType == 2 || colourType == 4 || colourType == 6) && interlace == 0;
}

// libjpeg decodes at n/8 of the size; the reader picks the smallest n that
// still gives the size asked for, then scales to that size exactly.
QSize JpegEighthSize(const QSize &full, const QSize &target)
{
    const double factor = qMin(double(full.width()) / target.width(), double(full.height()) / target.height());
    const int eighths = qBound(1, int(std::ceil(8 / factor)), 8);
    return QSize((full.width() * eighths + 7) / 8, (full.height() * eighths + 7) / 8);
}

// The size to ask the JPEG reader for: the target, shrunk until the
// eighth-size picture and the scaled one fit into the budget together.
QSize JpegDecodeSize(const QSize &full, QSize target)
{
    for (;;) {
        const QSize eighth = JpegEighthSize(full, target);
        const qint64 bytes = ImageBytes(eighth, 32) + (eighth == target ? 0 : ImageBytes(target, 32));
        if (bytes <= DecodeBudgetBytes || target.width() <= 1 || target.height() <= 1)
            return target;
        target = QSize(qMax(1, target.width() * 7 / 8), qMax(1, target.height() * 7 / 8));
    }
}

int ImportFile(const QString &fileName, TDIBHandle &picture)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return irNotAPicture;
    const qint64 size = file.size();
    if (size > MaxFileBytes)
        return irTooLarge;
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    if (!data)
        return irNotAPicture;

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Only the content decides: a text file named ".jpg" is no picture, and a
    // JPEG named ".bmp" is one.
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || !IsImportFormat(reader.format()))
        return irNotAPicture;

    // The size comes from the file's header, before anything is decoded. A
    // bitmap stored top-down gives its height as a negative number.
    const QSize headerSize = reader.size();
    const QSize pictureSize(headerSize.width(), qAbs(headerSize.height()));
    if (!pictureSize.isValid() || pictureSize.isEmpty())
        return irCorrupt;
    if (qint64(pictureSize.width()) * pictureSize.height() > MaxImportPixels)
        return irTooLarge;
    if (!IsComplete(reader.format(), data, size))
        return irCorrupt;

    const QSize kept = KeptSize(pictureSize);
    QSize decoded = pictureSize;
    QSize largest = pictureSize; // of the pictures the reader allocates
    if (kept != pictureSize && reader.format() == "jpeg") {
        // Asked for just what libjpeg decodes, the reader scales no further
        // (a third of the time, and no second picture beside the first);
        // the picture is averaged down to the kept size while it is packed.
        decoded = largest = JpegEighthSize(pictureSize, JpegDecodeSize(pictureSize, kept));
    } else if (kept != pictureSize && reader.format() == "png" && PngReducesWhileDecoding(data, size)) {
        decoded = largest = kept;
    }
    const int bitsPerPixel = QImage::toPixelFormat(reader.imageFormat()).bitsPerPixel();
    if (ImageBytes(decoded, bitsPerPixel > 0 ? bitsPerPixel : 32) > DecodeBudgetBytes)
        return irTooLarge;
    if (decoded != pictureSize)
        reader.setScaledSize(decoded);
    // The reader's own limit counts four bytes a pixel whatever the picture
    // holds; the budget above has already been checked with the real count.
    const TAllocationLimit limit(int(ImageBytes(largest, 32) / (1024 * 1024)) + 1);
    const QImage image = reader.read();
    if (image.isNull())
        return irCorrupt;
    const bool larger = image.width() > kept.width() || image.height() > kept.height();
    // Transparent parts show the card's paper: composited onto white here,
    // so every road that draws or filters the picture sees plain colours.
    picture = larger ? PackReduced(image, kept) : PackImage(image, image.hasAlphaChannel() ? 24 : 0);
    return picture ? irOK : irNoMemory;
}

} // namespace

int ipImportInd(TImportParams *params)
{
    if (!params)
        return irBadParams;
    params->Picture.Reset();
    if (params->Size != sizeof(TImportParams) || params->Mode != ipImportFile || !params->FileName
        || !*params->FileName)
        return irBadParams;
    return ImportFile(QFile::decodeName(params->FileName), params->Picture);
}
