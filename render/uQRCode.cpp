#include "render/uQRCode.h"

#include "model/uCardContact.h"
#include "model/uDocument.h"
#include "render/uScaler.h"

#include <QPainter>
#include <QPainterPath>

#include <qrencode.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The card face in the layout's own orientation: the slot, or half of it on
// a folding card, turned when the layout lies across the slot.
TSinglePoint FaceExtent(const TDocument &document, const TKartenlayout &layout)
{
    const TBogenlayout &sheet = document.Bogenlayout();
    const float width = document.Kartentyp() == TDocument::Klappkarte ? sheet.CardWidth / 2 : sheet.CardWidth;
    if (IsLayoutRotated(layout, sheet))
        return {sheet.CardHeight, width};
    return {width, sheet.CardHeight};
}

// Device rectangle of a millimetre box of the face, turned with it. Edges
// shared by two boxes round alike, so neighbouring modules neither overlap
// nor leave a gap.
class TFacePlacement
{
public:
    TFacePlacement(const TScaleCanvas &canvas, float angle, const TSinglePoint &centre)
        : FCanvas(canvas), FAngle(angle), FCentre(centre)
    {
    }

    QRect Device(float left, float top, float right, float bottom) const
    {
        const TSinglePoint a = RotatePointAround(SinglePoint(left, top), FCentre, FAngle);
        const TSinglePoint b = RotatePointAround(SinglePoint(right, bottom), FCentre, FAngle);
        const int x1 = FCanvas.MMToX(a.X);
        const int x2 = FCanvas.MMToX(b.X);
        const int y1 = FCanvas.MMToY(a.Y);
        const int y2 = FCanvas.MMToY(b.Y);
        return QRect(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
    }

private:
    const TScaleCanvas &FCanvas;
    float FAngle;
    TSinglePoint FCentre;
};

// Readers take 8-bit data for Latin-1 or guess, and some guess wrong: text
// beyond ASCII says it is UTF-8.
QRcode *Encode(const QByteArray &data, int minVersion)
{
    constexpr unsigned int Utf8Designator = 26;
    const bool ascii = std::all_of(data.begin(), data.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
    if (ascii)
        return QRcode_encodeString(data.constData(), minVersion, QR_ECLEVEL_M, QR_MODE_8, 1);
    const std::unique_ptr<QRinput, decltype(&QRinput_free)> input(QRinput_new2(minVersion, QR_ECLEVEL_M), &QRinput_free);
    if (!input || QRinput_appendECIheader(input.get(), Utf8Designator) != 0
        || QRinput_append(input.get(), QR_MODE_8, int(data.size()), reinterpret_cast<const unsigned char *>(data.constData())) != 0)
        return nullptr;
    return QRcode_encodeInput(input.get());
}

} // namespace

TQRMatrix EncodeQRCode(const QByteArray &data, int minVersion)
{
    static QByteArray lastData;
    static int lastVersion = -1;
    static TQRMatrix last;
    if (minVersion == lastVersion && data == lastData)
        return last;

    TQRMatrix matrix;
    if (!data.isEmpty()) {
        const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(Encode(data, minVersion), &QRcode_free);
        if (code) {
            matrix.Width = code->width;
            matrix.Modules.resize(std::size_t(code->width) * std::size_t(code->width));
            for (std::size_t i = 0; i < matrix.Modules.size(); ++i)
                matrix.Modules[i] = (code->data[i] & 1) != 0;
        }
    }
    lastData = data;
    lastVersion = minVersion;
    last = matrix;
    return last;
}

int MinimumQRCodeVersion(float size)
{
    // Version v has 17 + 4 v modules; QRCodeQuietZone of them must fit into the margin.
    const float modules = size * QRCodeQuietZone / QRCodeMargin;
    return std::clamp(int(std::ceil((modules - 17) / 4)), 1, 40);
}

TQRMatrix DocumentQRCode(const TDocument &document)
{
    return EncodeQRCode(QRCodeText(document), MinimumQRCodeVersion(document.QRCode().Groesse));
}

void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, bool back, float angle,
                const TSinglePoint &centre, const TKartenlayout &layout)
{
    if (!QRCodeOnSide(document, back))
        return;
    const TQRMatrix code = DocumentQRCode(document);
    if (code.IsEmpty())
        return;

    const TQRCodeSettings &settings = document.QRCode();
    const TSinglePoint face = FaceExtent(document, layout);
    const float size = settings.Groesse;
    const bool right = settings.Ecke == TQRCodeSettings::ObenRechts || settings.Ecke == TQRCodeSettings::UntenRechts;
    const bool bottom = settings.Ecke == TQRCodeSettings::UntenLinks || settings.Ecke == TQRCodeSettings::UntenRechts;
    const float left = right ? face.X - QRCodeMargin - size : QRCodeMargin;
    const float top = bottom ? face.Y - QRCodeMargin - size : QRCodeMargin;
    const float module = size / float(code.Width);
    const float quiet = module * QRCodeQuietZone;
    const TFacePlacement place(canvas, angle, centre);

    QPainter &painter = canvas.Canvas();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(place.Device(std::max(0.0f, left - quiet), std::max(0.0f, top - quiet),
                                  std::min(face.X, left + size + quiet), std::min(face.Y, top + size + quiet)),
                     Qt::white);

    // One rectangle per run of dark modules in a row.
    QPainterPath path;
    for (int row = 0; row < code.Width; ++row) {
        for (int column = 0; column < code.Width;) {
            if (!code.Dark(column, row)) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < code.Width && code.Dark(column, row))
                ++column;
            path.addRect(place.Device(left + float(start) * module, top + float(row) * module,
                                      left + float(column) * module, top + float(row + 1) * module));
        }
    }
    painter.fillPath(path, Qt::black);
    painter.restore();
}
