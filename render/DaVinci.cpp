#include "render/DaVinci.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

// A 100-megapixel picture decodes into at most 400 MB (four bytes a pixel);
// the reader refuses anything that would need more.
constexpr int DecodeLimitMB = int(MaxImportPixels * 4 / (1024 * 1024)) + 1;
// No uncompressed picture within the pixel limit is bigger than this.
constexpr qint64 MaxFileBytes = MaxImportPixels * 4 + 64 * 1024 * 1024;

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
    return format == "bmp" || format == "jpeg" || format == "tiff" || format == "png";
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

    // The size comes from the file's header, before anything is decoded.
    const QSize pictureSize = reader.size();
    if (!pictureSize.isValid())
        return irCorrupt;
    if (qint64(pictureSize.width()) * pictureSize.height() > MaxImportPixels)
        return irTooLarge;
    if (!IsComplete(reader.format(), data, size))
        return irCorrupt;

    reader.setAllocationLimit(DecodeLimitMB);
    const QImage image = reader.read();
    if (image.isNull())
        return irCorrupt;
    picture = PackImage(image);
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
