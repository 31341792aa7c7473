#include "render/DaVinci.h"

#include "support/uRegularFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cmath>
#include <cstring>

namespace {

// No uncompressed picture within the pixel limit is bigger than this.
constexpr qint64 MaxFileBytes = MaxImportPixels * 4 + 64 * 1024 * 1024;
// The WebP decoder reads the whole file into memory first.
constexpr qint64 MaxWholeReadBytes = DecodeBudgetBytes;
// The most a logo is kept at: a whole 85 x 55 mm card at 1200 dots per
// inch. More pixels would only cost memory on every road that draws it.
constexpr int KeptLongSide = 4016;
constexpr int KeptShortSide = 2598;

// A picture file walked through a piece at a time, so that checking one of
// hundreds of megabytes never holds it whole. Reads go past the decoder's
// position; whoever walks puts it back (TReaderPosition).
class TFileBytes
{
public:
    TFileBytes(QIODevice &device, qint64 size)
        : FDevice(device)
        , FSize(size)
    {
    }

    qint64 Size() const { return FSize; }

    // The byte at the offset; -1 beyond the end or when it cannot be read.
    int At(qint64 offset)
    {
        if ((offset < FStart || offset >= FStart + FPiece.size()) && !Fill(offset))
            return -1;
        return uchar(FPiece.at(offset - FStart));
    }

    // The offset of the next 0xFF from the offset on; -1 for none.
    qint64 NextFF(qint64 offset)
    {
        while (offset < FSize) {
            if ((offset < FStart || offset >= FStart + FPiece.size()) && !Fill(offset))
                return -1;
            const char *begin = FPiece.constData() + (offset - FStart);
            const void *found = std::memchr(begin, 0xFF, size_t(FPiece.size() - (offset - FStart)));
            if (found)
                return offset + (static_cast<const char *>(found) - begin);
            offset = FStart + FPiece.size();
        }
        return -1;
    }

private:
    bool Fill(qint64 offset)
    {
        if (offset < 0 || offset >= FSize || !FDevice.seek(offset))
            return false;
        FPiece.resize(qMin<qint64>(PieceBytes, FSize - offset));
        const qint64 got = FDevice.read(FPiece.data(), FPiece.size());
        if (got <= 0) {
            FPiece.clear();
            return false;
        }
        FPiece.resize(got);
        FStart = offset;
        return true;
    }

    static constexpr qint64 PieceBytes = 1024 * 1024;
    QIODevice &FDevice;
    qint64 FSize;
    qint64 FStart = 0;
    QByteArray FPiece;
};

// Puts the device back where the decoder left it when a check has read on.
class TReaderPosition
{
public:
    explicit TReaderPosition(QIODevice &device)
        : FDevice(device)
        , FPosition(device.pos())
    {
    }
    ~TReaderPosition() { FDevice.seek(FPosition); }
    TReaderPosition(const TReaderPosition &) = delete;
    TReaderPosition &operator=(const TReaderPosition &) = delete;

private:
    QIODevice &FDevice;
    qint64 FPosition;
};

quint32 ReadLE32(TFileBytes &bytes, qint64 at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | quint32(qMax(0, bytes.At(at + i)));
    return value;
}

quint16 ReadLE16(TFileBytes &bytes, qint64 at)
{
    return quint16(qMax(0, bytes.At(at)) | qMax(0, bytes.At(at + 1)) << 8);
}

bool IsStandaloneJpegMarker(int marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The decoder fills a JPEG that ends early with grey instead of failing, so
// the marker structure is walked up to the end-of-image marker.
bool IsJpegComplete(TFileBytes &bytes)
{
    const qint64 size = bytes.Size();
    if (size < 4 || bytes.At(0) != 0xFF || bytes.At(1) != 0xD8)
        return false;
    qint64 i = 2;
    while (i + 1 < size) {
        if (bytes.At(i) != 0xFF)
            return false;
        const int marker = bytes.At(i + 1);
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
        const int length = bytes.At(i) << 8 | bytes.At(i + 1);
        if (length < 2)
            return false;
        i += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data: runs to the next marker that is neither a
        // stuffed 0xFF nor a restart marker.
        for (;;) {
            i = bytes.NextFF(i);
            if (i < 0 || i + 1 >= size)
                return false;
            const int next = bytes.At(i + 1);
            if (next != 0x00 && next != 0xFF && !IsStandaloneJpegMarker(next))
                break;
            ++i;
        }
    }
    return false;
}

// The decoder also accepts a bitmap file whose pixel rows are cut short.
bool IsBmpComplete(TFileBytes &bytes)
{
    const qint64 size = bytes.Size();
    if (size < 26)
        return false;
    const quint32 offBits = ReadLE32(bytes, 10);
    const quint32 infoSize = ReadLE32(bytes, 14);
    qint64 width, height, bitCount, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = ReadLE16(bytes, 18);
        height = ReadLE16(bytes, 20);
        bitCount = ReadLE16(bytes, 24);
    } else {
        if (size < 38)
            return false;
        width = qint32(ReadLE32(bytes, 18));
        height = qint32(ReadLE32(bytes, 22));
        bitCount = ReadLE16(bytes, 28);
        compression = ReadLE32(bytes, 30);
        imageSize = ReadLE32(bytes, 34);
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

bool IsComplete(const QByteArray &format, TFileBytes &bytes)
{
    if (format == "jpeg")
        return IsJpegComplete(bytes);
    if (format == "bmp")
        return IsBmpComplete(bytes);
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
bool PngReducesWhileDecoding(TFileBytes &bytes)
{
    const int bitDepth = bytes.At(24), colourType = bytes.At(25), interlace = bytes.At(28);
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

// The picture's size from its header, before anything is decoded; a bitmap
// stored top-down gives its height as a negative number.
QSize HeaderSize(QImageReader &reader)
{
    const QSize size = reader.size();
    return QSize(size.width(), qAbs(size.height()));
}

} // namespace

int ImportPictureFile(const QString &fileName, TDIBHandle &picture, QByteArray &format)
{
    picture.Reset();
    format.clear();
    QFile file(fileName);
    TFileError error;
    if (!OpenRegularFile(file, error))
        return irNotAPicture;
    const qint64 size = file.size();
    if (size > MaxFileBytes)
        return irTooLarge;
    if (size <= 0)
        return irNotAPicture;

    // Decoded from the file as it is read: the file is never held whole.
    QImageReader reader(&file);
    // Only the content decides: a text file named ".jpg" is no picture, and a
    // JPEG named ".bmp" is one.
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || !IsImportFormat(reader.format()))
        return irNotAPicture;
    format = reader.format();
    if (format == "webp" && size > MaxWholeReadBytes)
        return irTooLarge;

    const QSize pictureSize = HeaderSize(reader);
    if (!pictureSize.isValid() || pictureSize.isEmpty())
        return irCorrupt;
    if (qint64(pictureSize.width()) * pictureSize.height() > MaxImportPixels)
        return irTooLarge;
    bool reducesWhileDecoding = false;
    {
        const TReaderPosition position(file);
        TFileBytes bytes(file, size);
        if (!IsComplete(format, bytes))
            return irCorrupt;
        reducesWhileDecoding = format == "png" && PngReducesWhileDecoding(bytes);
    }

    const QSize kept = KeptSize(pictureSize);
    QSize decoded = pictureSize;
    QSize largest = pictureSize; // of the pictures the reader allocates
    if (kept != pictureSize && format == "jpeg") {
        // Asked for just what libjpeg decodes, the reader scales no further
        // (a third of the time, and no second picture beside the first);
        // the picture is averaged down to the kept size while it is packed.
        decoded = largest = JpegEighthSize(pictureSize, JpegDecodeSize(pictureSize, kept));
    } else if (kept != pictureSize && reducesWhileDecoding) {
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
    // A file cut while it was read may still decode (the JPEG decoder fills
    // the rest with grey): what was read is only the picture when the file
    // kept its size.
    if (image.isNull() || file.size() != size)
        return irCorrupt;
    const bool larger = image.width() > kept.width() || image.height() > kept.height();
    // Transparent parts show the card's paper: composited onto white here,
    // so every road that draws or filters the picture sees plain colours.
    picture = larger ? PackReduced(image, kept) : PackImage(image, image.hasAlphaChannel() ? 24 : 0);
    return picture ? irOK : irNoMemory;
}

qint64 WholeDecodeBytes(const QByteArray &data)
{
    QByteArray bytes = data;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || !IsImportFormat(reader.format()))
        return -1;
    const QSize size = HeaderSize(reader);
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() > MaxImportPixels)
        return -1;
    const qint64 decoded = ImageBytes(size, 32);
    return decoded <= DecodeBudgetBytes ? decoded : -1;
}

int ipImportInd(TImportParams *params)
{
    if (!params)
        return irBadParams;
    params->Picture.Reset();
    if (params->Size != sizeof(TImportParams) || params->Mode != ipImportFile || !params->FileName
        || !*params->FileName)
        return irBadParams;
    QByteArray format;
    return ImportPictureFile(QFile::decodeName(params->FileName), params->Picture, format);
}
