#include "render/uPackedDIB.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

namespace {

constexpr int InfoHeaderSize = sizeof(TBitmapInfoHeader);

int PaletteEntries(const TBitmapInfoHeader &header)
{
    if (header.biBitCount > 8)
        return 0;
    return header.biClrUsed != 0 ? int(header.biClrUsed) : 1 << header.biBitCount;
}

bool IsKnownBitCount(int bitCount)
{
    return bitCount == 1 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

int NaturalBitCount(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return 1;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16:
        return 8;
    default:
        return image.hasAlphaChannel() ? 32 : 24;
    }
}

// The picture in the form its rows are copied from: palette pictures as
// Indexed8 (Mono for one bit), true-colour ones as (A)RGB32.
QImage SourceFor(const QImage &image, int bitCount, QList<QRgb> &palette)
{
    switch (bitCount) {
    case 1: {
        QImage mono = image.convertToFormat(QImage::Format_Mono);
        palette = mono.colorTable();
        if (palette.size() != 2)
            palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
        return mono;
    }
    case 8: {
        if (image.format() == QImage::Format_Indexed8 && !image.colorTable().isEmpty()) {
            palette = image.colorTable();
            return image;
        }
        palette.clear();
        for (int i = 0; i < 256; ++i)
            palette.append(qRgb(i, i, i));
        QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        return grey;
    }
    case 32:
        return image.convertToFormat(QImage::Format_ARGB32);
    default:
        if (!image.hasAlphaChannel())
            return image.convertToFormat(QImage::Format_RGB32);
        QImage onWhite(image.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, image);
        return onWhite;
    }
}

void PackRow(const uchar *source, int width, int bitCount, uchar *target)
{
    switch (bitCount) {
    case 1:
        std::memcpy(target, source, (width + 7) / 8);
        break;
    case 8:
        std::memcpy(target, source, width);
        break;
    default: {
        const auto *pixels = reinterpret_cast<const QRgb *>(source);
        for (int x = 0; x < width; ++x) {
            *target++ = uchar(qBlue(pixels[x]));
            *target++ = uchar(qGreen(pixels[x]));
            *target++ = uchar(qRed(pixels[x]));
            if (bitCount == 32)
                *target++ = uchar(qAlpha(pixels[x]));
        }
    }
    }
}

QRgb PaletteColour(const uchar *table, int entries, int index)
{
    if (index >= entries)
        return qRgb(0, 0, 0);
    const uchar *quad = table + 4 * index;
    return qRgb(quad[2], quad[1], quad[0]);
}

void UnpackRow(const uchar *row, const uchar *table, const TBitmapInfoHeader &header, QRgb *target)
{
    const int width = header.biWidth;
    const int entries = PaletteEntries(header);
    for (int x = 0; x < width; ++x) {
        switch (header.biBitCount) {
        case 1:
            target[x] = PaletteColour(table, entries, (row[x / 8] >> (7 - x % 8)) & 1);
            break;
        case 8:
            target[x] = PaletteColour(table, entries, row[x]);
            break;
        case 24:
            target[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            break;
        default:
            target[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
        }
    }
}

// Adds a row of premultiplied pixels to the sums (blue, green, red, alpha)
// of the target pixels whose blocks of columns they fall in.
// Rows averaged into one pixel at most when a picture is reduced.
constexpr int MaxRowsPerBlock = 16;

void AddRow(const QRgb *pixels, const std::vector<int> &columnStart, std::vector<quint64> &sums)
{
    for (std::size_t x = 0; x + 1 < columnStart.size(); ++x) {
        quint64 *sum = &sums[x * 4];
        for (int sourceX = columnStart[x]; sourceX < columnStart[x + 1]; ++sourceX) {
            const QRgb pixel = pixels[sourceX];
            sum[0] += qBlue(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qRed(pixel);
            sum[3] += qAlpha(pixel);
        }
    }
}

// Writes the means of a row of blocks as 24-bit pixels on the white card.
void StoreRow(const std::vector<quint64> &sums, const std::vector<int> &columnStart, int sourceRows, uchar *target)
{
    for (std::size_t x = 0; x + 1 < columnStart.size(); ++x) {
        const quint64 count = quint64(sourceRows) * quint64(columnStart[x + 1] - columnStart[x]);
        const quint64 *sum = &sums[x * 4];
        const quint64 white = 255 * count - sum[3]; // what shows through the transparent part
        for (int channel = 0; channel < 3; ++channel)
            *target++ = uchar((sum[channel] + white + count / 2) / count);
    }
}

} // namespace

qsizetype DIBRowBytes(int width, int bitCount)
{
    return ((qsizetype(width) * bitCount + 31) / 32) * 4;
}

TDIBHandle::~TDIBHandle()
{
    Reset();
}

TDIBHandle::TDIBHandle(TDIBHandle &&other) noexcept
    : FData(std::exchange(other.FData, nullptr)), FSize(std::exchange(other.FSize, 0))
{
}

TDIBHandle &TDIBHandle::operator=(TDIBHandle &&other) noexcept
{
    if (this != &other) {
        Reset();
        FData = std::exchange(other.FData, nullptr);
        FSize = std::exchange(other.FSize, 0);
    }
    return *this;
}

TDIBHandle TDIBHandle::Allocate(qsizetype size)
{
    TDIBHandle handle;
    if (size <= 0)
        return handle;
    handle.FData = new (std::nothrow) uchar[size]();
    if (handle.FData)
        handle.FSize = size;
    return handle;
}

void TDIBHandle::Reset()
{
    delete[] FData;
    FData = nullptr;
    FSize = 0;
}

bool ReadDIBHeader(const TDIBHandle &handle, TBitmapInfoHeader &header)
{
    if (handle.Size() < InfoHeaderSize)
        return false;
    TBitmapInfoHeader read;
    std::memcpy(&read, handle.Bits(), InfoHeaderSize);
    if (read.biSize != InfoHeaderSize || read.biWidth <= 0 || read.biHeight <= 0 || read.biPlanes != 1
        || !IsKnownBitCount(read.biBitCount) || read.biCompression != 0)
        return false;
    if (read.biBitCount <= 8 && read.biClrUsed > (1u << read.biBitCount))
        return false;
    const qint64 needed = InfoHeaderSize + 4 * qint64(PaletteEntries(read))
                          + qint64(DIBRowBytes(read.biWidth, read.biBitCount)) * read.biHeight;
    if (handle.Size() < needed)
        return false;
    header = read;
    return true;
}

TDIBHandle PackImage(const QImage &image, int bitCount)
{
    if (image.isNull())
        return {};
    if (bitCount == 0)
        bitCount = NaturalBitCount(image);
    else if (bitCount != 24)
        return {};

    QList<QRgb> palette;
    const QImage source = SourceFor(image, bitCount, palette);
    if (source.isNull())
        return {};

    TBitmapInfoHeader header;
    header.biSize = InfoHeaderSize;
    header.biWidth = source.width();
    header.biHeight = source.height();
    header.biPlanes = 1;
    header.biBitCount = quint16(bitCount);
    header.biClrUsed = quint32(palette.size());
    const qsizetype rowBytes = DIBRowBytes(header.biWidth, bitCount);
    const qint64 imageBytes = qint64(rowBytes) * header.biHeight;
    if (imageBytes > std::numeric_limits<quint32>::max())
        return {};
    header.biSizeImage = quint32(imageBytes);
    const qsizetype paletteBytes = 4 * palette.size();

    TDIBHandle handle = TDIBHandle::Allocate(InfoHeaderSize + paletteBytes + imageBytes);
    if (!handle)
        return handle;
    uchar *bits = handle.Bits();
    std::memcpy(bits, &header, InfoHeaderSize);
    uchar *table = bits + InfoHeaderSize;
    for (const QRgb colour : palette) {
        *table++ = uchar(qBlue(colour));
        *table++ = uchar(qGreen(colour));
        *table++ = uchar(qRed(colour));
        *table++ = 0;
    }
    uchar *rows = bits + InfoHeaderSize + paletteBytes;
    for (int y = 0; y < header.biHeight; ++y)
        PackRow(source.constScanLine(y), header.biWidth, bitCount, rows + (header.biHeight - 1 - y) * rowBytes);
    return handle;
}

TDIBHandle PackReduced(const QImage &image, QSize size)
{
    if (image.isNull())
        return {};
    const int sourceWidth = image.width(), sourceHeight = image.height();
    const int width = qBound(1, size.width(), sourceWidth), height = qBound(1, size.height(), sourceHeight);
    TBitmapInfoHeader header;
    header.biSize = InfoHeaderSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const qsizetype rowBytes = DIBRowBytes(width, 24);
    header.biSizeImage = quint32(rowBytes * height);
    TDIBHandle handle = TDIBHandle::Allocate(InfoHeaderSize + rowBytes * height);
    if (!handle)
        return handle;
    std::memcpy(handle.Bits(), &header, InfoHeaderSize);
    uchar *rows = handle.Bits() + InfoHeaderSize;

    // Every target pixel is the mean of the block of source pixels it
    // covers, taken premultiplied so that transparent pixels add no colour.
    // Blocks taller than MaxRowsPerBlock are averaged over that many rows
    // spread evenly across them: a strip of millions of rows then costs no
    // more than a photo does. The rows taken are gathered and converted a
    // band at a time: one by one would cost a conversion, and an allocation,
    // for each of them.
    std::vector<int> columnStart(std::size_t(width) + 1);
    for (int x = 0; x <= width; ++x)
        columnStart[std::size_t(x)] = int(qint64(x) * sourceWidth / width);
    std::vector<int> sourceRows;
    std::vector<int> rowsPerPixel(std::size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const int top = int(qint64(y) * sourceHeight / height);
        const int blockRows = int(qint64(y + 1) * sourceHeight / height) - top;
        const int taken = qMin(blockRows, MaxRowsPerBlock);
        rowsPerPixel[std::size_t(y)] = taken;
        for (int i = 0; i < taken; ++i)
            sourceRows.push_back(top + int(qint64(i) * blockRows / taken));
    }

    const int bandRows = qMax(1, (1 << 18) / sourceWidth);
    QImage band(sourceWidth, bandRows, image.format());
    if (band.isNull())
        return {};
    band.setColorTable(image.colorTable());
    std::vector<quint64> sums(std::size_t(width) * 4);
    int y = 0, summed = 0;
    const std::size_t lineBytes = std::size_t(qMin(band.bytesPerLine(), image.bytesPerLine()));
    for (std::size_t next = 0; next < sourceRows.size();) {
        const int count = int(qMin<std::size_t>(std::size_t(bandRows), sourceRows.size() - next));
        for (int i = 0; i < count; ++i)
            std::memcpy(band.scanLine(i), image.constScanLine(sourceRows[next + std::size_t(i)]), lineBytes);
        next += std::size_t(count);
        const QImage converted = band.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int i = 0; i < count; ++i) {
            AddRow(reinterpret_cast<const QRgb *>(converted.constScanLine(i)), columnStart, sums);
            if (++summed < rowsPerPixel[std::size_t(y)])
                continue;
            StoreRow(sums, columnStart, summed, rows + (height - 1 - y) * rowBytes);
            std::fill(sums.begin(), sums.end(), 0);
            summed = 0;
            ++y;
        }
    }
    return handle;
}

QImage UnpackImage(const TDIBHandle &handle)
{
    TBitmapInfoHeader header;
    if (!ReadDIBHeader(handle, header))
        return {};
    QImage image(header.biWidth, header.biHeight,
                 header.biBitCount == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const uchar *table = handle.Bits() + InfoHeaderSize;
    const uchar *rows = table + 4 * PaletteEntries(header);
    const qsizetype rowBytes = DIBRowBytes(header.biWidth, header.biBitCount);
    for (int y = 0; y < header.biHeight; ++y)
        UnpackRow(rows + (header.biHeight - 1 - y) * rowBytes, table, header,
                  reinterpret_cast<QRgb *>(image.scanLine(y)));
    return image;
}
