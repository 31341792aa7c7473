#include "render/uQRCode.h"

#include "locale/ulocalize.h"
#include "model/uCardQRCode.h"
#include "model/uDocument.h"
#include "render/uScaler.h"
#include "render/uTextFit.h"

#include <QPainter>

#include <qrencode.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>

namespace {

// Version 40 at level L holds no more bytes.
constexpr qsizetype MaxQRCodeBytes = 2953;

QRecLevel EncoderLevel(TQRCodeSettings::TFehlerkorrektur level)
{
    switch (level) {
    case TQRCodeSettings::TFehlerkorrektur::L:
        return QR_ECLEVEL_L;
    case TQRCodeSettings::TFehlerkorrektur::Q:
        return QR_ECLEVEL_Q;
    case TQRCodeSettings::TFehlerkorrektur::H:
        return QR_ECLEVEL_H;
    case TQRCodeSettings::TFehlerkorrektur::M:
    case TQRCodeSettings::TFehlerkorrektur::Automatisch:
        break;
    }
    return QR_ECLEVEL_M;
}

// Readers take 8-bit data for Latin-1 or guess, and some guess wrong: text
// beyond ASCII says it is UTF-8.
QRcode *Encode(const QByteArray &data, int minVersion, QRecLevel level)
{
    constexpr unsigned int Utf8Designator = 26;
    const bool ascii = std::all_of(data.begin(), data.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
    if (ascii)
        return QRcode_encodeString(data.constData(), minVersion, level, QR_MODE_8, 1);
    const std::unique_ptr<QRinput, decltype(&QRinput_free)> input(QRinput_new2(minVersion, level), &QRinput_free);
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

TQRCodePtr EncodeQRCode(const QByteArray &data, int minVersion, TQRCodeSettings::TFehlerkorrektur level)
{
    // Too much for any version: refused before the encoder spends time and
    // memory on it.
    if (data.isEmpty() || data.size() > MaxQRCodeBytes)
        return nullptr;
    struct TEncoded
    {
        QByteArray Data;
        int MinVersion;
        QRecLevel Level;
        TQRCodePtr Code;
    };
    // An automatic form encodes two texts each time.
    constexpr std::size_t Kept = 4;
    static std::deque<TEncoded> recent;
    const QRecLevel encoderLevel = EncoderLevel(level);
    for (const TEncoded &entry : recent)
        if (entry.MinVersion == minVersion && entry.Level == encoderLevel && entry.Data == data)
            return entry.Code;
    TQRCodePtr code =
        Rectangles(std::unique_ptr<QRcode, decltype(&QRcode_free)>(Encode(data, minVersion, encoderLevel), &QRcode_free).get());
    recent.push_front({data, minVersion, encoderLevel, code});
    if (recent.size() > Kept)
        recent.pop_back();
    return code;
}

int MinimumQRCodeVersion(float size)
{
    // Version v has 17 + 4 v modules; QRCodeQuietZone of them must fit into the margin.
    const float modules = size * QRCodeQuietZone / QRCodeMargin;
    return std::clamp(int(std::ceil((modules - 17) / 4)), 1, 40);
}

TQRCodePtr DocumentQRCode(const TDocument &document)
{
    using TForm = TQRCodeSettings::TForm;
    using TFehlerkorrektur = TQRCodeSettings::TFehlerkorrektur;
    const TQRCodeSettings &settings = document.QRCode();
    const bool contact = settings.Inhalt == TQRCodeSettings::TInhalt::VCard;
    TFehlerkorrektur level = settings.Fehlerkorrektur;
    if (level == TFehlerkorrektur::Automatisch)
        level = contact ? TFehlerkorrektur::L : TFehlerkorrektur::M;
    const int minVersion = MinimumQRCodeVersion(settings.Groesse);
    const TQRCodePtr code = EncodeQRCode(QRCodeText(document, settings.Form), minVersion, level);
    if (!contact || settings.Form != TForm::Automatisch || (code && PrintedModule(settings.Groesse, code->Width) >= ReadableModule))
        return code;
    const TQRCodePtr compact = EncodeQRCode(QRCodeText(document, TForm::MeCard), minVersion, level);
    return compact && (!code || compact->Width < code->Width) ? compact : code;
}

float PrintedModule(float size, int modules)
{
    constexpr double Dpi = 300;
    constexpr double MMPerInch = 25.4;
    if (modules <= 0)
        return 0;
    // Less than a thousandth of a dot is the rounding of the millimetres.
    const double dots = std::floor(double(size) / modules / MMPerInch * Dpi + 1e-3);
    return float(dots / Dpi * MMPerInch);
}

bool QRCodeFitsCard(float size, const TSinglePoint &face)
{
    return QRCodeMargin + size <= std::min(face.X, face.Y);
}

TQRCodeProblem QRCodeProblem(const TDocument &document, const TQRCodePtr &code, const TKartenlayout &layout)
{
    const TQRCodeSettings &settings = document.QRCode();
    if (!settings.Anzeigen || !HasQRCodeData(document))
        return TQRCodeProblem::None;
    if (!code)
        return TQRCodeProblem::TooMuchData;
    const TCardFormat format = document.CardFormat();
    if (!QRCodeFitsCard(settings.Groesse, CardFace(layout, format.Sheet, format.Folding)))
        return TQRCodeProblem::LargerThanCard;
    if (settings.Ecke == TQRCodeSettings::Automatisch && !PlaceQRCode(document, code, format, layout))
        return TQRCodeProblem::NoFreeCorner;
    if (PrintedModule(settings.Groesse, code->Width) < ReadableModule)
        return TQRCodeProblem::HardToRead;
    return TQRCodeProblem::None;
}

bool LeavesQRCodeOff(TQRCodeProblem problem)
{
    return problem != TQRCodeProblem::None && problem != TQRCodeProblem::HardToRead;
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
    RegisterDefaultText(QStringLiteral("ID_QRCODEKEINPLATZ"),
                        QStringLiteral("Das Layout lässt keine Ecke für den QR-Code frei; er wird nicht gedruckt. "
                                       "Wählen Sie eine Ecke, ein anderes Layout oder eine Rückseite."));
    RegisterDefaultText(QStringLiteral("ID_QRCODEANDERESEITE"),
                        QStringLiteral("Auf der gewählten Seite lässt das Layout keine Ecke frei; der QR-Code steht "
                                       "auf der anderen Seite."));
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
    case TQRCodeProblem::NoFreeCorner:
        return GetDefaultText(QStringLiteral("ID_QRCODEKEINPLATZ"));
    case TQRCodeProblem::HardToRead:
        return GetDefaultText(QStringLiteral("ID_QRCODEKLEIN"));
    }
    return {};
}

namespace {

TSingleRect CornerSquare(int corner, float size, const TSinglePoint &face)
{
    const bool right = corner == TQRCodeSettings::ObenRechts || corner == TQRCodeSettings::UntenRechts;
    const bool bottom = corner == TQRCodeSettings::UntenLinks || corner == TQRCodeSettings::UntenRechts;
    const float left = right ? face.X - QRCodeMargin - size : QRCodeMargin;
    const float top = bottom ? face.Y - QRCodeMargin - size : QRCodeMargin;
    return {left, top, left + size, top + size};
}

TSingleRect QuietArea(const TSingleRect &square, float quiet, const TSinglePoint &face)
{
    return {std::max(0.0f, square.Left - quiet), std::max(0.0f, square.Top - quiet),
            std::min(face.X, square.Right + quiet), std::min(face.Y, square.Bottom + quiet)};
}

} // namespace

std::optional<TQRCodePlace> PlaceQRCode(const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                                        const TKartenlayout &layout)
{
    const TQRCodeSettings &settings = document.QRCode();
    const TSinglePoint face = CardFace(layout, format.Sheet, format.Folding);
    // A code beyond its card would print onto the neighbouring ones.
    if (!code || !settings.Anzeigen || !HasQRCodeData(document) || !QRCodeFitsCard(settings.Groesse, face))
        return std::nullopt;
    const float quiet = settings.Groesse / float(code->Width) * QRCodeQuietZone;
    const auto place = [&](bool back, int corner) {
        const TSingleRect square = CornerSquare(corner, settings.Groesse, face);
        return TQRCodePlace{back, square, QuietArea(square, quiet, face)};
    };
    const bool chosenBack = QRCodeOnSide(document, true);
    if (settings.Ecke != TQRCodeSettings::Automatisch)
        return place(chosenBack, settings.Ecke);

    std::vector<bool> sides{chosenBack};
    if (document.MitRueckseite())
        sides.push_back(!chosenBack);
    for (const bool back : sides) {
        const std::vector<TSingleRect> ink = FaceInk(document, layout, back);
        for (const int corner : {TQRCodeSettings::UntenRechts, TQRCodeSettings::UntenLinks, TQRCodeSettings::ObenRechts,
                                 TQRCodeSettings::ObenLinks}) {
            const TQRCodePlace candidate = place(back, corner);
            if (std::none_of(ink.begin(), ink.end(), [&](const TSingleRect &rect) { return Overlap(rect, candidate.Area); }))
                return candidate;
        }
    }
    return std::nullopt;
}

void DrawQRCode(TScaleCanvas &canvas, const TDocument &document, const TQRCodePtr &code, const TCardFormat &format,
                bool back, float angle, const TSinglePoint &centre, const TKartenlayout &layout)
{
    const std::optional<TQRCodePlace> place = PlaceQRCode(document, code, format, layout);
    if (!place || place->Back != back)
        return;

    const float left = place->Square.Left;
    const float top = place->Square.Top;
    const float module = document.QRCode().Groesse / float(code->Width);
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
    const TSingleRect &white = place->Area;
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
