#pragma once

#include <QCache>
#include <QImage>
#include <QSizeF>
#include <QSvgRenderer>

#include <memory>

class QPainter;

// A vector logo (an SVG document): drawn as vectors on paper, rasterised
// once per size for the screen, where the same sizes are drawn on every
// keystroke.
class TVectorPicture
{
public:
    // The picture in the file, or null when it is no SVG document that can be
    // drawn: unreadable, too large, compressed, malformed or without extent.
    static std::shared_ptr<TVectorPicture> FromFile(const QString &fileName);
    // The same from the file's content.
    static std::shared_ptr<TVectorPicture> FromData(const QByteArray &data);

    // The picture's own extent; only its proportions count.
    QSizeF Size() const { return FSize; }
    // Draws the whole picture stretched into the rectangle, as vectors.
    void Draw(QPainter &painter, const QRectF &target);
    // The picture rasterised at the size (at most 4096 pixels a side),
    // transparent where it draws nothing.
    QImage Raster(const QSize &size);
    // The picture rasterised to fit the size, keeping its proportions, on white.
    QImage RasterOnWhite(const QSize &bounds);

private:
    TVectorPicture() = default;

    QSvgRenderer FRenderer;
    QSizeF FSize;
    QCache<quint64, QImage> FRasters{32 * 1024}; // in kilobytes
};
