#include "render/Leonardo.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// No result may outgrow what an import may bring in.
constexpr qint64 MaxResultPixels = 100'000'000;

bool IsSensibleSize(qint64 width, qint64 height)
{
    return width > 0 && height > 0 && width * height <= MaxResultPixels;
}

// Results keep an alpha channel where the source has one; all others are 24-bit.
TDIBHandle PackLike(const QImage &image, const TDIBHandle &source)
{
    TBitmapInfoHeader header;
    ReadDIBHeader(source, header);
    return PackImage(image, header.biBitCount == 32 ? 0 : 24);
}

} // namespace

bool DIBInfo(const TDIBHandle &handle, TBitmapInfoHeader *header, int size)
{
    TBitmapInfoHeader read;
    if (!header || size <= 0 || !ReadDIBHeader(handle, read))
        return false;
    std::memcpy(header, &read, std::min<size_t>(size, sizeof read));
    return true;
}

TDIBHandle CopyHandle(const TDIBHandle &handle)
{
    TDIBHandle copy = TDIBHandle::Allocate(handle.Size());
    if (copy)
        std::memcpy(copy.Bits(), handle.Bits(), handle.Size());
    return copy;
}

void DIBFree(TDIBHandle &handle)
{
    handle.Reset();
}

bool ConvertDIB(TDIBHandle *handle, int bitCount, int /*flags*/)
{
    TBitmapInfoHeader header;
    if (!handle || bitCount != 24 || !ReadDIBHeader(*handle, header))
        return false;
    if (header.biBitCount == 24)
        return true;
    TDIBHandle converted = PackImage(UnpackImage(*handle), 24);
    if (!converted)
        return false;
    *handle = std::move(converted);
    return true;
}

TDIBHandle StretchDIB(const TDIBHandle &handle, int width, int height, int /*flags*/)
{
    if (!IsSensibleSize(width, height))
        return {};
    const QImage source = UnpackImage(handle);
    if (source.isNull())
        return {};
    // Smooth scaling averages every source pixel a target pixel covers when
    // shrinking, so thin lines of a large logo blend instead of vanishing.
    return PackLike(source.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), handle);
}

TDIBHandle RotateDIB(const TDIBHandle &handle, int tenthsOfDegree, QRgb background)
{
    const QImage source = UnpackImage(handle);
    if (source.isNull())
        return {};
    // Screen y grows downward, so a counter-clockwise turn is a negative
    // painter rotation.
    const int tenths = ((tenthsOfDegree % 3600) + 3600) % 3600;
    if (tenths % 900 == 0) {
        // Quarter turns move pixels exactly, without resampling.
        QTransform turn;
        turn.rotate(-tenths / 10);
        return PackLike(source.transformed(turn), handle);
    }

    QTransform turn;
    turn.rotate(-tenths / 10.0);
    const QRectF bounds = turn.mapRect(QRectF(source.rect()));
    const int width = int(std::ceil(bounds.width() - 1e-6));
    const int height = int(std::ceil(bounds.height() - 1e-6));
    if (!IsSensibleSize(width, height))
        return {};
    QImage target(width, height, source.format());
    if (target.isNull())
        return {};
    target.fill(QColor::fromRgb(background));
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(width / 2.0, height / 2.0);
    painter.setTransform(turn, true);
    painter.drawImage(QPointF(-source.width() / 2.0, -source.height() / 2.0), source);
    painter.end();
    return PackLike(target, handle);
}

bool StretchDIBBlt(QPainter &dc, int x, int y, int width, int height, const TDIBHandle &handle, int sourceX,
                   int sourceY, int sourceWidth, int sourceHeight, quint32 rop)
{
    if (rop != SRCCOPY)
        return false;
    const QImage picture = UnpackImage(handle);
    if (picture.isNull())
        return false;
    dc.drawImage(QRect(x, y, width, height), picture, QRect(sourceX, sourceY, sourceWidth, sourceHeight));
    return true;
}
