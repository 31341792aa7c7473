#include "render/uScaler.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Device units round half to even, from extended precision, and saturate
// instead of overflowing for coordinates far off any device. rintl rounds as
// nearbyintl does under the program's round-to-nearest mode, without the
// costly save of the floating-point environment.
int RoundToDevice(long double value)
{
    const long double rounded = std::rintl(value);
    if (!(rounded > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (rounded > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

QPoint ScreenLogicalDpi()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return {qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY())};
    return {96, 96};
}

TPrinterMetrics DefaultPrinterMetrics()
{
    const QPrinter printer(QPrinter::HighResolution);
    return PrinterMetricsOf(printer);
}

// Rounds half away from zero, as integer scaling of font heights does.
int MulDiv(double number, int numerator, int denominator)
{
    return static_cast<int>(std::lround(number * numerator / denominator));
}

} // namespace

TPrinterMetrics PrinterMetricsOf(const QPrinter &printer)
{
    TPrinterMetrics metrics;
    metrics.DpiX = printer.logicalDpiX();
    metrics.DpiY = printer.logicalDpiY();
    // Without full-page mode the painter's origin is the corner of the
    // printable area, which lies this far from the paper's edge.
    if (!printer.fullPage())
        metrics.PhysicalOffset = printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
    return metrics;
}

TCustomScaler::TCustomScaler()
{
    TCustomScaler::Recalculate();
}

void TCustomScaler::Recalculate()
{
    FTotalPixelOffsetX = FScrollX + FDeviceOffsetX;
    FTotalPixelOffsetY = FScrollY + FDeviceOffsetY;
    FTotalOffsetX = FOffsetX + FCardOffsetX;
    FTotalOffsetY = FOffsetY + FCardOffsetY;
    FScaleX = FPixelsPerMMX * FZoom;
    FScaleY = FPixelsPerMMY * FZoom;
}

void TCustomScaler::SetZoom(float Value)
{
    FZoom = Value;
    Recalculate();
}

void TCustomScaler::SetupForDevice(TScaleDevice Device, const std::optional<TPrinterMetrics> &Printer)
{
    SetZoom(1.0f);
    FOffsetX = FOffsetY = 0;
    FScrollX = FScrollY = 0;
    FCardOffsetX = FCardOffsetY = 0;
    FDeviceOffsetX = FDeviceOffsetY = 0;
    switch (Device) {
    case TScaleDevice::sdNone:
        FPixelsPerMMX = FPixelsPerMMY = 1.0f;
        break;
    case TScaleDevice::sdScreen: {
        const QPoint dpi = ScreenLogicalDpi();
        FPixelsPerMMX = static_cast<float>(dpi.x() / 25.4L);
        FPixelsPerMMY = static_cast<float>(dpi.y() / 25.4L);
        break;
    }
    case TScaleDevice::sdPrinter: {
        const TPrinterMetrics metrics = Printer ? *Printer : DefaultPrinterMetrics();
        FPixelsPerMMX = static_cast<float>(metrics.DpiX / 25.4L);
        FPixelsPerMMY = static_cast<float>(metrics.DpiY / 25.4L);
        FDeviceOffsetX = metrics.PhysicalOffset.x();
        FDeviceOffsetY = metrics.PhysicalOffset.y();
        break;
    }
    }
    Recalculate();
}

void TCustomScaler::SetScrollX(int Value) { FScrollX = Value; Recalculate(); }
void TCustomScaler::SetScrollY(int Value) { FScrollY = Value; Recalculate(); }
void TCustomScaler::SetOffsetX(float Value) { FOffsetX = Value; Recalculate(); }
void TCustomScaler::SetOffsetY(float Value) { FOffsetY = Value; Recalculate(); }
void TCustomScaler::SetCardOffsetX(float Value) { FCardOffsetX = Value; Recalculate(); }
void TCustomScaler::SetCardOffsetY(float Value) { FCardOffsetY = Value; Recalculate(); }
void TCustomScaler::SetDeviceOffsetX(int Value) { FDeviceOffsetX = Value; Recalculate(); }
void TCustomScaler::SetDeviceOffsetY(int Value) { FDeviceOffsetY = Value; Recalculate(); }
void TCustomScaler::SetPixelsPerMMX(float Value) { FPixelsPerMMX = Value; Recalculate(); }
void TCustomScaler::SetPixelsPerMMY(float Value) { FPixelsPerMMY = Value; Recalculate(); }

int TCustomScaler::MMToX(float X) const
{
    return RoundToDevice((static_cast<long double>(X) + FTotalOffsetX) * FScaleX) - FTotalPixelOffsetX;
}

int TCustomScaler::MMToY(float Y) const
{
    return RoundToDevice((static_cast<long double>(Y) + FTotalOffsetY) * FScaleY) - FTotalPixelOffsetY;
}

int TCustomScaler::MMToLength(float L) const
{
    return RoundToDevice(static_cast<long double>(L) * FScaleY);
}

QRect TCustomScaler::MMRectToDevice(float Left, float Top, float Right, float Bottom) const
{
    const int left = MMToX(Left);
    const int top = MMToY(Top);
    return QRect(left, top, MMToX(Right) - left, MMToY(Bottom) - top);
}

QRect TCustomScaler::MMRectToDevice(const TSingleRect &R) const
{
    return MMRectToDevice(R.Left, R.Top, R.Right, R.Bottom);
}

float TCustomScaler::LengthToMM(int N) const
{
    return static_cast<float>(N / static_cast<long double>(FScaleY));
}

float TCustomScaler::XToMM(int N) const
{
    return static_cast<float>((static_cast<long double>(N) + FTotalPixelOffsetX) / FScaleX - FTotalOffsetX);
}

float TCustomScaler::YToMM(int N) const
{
    return static_cast<float>((static_cast<long double>(N) + FTotalPixelOffsetY) / FScaleY - FTotalOffsetY);
}

TScaleCanvas::TScaleCanvas(QPainter &ACanvas)
    : FCanvas(ACanvas)
    , FFontPPI(ScreenLogicalDpi().y())
{
    TakeFontFromDevice();
}

TScaleCanvas::TScaleCanvas(QPainter &ACanvas, const TScaler &AGeometry)
    : TScaler(AGeometry)
    , FCanvas(ACanvas)
    , FFontPPI(ScreenLogicalDpi().y())
{
    TakeFontFromDevice();
}

void TScaleCanvas::TakeFontFromDevice()
{
    FFont = FCanvas.font();
    if (FFont.pointSizeF() <= 0)
        FFont.setPointSize(std::max(1, MulDiv(FFont.pixelSize(), 72, FFontPPI)));
    Recalculate();
}

void TScaleCanvas::Recalculate()
{
    TScaler::Recalculate();
    ApplyFont();
}

int TScaleCanvas::LogicalFontHeight() const
{
    return -MulDiv(FFont.pointSizeF(), FFontPPI, 72);
}

int TScaleCanvas::DeviceHeightFor(int logicalHeight) const
{
    return static_cast<int>(std::trunc(static_cast<long double>(logicalHeight) * Zoom() * FDevicePPI / FFontPPI));
}

int TScaleCanvas::CurrentDevicePPI() const
{
    // Printers draw fonts at their own resolution; images and widgets take
    // the screen's, so a bitmap shows what the screen would.
    const QPaintDevice *device = FCanvas.device();
    if (FCanvas.isActive() && dynamic_cast<const QPagedPaintDevice *>(device))
        return device->logicalDpiY();
    return ScreenLogicalDpi().y();
}

void TScaleCanvas::ApplyFont()
{
    FDevicePPI = CurrentDevicePPI();
    FDeviceHeight = DeviceHeightFor(LogicalFontHeight());
    FDeviceFont = FFont;
    // A height of 0 draws nothing; the device font still needs a valid size.
    FDeviceFont.setPixelSize(std::max(1, std::abs(FDeviceHeight)));
    FRawFontValid = false;
    if (FCanvas.isActive())
        FCanvas.setFont(FDeviceFont);
}

QFont TScaleCanvas::GetFont()
{
    // Someone may have set the painter's font directly: take its name, style
    // and size back into the logical font.
    if (!FCanvas.isActive() || FCanvas.font() == FDeviceFont)
        return FFont;
    const QFont device = FCanvas.font();
    QFont synced = FFont;
    if (device.family() != FFont.family())
        synced.setFamily(device.family());
    if (device.weight() != FFont.weight() || device.italic() != FFont.italic()
        || device.underline() != FFont.underline() || device.strikeOut() != FFont.strikeOut()) {
        synced.setWeight(device.weight());
        synced.setItalic(device.italic());
        synced.setUnderline(device.underline());
        synced.setStrikeOut(device.strikeOut());
    }
    const int deviceHeight = device.pixelSize() > 0 ? -device.pixelSize()
                                                    : -MulDiv(device.pointSizeF(), FDevicePPI, 72);
    if (deviceHeight != std::min(-1, FDeviceHeight)) {
        const auto height = static_cast<int>(
            std::trunc(static_cast<long double>(deviceHeight) / Zoom() / FDevicePPI * FFontPPI));
        synced.setPointSize(std::max(1, -MulDiv(height, 72, FFontPPI)));
    }
    SetFont(synced);
    return FFont;
}

void TScaleCanvas::SetFont(const QFont &AFont)
{
    FFont = AFont;
    if (FFont.pointSizeF() <= 0)
        FFont.setPointSize(std::max(1, MulDiv(FFont.pixelSize(), 72, FFontPPI)));
    ApplyFont();
}

void TScaleCanvas::SetFontAngle(float Angle)
{
    FEscapement = RoundToDevice(-static_cast<long double>(Angle) * 10);
}

void TScaleCanvas::SetPenWidth(float Width)
{
    QPen pen = FCanvas.pen();
    pen.setWidth(std::max(0, MMToLength(Width)));
    FCanvas.setPen(pen);
}

void TScaleCanvas::Rectangle(float Left, float Top, float Right, float Bottom)
{
    // A one-unit outline of QRect(x, y, w, h) covers x to x + w: the right and
    // bottom edges are part of the rectangle.
    const int left = MMToX(Left);
    const int top = MMToY(Top);
    FCanvas.drawRect(QRect(left, top, MMToX(Right) - left, MMToY(Bottom) - top));
}

void TScaleCanvas::FillRect(float Left, float Top, float Right, float Bottom)
{
    FCanvas.fillRect(MMRectToDevice(Left, Top, Right, Bottom), FCanvas.brush());
}

void TScaleCanvas::MoveTo(float X, float Y)
{
    FPenPos = QPoint(MMToX(X), MMToY(Y));
}

void TScaleCanvas::LineTo(float X, float Y)
{
    const QPoint to(MMToX(X), MMToY(Y));
    FCanvas.drawLine(FPenPos, to);
    FPenPos = to;
}

void TScaleCanvas::Line(float X1, float Y1, float X2, float Y2)
{
    MoveTo(X1, Y1);
    LineTo(X2, Y2);
}

QPen TScaleCanvas::Pen() const { return FCanvas.pen(); }
void TScaleCanvas::SetPen(const QPen &APen) { FCanvas.setPen(APen); }

void TScaleCanvas::SetPenColor(const QColor &Color)
{
    QPen pen = FCanvas.pen();
    pen.setColor(Color);
    FCanvas.setPen(pen);
}

QBrush TScaleCanvas::Brush() const { return FCanvas.brush(); }
void TScaleCanvas::SetBrush(const QBrush &ABrush) { FCanvas.setBrush(ABrush); }

void TScaleCanvas::SetBrushColor(const QColor &Color)
{
    QBrush brush = FCanvas.brush();
    if (brush.style() == Qt::NoBrush)
        brush.setStyle(Qt::SolidPattern);
    brush.setColor(Color);
    FCanvas.setBrush(brush);
}

void TScaleCanvas::SetBrushStyle(Qt::BrushStyle Style)
{
    QBrush brush = FCanvas.brush();
    brush.setStyle(Style);
    FCanvas.setBrush(brush);
}

const QRawFont &TScaleCanvas::DeviceRawFont()
{
    if (!FRawFontValid) {
        FRawFont = QRawFont::fromFont(FDeviceFont);
        FRawFontValid = true;
    }
    return FRawFont;
}

bool TScaleCanvas::DeviceTextOut(const QPoint &Origin, const QString &Text, const TIntegerArray &Advances,
                                 float Angle, const std::optional<QRect> &Clip)
{
    if (!FCanvas.isActive())
        return false;
    const QRawFont &font = DeviceRawFont();
    if (!font.isValid())
        return false;
    QList<quint32> glyphs = font.glyphIndexesForString(Text);
    const qsizetype count = std::min(glyphs.size(), Advances.size());
    glyphs.resize(count);
    QList<QPointF> positions;
    positions.reserve(count);
    int x = 0;
    for (qsizetype i = 0; i < count; ++i) {
        positions.append(QPointF(x, 0));
        x += Advances[i];
    }
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(FDeviceFont.underline());
    run.setStrikeOut(FDeviceFont.strikeOut());

    FCanvas.save();
    if (Clip)
        FCanvas.setClipRect(*Clip, Qt::IntersectClip);
    FCanvas.setPen(FFontColor);
    FCanvas.translate(Origin);
    if (Angle != 0)
        FCanvas.rotate(Angle);
    // The origin is the top of the character cell; glyph runs sit on the baseline.
    FCanvas.drawGlyphRun(QPointF(0, qRound(font.ascent())), run);
    FCanvas.restore();
    return true;
}

float DrawnPointSize(float Points)
{
    const int ppi = ScreenLogicalDpi().y();
    return float(MulDiv(Points, ppi, 72)) * 72 / float(ppi);
}

TSinglePoint SinglePoint(float X, float Y)
{
    return {X, Y};
}

TSinglePoint RotatePoint(const TSinglePoint &P, double Angle)
{
    while (Angle > 360)
        Angle -= 360;
    while (Angle < -360)
        Angle += 360;
    const long double radians = Angle * 0.017453292L;
    const long double c = std::cos(radians);
    const long double s = std::sin(radians);
    return {static_cast<float>(c * P.X - s * P.Y), static_cast<float>(s * P.X + c * P.Y)};
}

TSinglePoint RotatePointAround(const TSinglePoint &P, const TSinglePoint &Centre, double Angle)
{
    const TSinglePoint turned = RotatePoint({P.X - Centre.X, P.Y - Centre.Y}, Angle);
    return {turned.X + Centre.X, turned.Y + Centre.Y};
}

float EnsureRangeSingle(float Value, float Min, float Max)
{
    if (Value < Min)
        return Min;
    if (Value > Max)
        return Max;
    return Value;
}
