#pragma once

#include "model/uGeometry.h"

#include <QByteArray>

#include <vector>

class TDocument;
class TKartenlayout;
class TScaleCanvas;

// The modules of a QR code row by row, dark ones true; empty when the data
// does not fit into any version.
struct TQRMatrix
{
    int Width = 0;
    std::vector<bool> Modules;

    bool IsEmpty() const { return Width == 0; }
    bool Dark(int column, int row) const { return Modules[std::size_t(row) * std::size_t(Width) + std::size_t(column)]; }
};

// Distance of the code from the two card edges of its corner.
inline constexpr float QRCodeMargin = 5; // mm
// Width of the white quiet zone around the code, in modules.
inline constexpr int QRCodeQuietZone = 4;

// Error correction level M, version MinVersion or larger. The last result is
// kept: the preview and every thumbnail encode the same text.
TQRMatrix EncodeQRCode(const QByteArray &data, int minVersion);
// The smallest version whose quiet zone still fits into the margin when the
// code is Size millimetres wide.
int MinimumQRCodeVersion(float size);
// The document's QR code, or an empty one when it shows none or its data do
// not fit.
TQRMatrix DocumentQRCode(const TDocument &document);

// Draws the document's QR code when it belongs on that side, in its corner
// of the card face ALayout is drawn on, turned with the face by Angle
// degrees about Centre. Dark modules are one vector path, sharp on printers
// and in PDF; the quiet zone is painted white over whatever lies beneath.
void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, bool back, float angle,
                const TSinglePoint &centre, const TKartenlayout &layout);
