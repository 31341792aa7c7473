#pragma once

#include "model/uGeometry.h"

#include <QByteArray>
#include <QRect>

#include <memory>
#include <vector>

class TDocument;
struct TCardFormat;
class TKartenlayout;
class TScaleCanvas;

// A QR code as rectangles that together cover its dark modules, counted in
// modules from its top-left corner.
struct TQRCode
{
    int Width = 0; // modules along each edge
    std::vector<QRect> Dark;
};
// None when there is no data or it does not fit into any version.
using TQRCodePtr = std::shared_ptr<const TQRCode>;

// Distance of the code from the two card edges of its corner.
inline constexpr float QRCodeMargin = 5; // mm
// Width of the white quiet zone around the code, in modules.
inline constexpr int QRCodeQuietZone = 4;

// Error correction level M, version MinVersion or larger. The last result is
// kept: the preview and every thumbnail encode the same text.
TQRCodePtr EncodeQRCode(const QByteArray &data, int minVersion);
// The smallest version whose quiet zone still fits into the margin when the
// code is Size millimetres wide.
int MinimumQRCodeVersion(float size);
// The code of the document's QR code data, whether or not it is shown.
TQRCodePtr DocumentQRCode(const TDocument &document);

// Draws the document's QR code when it belongs on that side, in its corner
// of the face of a card of that format ALayout is drawn on, turned with the face by Angle
// degrees about Centre. Dark modules are one vector path, sharp on printers
// and in PDF; the quiet zone is painted white over whatever lies beneath.
void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, const TCardFormat &format, bool back, float angle,
                const TSinglePoint &centre, const TKartenlayout &layout);
