#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

// What drawing an SVG document once costs, each <use> counted as what it
// draws: elements, characters of text, gradient stops, bytes of path data
// and pixels of embedded pictures.
struct TSvgCost
{
    qint64 Elements = 0;
    qint64 TextCharacters = 0;
    qint64 Stops = 0;
    qint64 PathBytes = 0;
    qint64 PicturePixels = 0;
};

// An SVG document rewritten to read nothing but itself.
struct TSvgContent
{
    // Well-formed XML whose entities expand to a bounded text, costing no
    // more than about a second to draw.
    bool Valid = false;
    // What the renderer may read.
    QByteArray Document;
    // What was dropped, as the document names it: files, addresses, style
    // sheets, external entities, embedded pictures beyond the bounds.
    QStringList LeftOut;
    TSvgCost Cost;
};

// The renderer opens whatever file an <image> or a style-sheet instruction
// names, so the document is rewritten before it sees it: elements and
// attributes are kept, but a reference is kept only when it points into
// the document ("#id", "url(#id)") or is an embedded picture of a bitmap
// format within the import's bounds (a few per document, all within the
// decoding budget). Dropped: every other reference, style-sheet
// instructions and @import, external entities, the DTD, comments, scripts
// and animations. An <image> or <use> whose reference is dropped goes
// with it.
TSvgContent SelfContainedSvg(const QByteArray &data);
