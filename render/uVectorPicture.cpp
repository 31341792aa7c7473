#include "render/uVectorPicture.h"

#include <QFile>
#include <QPainter>

#include <cmath>

namespace {

// Far more than any logo: a larger document only costs parse time.
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;
// Screen rasters beyond this are stretched when drawn; a zoomed-in preview
// would otherwise hold hundreds of megabytes.
constexpr int MaxRasterSide = 4096;

bool IsUsableExtent(const QSizeF &size)
{
    return std::isfinite(size.width()) && std::isfinite(size.height()) && size.width() > 0 && size.height() > 0;
}

QSize Bounded(QSize size)
{
    if (size.width() > MaxRasterSide || size.height() > MaxRasterSide)
        size = size.scaled(MaxRasterSide, MaxRasterSide, Qt::KeepAspectRatio);
    return size.expandedTo(QSize(1, 1));
}

} // namespace

std::shared_ptr<TVectorPicture> TVectorPicture::FromFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        return nullptr;
    return FromData(file.read(MaxFileBytes));
}

std::shared_ptr<TVectorPicture> TVectorPicture::FromData(const QByteArray &data)
{
    // The renderer inflates compressed documents without a bound of its own.
    if (data.startsWith("\x1F\x8B"))
        return nullptr;
    std::shared_ptr<TVectorPicture> picture(new TVectorPicture);
    if (!picture->FRenderer.load(data) || !picture->FRenderer.isValid())
        return nullptr;
    picture->FSize = picture->FRenderer.viewBoxF().size();
    if (!IsUsableExtent(picture->FSize))
        return nullptr;
    return picture;
}

void TVectorPicture::Draw(QPainter &painter, const QRectF &target)
{
    FRenderer.render(&painter, target);
}

QImage TVectorPicture::Raster(const QSize &size)
{
    const QSize bounded = Bounded(size);
    const quint64 key = quint64(bounded.width()) << 32 | quint64(bounded.height());
    if (const QImage *cached = FRasters.object(key))
        return *cached;
    auto *raster = new QImage(bounded, QImage::Format_ARGB32_Premultiplied);
    if (raster->isNull()) {
        delete raster;
        return {};
    }
    raster->fill(Qt::transparent);
    {
        QPainter painter(raster);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        Draw(painter, QRectF(QPointF(0, 0), QSizeF(bounded)));
    }
    const QImage result = *raster;
    FRasters.insert(key, raster, qMax<qsizetype>(1, raster->sizeInBytes() / 1024));
    return result;
}

QImage TVectorPicture::RasterOnWhite(const QSize &bounds)
{
    const QSize size = Bounded(FSize.scaled(QSizeF(bounds), Qt::KeepAspectRatio).toSize());
    QImage raster(size, QImage::Format_RGB32);
    if (raster.isNull())
        return {};
    raster.fill(Qt::white);
    QPainter painter(&raster);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return raster;
}
