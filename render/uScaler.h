#pragma once

#include "model/uGeometry.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPen>
#include <QPoint>
#include <QRawFont>
#include <QRect>

#include <cstdint>
#include <optional>

class QPainter;
class QPrinter;

// Millimetre widths of characters and the device advances made from them.
using TSingleArray = QList<float>;
using TIntegerArray = QList<int>;

enum class TScaleDevice : std::uint8_t { sdNone = 0, sdScreen = 1, sdPrinter = 2 };

// Resolution and unprintable margin of the current printer, in device units.
struct TPrinterMetrics
{
    int DpiX = 0;
    int DpiY = 0;
    QPoint PhysicalOffset;
};

TPrinterMetrics PrinterMetricsOf(const QPrinter &printer);

// Turns millimetre coordinates into device units and back. Two offsets are in
// device units (scrolling, the printer margin), two in millimetres (the print
// correction, the card's place on a sheet). A positive millimetre offset moves
// the drawing right or down, a positive device offset moves it left or up.
class TCustomScaler
{
public:
    TCustomScaler();
    virtual ~TCustomScaler() = default;

    virtual void Recalculate();
    void SetZoom(float Value);
    // sdPrinter takes the given printer's metrics; without them, those of the
    // system's default printer.
    void SetupForDevice(TScaleDevice Device, const std::optional<TPrinterMetrics> &Printer = std::nullopt);

    int TotalPixelOffsetX() const { return FTotalPixelOffsetX; }
    int TotalPixelOffsetY() const { return FTotalPixelOffsetY; }
    float TotalOffsetX() const { return FTotalOffsetX; }
    float TotalOffsetY() const { return FTotalOffsetY; }
    float ScaleX() const { return FScaleX; }
    float ScaleY() const { return FScaleY; }

    int ScrollX() const { return FScrollX; }
    int ScrollY() const { return FScrollY; }
    float OffsetX() const { return FOffsetX; }
    float OffsetY() const { return FOffsetY; }
    float CardOffsetX() const { return FCardOffsetX; }
    float CardOffsetY() const { return FCardOffsetY; }
    int DeviceOffsetX() const { return FDeviceOffsetX; }
    int DeviceOffsetY() const { return FDeviceOffsetY; }
    float PixelsPerMMX() const { return FPixelsPerMMX; }
    float PixelsPerMMY() const { return FPixelsPerMMY; }
    float Zoom() const { return FZoom; }

    void SetScrollX(int Value);
    void SetScrollY(int Value);
    void SetOffsetX(float Value);
    void SetOffsetY(float Value);
    void SetCardOffsetX(float Value);
    void SetCardOffsetY(float Value);
    void SetDeviceOffsetX(int Value);
    void SetDeviceOffsetY(int Value);
    void SetPixelsPerMMX(float Value);
    void SetPixelsPerMMY(float Value);

    int MMToX(float X) const;
    int MMToY(float Y) const;
    // Every length, horizontal ones included, uses the vertical scale.
    int MMToLength(float L) const;
    QRect MMRectToDevice(float Left, float Top, float Right, float Bottom) const;
    QRect MMRectToDevice(const TSingleRect &R) const;
    float LengthToMM(int N) const;
    float XToMM(int N) const;
    float YToMM(int N) const;

private:
    int FTotalPixelOffsetX = 0;
    int FTotalPixelOffsetY = 0;
    float FTotalOffsetX = 0;
    float FTotalOffsetY = 0;
    float FScaleX = 1;
    float FScaleY = 1;
    int FScrollX = 0;
    int FScrollY = 0;
    float FOffsetX = 0;
    float FOffsetY = 0;
    float FCardOffsetX = 0;
    float FCardOffsetY = 0;
    int FDeviceOffsetX = 0;
    int FDeviceOffsetY = 0;
    float FPixelsPerMMY = 1;
    float FPixelsPerMMX = 1;
    float FZoom = 1;
};

// Adds nothing: the design's name for a scaler without a device, such as a
// window's zoom and scroll kept between paints.
class TScaler : public TCustomScaler
{
};

// A scaler drawing on one QPainter (screen control, image or printer page),
// in millimetres, with a logical font that is scaled to the device.
class TScaleCanvas : public TScaler
{
public:
    explicit TScaleCanvas(QPainter &ACanvas);
    // With the zoom, scroll and offsets of a scaler kept elsewhere.
    TScaleCanvas(QPainter &ACanvas, const TScaler &AGeometry);
    ~TScaleCanvas() override = default;
    TScaleCanvas(const TScaleCanvas &) = delete;
    TScaleCanvas &operator=(const TScaleCanvas &) = delete;

    QPainter &Canvas() const { return FCanvas; }

    void Recalculate() override;

    // The logical font: point size as the template gives it, never zoomed.
    // Every change goes through SetFont and so re-applies the device font.
    QFont GetFont();
    void SetFont(const QFont &AFont);
    void ApplyFont();
    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor &Color) { FFontColor = Color; }
    // Positive angles turn text clockwise on the page.
    void SetFontAngle(float Angle);
    // Tenths of a degree, counter-clockwise, as a font escapement counts.
    int FontEscapement() const { return FEscapement; }

    // Signed character height of the device font (negative: without internal
    // leading) and the resolution it was made for.
    int DeviceFontHeight() const { return FDeviceHeight; }
    int DeviceFontPPI() const { return FDevicePPI; }
    // The resolution the logical font height is counted in (the screen's).
    int FontPPI() const { return FFontPPI; }

    void SetPenWidth(float Width);
    void Rectangle(float Left, float Top, float Right, float Bottom);
    void FillRect(float Left, float Top, float Right, float Bottom);
    void MoveTo(float X, float Y);
    void LineTo(float X, float Y);
    void Line(float X1, float Y1, float X2, float Y2);

    QPen Pen() const;
    void SetPen(const QPen &APen);
    void SetPenColor(const QColor &Color);
    QBrush Brush() const;
    void SetBrush(const QBrush &ABrush);
    // Like a device brush, a colour makes a clear brush solid.
    void SetBrushColor(const QColor &Color);
    void SetBrushStyle(Qt::BrushStyle Style);

    // The device's positioned text output: Text starts at Origin (the top of
    // its character cell), each character advancing by its entry of Advances,
    // turned clockwise by Angle degrees about Origin. False when nothing
    // could be drawn. Virtual so that tests can see what reaches the device.
    virtual bool DeviceTextOut(const QPoint &Origin, const QString &Text, const TIntegerArray &Advances,
                               float Angle, const std::optional<QRect> &Clip);

private:
    void TakeFontFromDevice();
    int LogicalFontHeight() const;
    int DeviceHeightFor(int logicalHeight) const;
    int CurrentDevicePPI() const;
    const QRawFont &DeviceRawFont();

    QPainter &FCanvas;
    QFont FFont;
    QFont FDeviceFont;
    QRawFont FRawFont;
    bool FRawFontValid = false;
    QColor FFontColor = Qt::black;
    int FFontPPI = 96;
    int FDevicePPI = 96;
    int FDeviceHeight = 0;
    int FEscapement = 0;
    QPoint FPenPos;
};

// Font heights are whole pixels of the screen: the point size a font of
// Points is drawn at, on every device.
float DrawnPointSize(float Points);

TSinglePoint SinglePoint(float X, float Y);
// Turns P about the origin; with y pointing down a positive angle is clockwise.
TSinglePoint RotatePoint(const TSinglePoint &P, double Angle);
TSinglePoint RotatePointAround(const TSinglePoint &P, const TSinglePoint &Centre, double Angle);
float EnsureRangeSingle(float Value, float Min, float Max);
