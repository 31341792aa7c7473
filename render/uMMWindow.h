#pragma once

#include "render/uScaler.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QTimer>

#include <cstdint>

// A zoomable, scrollable view of a drawing measured in millimetres. It knows
// nothing of what it shows: its owner draws everything in OnPaint on the
// canvas made for that paint, whose offsets already hold the scroll and
// centring state.
//
// The world is the whole area that can be scrolled over, the template the
// main object inside it: the template is centred in the world and in the
// window, and FitAll zooms to it. Both start as 85 x 55 mm.
class TMMWindow : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TMMWindow(QWidget *parent = nullptr);
    ~TMMWindow() override;

    // Zoom, scroll and centring between paints; each paint's canvas starts
    // from it.
    TScaler &Scaler() { return FScaler; }
    const TScaler &Scaler() const { return FScaler; }

    float TemplateWidth() const { return FTemplateWidth; }
    float TemplateHeight() const { return FTemplateHeight; }
    float WorldWidth() const { return FWorldWidth; }
    float WorldHeight() const { return FWorldHeight; }
    void SetTemplateWidth(float Value);
    void SetTemplateHeight(float Value);
    void SetWorldWidth(float Value);
    void SetWorldHeight(float Value);

    float Zoom() const { return FScaler.Zoom(); }
    // Zooms about the window centre.
    void SetZoom(float Value);
    // 1: the template is fitted again on every resize; 0: free zoom.
    std::uint8_t FitMode() const { return FFitMode; }

    // Scroll while the left button is held near the border.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool Value);

    // Zooms to Z (limited to 0.1 ... 3.0) and brings the millimetre point
    // (CX, CY) to the window centre as far as the scroll range allows.
    void ZoomTo(float Z, float CX, float CY);
    void ZoomAtCentre(float Z);
    // Fits the template with at least 15 pixels to spare on every side.
    void FitAll();

    static constexpr float MinZoom = 0.1f;
    static constexpr float MaxZoom = 3.0f;
    static constexpr float WheelZoomFactor = 1.2f;
    static constexpr int LineStep = 20;
    static constexpr int AutoScrollBorder = 20;
    static constexpr int AutoScrollInterval = 50; // ms

signals:
    void OnPaint(TScaleCanvas &canvas);
    // After every scroll-bar move, programmatic scroll and zoom.
    void OnScroll();
    void OnBeforeAutoScroll();
    void OnAfterAutoScroll();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void SetExtent(float &Extent, float Value);
    void UpdateScrollBars();
    void UpdateAxis(Qt::Orientation Axis);
    // Moves the scroll position of an axis that has a scroll bar; clamped to
    // its range.
    void SetScrollPosition(Qt::Orientation Axis, int Pos);
    // Takes a new scroll position into the canvas, redraws and reports the
    // scroll.
    void ScrollContentsTo(Qt::Orientation Axis, int Pos);
    QScrollBar &Bar(Qt::Orientation Axis) const;
    void SetCanvasScroll(Qt::Orientation Axis, int Value);
    int ConsumeWheelNotches(int Delta);
    QRect AutoScrollInner() const;
    void AutoScrollTick();

    TScaler FScaler;

    std::uint8_t FFitMode = 1;
    float FTemplateWidth = 85;
    float FTemplateHeight = 55;
    float FWorldWidth = 85;
    float FWorldHeight = 55;
    bool FAutoScroll = false;
    bool FDragging = false;
    QPoint FMousePos;
    QTimer FAutoScrollTimer;
    // Set while the scroll bars are rearranged: their value changes are not
    // scrolls of the contents.
    bool FArranging = false;
    int FWheelRest = 0;
};
