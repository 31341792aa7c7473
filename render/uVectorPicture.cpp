#include "render/uVectorPicture.h"

#include "render/uSvgContent.h"
#include "support/uRegularFile.h"

#include <QPainter>

#include <cmath>

namespace {

// Far more than any logo: a larger document only costs parse time.
constexpr qint64 MaxFileBytes = 8 * 1024 * 1024;
// Screen rasters beyond this are stretched when drawn; a zoomed-in preview
// would otherwise hold hundreds of megabytes.
constexpr int MaxRasterSide = 4096;

// About what the vectors add to a PDF for every card: a PDF stores the
// characters of an SVG text as outlines, about a kilobyte each.
qint64 VectorBytes(const TSvgCost &cost)
{
    return cost.TextCharacters * 1024 + cost.Elements * 64 + cost.Stops * 256 + cost.PathBytes
           + cost.PicturePixels * 4;
}
// What a logo may add to every card as vectors: a PDF of 99 sheets stays
// within a few megabytes.
constexpr qint64 MaxVectorBytes = 8 * 1024;

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
    const TFileContent content = ReadRegularFile(fileName, MaxFileBytes);
    if (content.Result != TFileContent::Read)
        return nullptr;
    return FromData(content.Bytes);
}

std::shared_ptr<TVectorPicture> TVectorPicture::FromData(const QByteArray &data)
{
    // The renderer inflates compressed documents without a bound of its own.
    if (data.startsWith("\x1F\x8B"))
        return nullptr;
    TSvgContent content = SelfContainedSvg(data);
    if (!content.Valid)
        return nullptr;
    std::shared_ptr<TVectorPicture> picture(new TVectorPicture);
    if (!picture->FRenderer.load(content.Document) || !picture->FRenderer.isValid())
        return nullptr;
    picture->FSize = picture->FRenderer.viewBoxF().size();
    if (!IsUsableExtent(picture->FSize))
        return nullptr;
    picture->FLeftOut = std::move(content.LeftOut);
    picture->FPrintsAsVectors = VectorBytes(content.Cost) <= MaxVectorBytes;
    return picture;
}

void TVectorPicture::Draw(QPainter &painter, const QRectF &target)
{
    FRenderer.render(&painter, target);
}

QImage TVectorPicture::Raster(const QSize &size)
{
    const QSize bounded = Bounded(size);
    return CachedRaster(FRasters, bounded, qMax<qsizetype>(1, qsizetype(bounded.width()) * bounded.height() / 256));
}

QImage TVectorPicture::PaperRaster(const QSize &size)
{
    return CachedRaster(FPaperRasters, Bounded(size), 1);
}

QImage TVectorPicture::CachedRaster(QCache<quint64, QImage> &cache, const QSize &size, qsizetype cost)
{
    const quint64 key = quint64(size.width()) << 32 | quint64(size.height());
    if (const QImage *cached = cache.object(key))
        return *cached;
    auto *raster = new QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (raster->isNull()) {
        delete raster;
        return {};
    }
    raster->fill(Qt::transparent);
    {
        QPainter painter(raster);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    const QImage result = *raster;
    cache.insert(key, raster, cost);
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
