#include "render/uQRCode.h"

#include "locale/ulocalize.h"
#include "model/uCardQRCode.h"
#include "model/uDocument.h"
#include "render/uScaler.h"

#include <QPainter>

#include <qrencode.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Version 40 at level M holds no more bytes.
constexpr qsizetype MaxQRCodeBytes = 2331;
// Modules below this are hard to scan for a phone.
constexpr float ReadableModule = 0.25f; // mm

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

// Runs of dark modules along the rows, a run continued straight down
// through the following rows as one rectangle.
TQRCodePtr Rectangles(const QRcode *encoded)
{
    if (!encoded)
        return nullptr;
    auto code = std::make_shared<TQRCode>();
    const int width = encoded->width;
    code->Width = width;
    const auto dark = [&](int column, int row) { return (encoded->data[row * width + column] & 1) != 0; };
    // The rectangle still growing downwards for each run start, by column.
    std::vector<int> open(std::size_t(width), -1);
    for (int row = 0; row < width; ++row) {
        std::vector<int> next(std::size_t(width), -1);
        for (int column = 0; column < width;) {
            if (!dark(column, row)) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < width && dark(column, row))
                ++column;
            const int growing = open[std::size_t(start)];
            if (growing >= 0 && code->Dark[std::size_t(growing)].width() == column - start) {
                code->Dark[std::size_t(growing)].setHeight(code->Dark[std::size_t(growing)].height() + 1);
                next[std::size_t(start)] = growing;
            } else {
                next[std::size_t(start)] = int(code->Dark.size());
                code->Dark.emplace_back(start, row, column - start, 1);
            }
        }
        open.swap(next);
    }
    return code;
}

} // namespace

TQRCodePtr EncodeQRCode(const QByteArray &data, int minVersion)
{
    // Too much for any version: refused before the encoder spends time and
    // memory on it.
    if (data.isEmpty() || data.size() > MaxQRCodeBytes)
        return nullptr;
    static QByteArray lastData;
    static int lastVersion = -1;
    static TQRCodePtr last;
    if (minVersion == lastVersion && data == lastData)
        return last;
    lastData = data;
    lastVersion = minVersion;
    last = Rectangles(std::unique_ptr<QRcode, decltype(&QRcode_free)>(Encode(data, minVersion), &QRcode_free).get());
    return last;
}

int MinimumQRCodeVersion(float size)
{
    // Version v has 17 + 4 v modules; QRCodeQuietZone of them must fit into the margin.
    const float modules = size * QRCodeQuietZone / QRCodeMargin;
    return std::clamp(int(std::ceil((modules - 17) / 4)), 1, 40);
}

TQRCodePtr DocumentQRCode(const TDocument &document)
{
    return EncodeQRCode(QRCodeText(document), MinimumQRCodeVersion(document.QRCode().Groesse));
}

bool QRCodeFitsCard(float size, const TSinglePoint &face)
{
    return QRCodeMargin + size <= std::min(face.X, face.Y);
}

TQRCodeProblem QRCodeProblem(const TDocument &document, const TQRCodePtr &code)
{
    const TQRCodeSettings &settings = document.QRCode();
    if (!settings.Anzeigen || !HasQRCodeData(document))
        return TQRCodeProblem::None;
    if (!code)
        return TQRCodeProblem::TooMuchData;
    const TCardFormat format = document.CardFormat();
    if (!QRCodeFitsCard(settings.Groesse, CardFace(document.Kartenlayout(), format.Sheet, format.Folding)))
        return TQRCodeProblem::LargerThanCard;
    if (settings.Groesse / float(code->Width) < ReadableModule)
        return TQRCodeProblem::HardToRead;
    return TQRCodeProblem::None;
}

void RegisterQRCodeTexts()
{
    RegisterDefaultText(QStringLiteral("ID_QRCODEZUVIEL"),
                        QStringLiteral("Die Daten sind zu umfangreich für einen QR-Code; er wird nicht gedruckt."));
    RegisterDefaultText(QStringLiteral("ID_QRCODEKARTE"),
                        QStringLiteral("Der QR-Code ist mit seinem Rand größer als die Karte; er wird nicht gedruckt. "
                                       "Wählen Sie ihn kleiner."));
    RegisterDefaultText(QStringLiteral("ID_QRCODEKLEIN"),
                        QStringLiteral("Die Punkte des QR-Codes werden kleiner als 0,25 mm und sind schwer zu "
                                       "scannen. Wählen Sie ihn größer oder kürzen Sie die Daten."));
}

QString QRCodeProblemText(TQRCodeProblem problem)
{
    switch (problem) {
    case TQRCodeProblem::None:
        break;
    case TQRCodeProblem::TooMuchData:
        return GetDefaultText(QStringLiteral("ID_QRCODEZUVIEL"));
    case TQRCodeProblem::LargerThanCard:
        return GetDefaultText(QStringLiteral("ID_QRCODEKARTE"));
    case TQRCodeProblem::HardToRead:
        return GetDefaultText(QStringLiteral("ID_QRCODEKLEIN"));
    }
    return {};
}

namespace {

// The code's own square on the face; none when it would not stay on the card.
std::optional<TSingleRect> QRCodeSquare(const TDocument &document, const TQRCodePtr &code, const TSinglePoint &face)
{
    // A code beyond its card would print onto the neighbouring ones.
    if (!code || !QRCodeFitsCard(document.QRCode().Groesse, face))
        return std::nullopt;
    const TQRCodeSettings &settings = document.QRCode();
    const float size = settings.Groesse;
    const bool right = settings.Ecke == TQRCodeSettings::ObenRechts || settings.Ecke == TQRCodeSettings::UntenRechts;
    const bool bottom = settings.Ecke == TQRCodeSettings::UntenLinks || settings.Ecke == TQRCodeSettings::UntenRechts;
    const float left = right ? face.X - QRCodeMargin - size : QRCodeMargin;
    const float top = bottom ? face.Y - QRCodeMargin - size : QRCodeMargin;
    return TSingleRect{left, top, left + size, top + size};
}

TSingleRect QuietArea(const TSingleRect &square, float quiet, const TSinglePoint &face)
{
    return {std::max(0.0f, square.Left - quiet), std::max(0.0f, square.Top - quiet),
            std::min(face.X, square.Right + quiet), std::min(face.Y, square.Bottom + quiet)};
}

} // namespace

std::optional<TSingleRect> QRCodeArea(const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                                      const TKartenlayout &layout)
{
    const TSinglePoint face = CardFace(layout, format.Sheet, format.Folding);
    const std::optional<TSingleRect> square = QRCodeSquare(document, code, face);
    if (!square)
        return std::nullopt;
    return QuietArea(*square, document.QRCode().Groesse / float(code->Width) * QRCodeQuietZone, face);
}

void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                float angle, const TSinglePoint &centre, const TKartenlayout &layout)
{
    const TSinglePoint face = CardFace(layout, format.Sheet, format.Folding);
    const std::optional<TSingleRect> square = QRCodeSquare(document, code, face);
    if (!square)
        return;

    const float left = square->Left;
    const float top = square->Top;
    const float module = document.QRCode().Groesse / float(code->Width);
    const float quiet = module * QRCodeQuietZone;
    const auto device = [&](float x, float y) {
        const TSinglePoint p = RotatePointAround(SinglePoint(x, y), centre, angle);
        return QPoint(canvas.MMToX(p.X), canvas.MMToY(p.Y));
    };
    const auto box = [](const QPoint &a, const QPoint &b) {
        return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                     QSize(std::abs(b.x() - a.x()), std::abs(b.y() - a.y())));
    };

    QPainter &painter = canvas.Canvas();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const TSingleRect white = QuietArea(*square, quiet, face);
    painter.fillRect(box(device(white.Left, white.Top), device(white.Right, white.Bottom)), Qt::white);

    // Module edges on the device, each rounded once, so that neighbouring
    // rectangles neither overlap nor leave a gap. A quarter turn keeps edges
    // along the axes: a corner is the sum of its column and row edge.
    const QPoint origin = device(left, top);
    std::vector<QPoint> columns(std::size_t(code->Width) + 1);
    std::vector<QPoint> rows(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        columns[i] = device(left + float(i) * module, top) - origin;
        rows[i] = device(left, top + float(i) * module) - origin;
    }
    // Handed over at once: the PDF engine would split integer rectangles into
    // several paths.
    QList<QRectF> dark;
    dark.reserve(qsizetype(code->Dark.size()));
    for (const QRect &area : code->Dark) {
        const auto corner = [&](int column, int row) { return origin + columns[std::size_t(column)] + rows[std::size_t(row)]; };
        dark.append(box(corner(area.left(), area.top()), corner(area.left() + area.width(), area.top() + area.height())));
    }
    // One path of rectangles: vectors on printers and in PDF.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(dark.constData(), int(dark.size()));
    painter.restore();
}
