#pragma once

#include "model/uGeometry.h"

#include <QByteArray>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
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

// Whether a code Size millimetres wide stays on a card face of that size,
// its margin included.
bool QRCodeFitsCard(float size, const TSinglePoint &face);

// What keeps the QR code the document shows from printing, or from being
// read well.
enum class TQRCodeProblem {
    None,           // also when no code is shown
    TooMuchData,    // not printed
    LargerThanCard, // not printed
    HardToRead,     // printed with modules below 0.25 mm
};
// Code is the document's code, as DocumentQRCode gives it.
TQRCodeProblem QRCodeProblem(const TDocument &document, const TQRCodePtr &code);
// Registers the German defaults of the problems' texts.
void RegisterQRCodeTexts();
// The problem in the program's language; empty for None.
QString QRCodeProblemText(TQRCodeProblem problem);

// What the code covers on the face of a card of that format, its quiet zone
// included: the area painted white. None when it is not drawn.
std::optional<TSingleRect> QRCodeArea(const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                                      const TKartenlayout &layout);

// Draws Code, the document's QR code, in its corner of the face of a card
// of that format ALayout is drawn on, turned with the face by Angle degrees
// about Centre; nothing when the code would not stay on the card. Dark
// modules are one vector path, sharp on printers and in PDF; the quiet zone
// is painted white over whatever lies beneath.
void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                float angle, const TSinglePoint &centre, const TKartenlayout &layout);
