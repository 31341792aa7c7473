#pragma once

#include <QCache>
#include <QImage>
#include <QSizeF>
#include <QStringList>
#include <QSvgRenderer>

#include <memory>

class QPainter;

// A vector logo (an SVG document): drawn as vectors on paper, rasterised
// once per size for the screen, where the same sizes are drawn on every
// keystroke. It reads nothing but its own document.
class TVectorPicture
{
public:
    // The picture in the file, or null when it is no SVG document that can be
    // drawn: unreadable, too large, compressed, malformed, without extent or
    // costing more to draw than about a second.
    static std::shared_ptr<TVectorPicture> FromFile(const QString &fileName);
    // The same from the file's content.
    static std::shared_ptr<TVectorPicture> FromData(const QByteArray &data);

    // The picture's own extent; only its proportions count.
    QSizeF Size() const { return FSize; }
    // What the document named that was left out, as it names it: other
    // files, addresses, style sheets, embedded pictures beyond the bounds.
    const QStringList &LeftOut() const { return FLeftOut; }
    // Whether paper takes the vectors. Long texts (which a PDF stores as
    // outlines), many elements or stops and embedded pictures would make
    // every card of a job large; such a picture goes to paper as a raster.
    bool PrintsAsVectors() const { return FPrintsAsVectors; }
    // Draws the whole picture stretched into the rectangle, as vectors.
    void Draw(QPainter &painter, const QRectF &target);
    // The picture rasterised at the size (at most 4096 pixels a side),
    // transparent where it draws nothing.
    QImage Raster(const QSize &size);
    // The same for paper, kept apart from the screen's for the last sizes a
    // job asked for: every card of a job draws the very same picture, which
    // a PDF stores once.
    QImage PaperRaster(const QSize &size);
    // The picture rasterised to fit the size, keeping its proportions, on white.
    QImage RasterOnWhite(const QSize &bounds);

private:
    TVectorPicture() = default;
    QImage CachedRaster(QCache<quint64, QImage> &cache, const QSize &size, qsizetype cost);

    QSvgRenderer FRenderer;
    QSizeF FSize;
    QStringList FLeftOut;
    bool FPrintsAsVectors = true;
    QCache<quint64, QImage> FRasters{32 * 1024}; // in kilobytes
    QCache<quint64, QImage> FPaperRasters{2};    // in pictures: the front's and the back's size
};
