#pragma once

#include "model/uGeometry.h"
#include "model/uQRCodeSettings.h"

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

// At that level of error correction (not Automatisch), version MinVersion
// or larger. Recent results are kept: the preview and every thumbnail
// encode the same texts.
TQRCodePtr EncodeQRCode(const QByteArray &data, int minVersion, TQRCodeSettings::TFehlerkorrektur level);
// The smallest version whose quiet zone still fits into the margin when the
// code is Size millimetres wide.
int MinimumQRCodeVersion(float size);
// The code of the document's QR code data, whether or not it is shown, in
// the form and error correction of its settings. An automatic form takes
// the compact one when the vCard's modules would print too small and the
// compact one's are larger.
TQRCodePtr DocumentQRCode(const TDocument &document);

// Modules printed smaller than this are hard to scan for a phone.
inline constexpr float ReadableModule = 0.25f; // mm
// The smallest module of a code Size millimetres wide as a printer of
// 300 dpi prints it: each module edge falls on a whole dot, so modules of
// 2.9 dots print as 2 or 3 dots.
float PrintedModule(float size, int modules);

// Whether a code Size millimetres wide stays on a card face of that size,
// its margin included.
bool QRCodeFitsCard(float size, const TSinglePoint &face);

// What keeps the QR code the document shows from printing, or from being
// read well.
enum class TQRCodeProblem {
    None,           // also when no code is shown
    TooMuchData,    // not printed
    LargerThanCard, // not printed
    NoFreeCorner,   // not printed: an automatic corner found none free of text
    HardToRead,     // printed with modules below ReadableModule
};
// Code is the document's code, as DocumentQRCode gives it, on a card of that
// layout.
TQRCodeProblem QRCodeProblem(const TDocument &document, const TQRCodePtr &code, const TKartenlayout &layout);
// The code is not printed at all.
bool LeavesQRCodeOff(TQRCodeProblem problem);
// Registers the German defaults of the problems' texts.
void RegisterQRCodeTexts();
// The problem in the program's language; empty for None.
QString QRCodeProblemText(TQRCodeProblem problem);

// Where the code lies on the face of a card of that format and layout, in
// millimetres of the face: its own square and, around it, its quiet zone,
// the area painted white. An automatic corner is the first of bottom right,
// bottom left, top right, top left whose area meets no ink of the face
// (FaceInk), on the chosen side, then on the other side of a two-sided
// card. None when the code is not drawn.
struct TQRCodePlace
{
    bool Back = false;
    TSingleRect Square;
    TSingleRect Area;
};
std::optional<TQRCodePlace> PlaceQRCode(const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                                        const TKartenlayout &layout);

// Draws Code, the document's QR code, at its place when that is on the
// Back or front face of a card of that format ALayout is drawn on, turned
// with the face by Angle degrees about Centre. Dark modules are one vector
// path, sharp on printers and in PDF; the quiet zone is painted white over
// whatever lies beneath.
void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                bool back, float angle, const TSinglePoint &centre, const TKartenlayout &layout);
