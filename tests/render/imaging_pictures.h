#pragma once

#include "render/DaVinci.h"
#include "render/uPackedDIB.h"

#include <QFile>
#include <QImage>
#include <QString>

#include <cstring>
#include <utility>

// Picture files made by the tests themselves, and small readers of packed bitmaps.
namespace ImagingTest {

// 37 x 23 pixels (rows need padding at every depth): red left half, blue
// right half, a green top-left and a yellow bottom-right pixel.
inline QImage SamplePicture()
{
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, x < 18 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    image.setPixel(0, 0, qRgb(0, 255, 0));
    image.setPixel(36, 22, qRgb(255, 255, 0));
    return image;
}

inline QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline std::pair<int, TDIBHandle> Import(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    TImportParams params;
    params.Mode = ipImportFile;
    params.FileName = name.constData();
    const int result = ipImportInd(&params);
    return {result, std::move(params.Picture)};
}

inline TBitmapInfoHeader HeaderOf(const TDIBHandle &handle)
{
    TBitmapInfoHeader header;
    if (handle.Size() >= qsizetype(sizeof header))
        std::memcpy(&header, handle.Bits(), sizeof header);
    return header;
}

// The blue, green and red bytes of a pixel of a 24-bit packed bitmap (y counted from the top).
inline QRgb Pixel24(const TDIBHandle &handle, int x, int y)
{
    const TBitmapInfoHeader header = HeaderOf(handle);
    const uchar *p = handle.Bits() + sizeof header
                     + (header.biHeight - 1 - y) * DIBRowBytes(header.biWidth, 24) + 3 * x;
    return qRgb(p[2], p[1], p[0]);
}

} // namespace ImagingTest
