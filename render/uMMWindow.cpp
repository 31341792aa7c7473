#include "render/uMMWindow.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace {

// One notch of a mouse wheel.
constexpr int WheelNotch = 120;

// A zoom or re-arrangement in progress: the contents are not repainted piece
// by piece and the user sees the busy cursor. Both end even when a step fails.
class TBusyRedraw
{
public:
    explicit TBusyRedraw(QWidget &view) : FView(view)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        FView.setUpdatesEnabled(false);
    }
    ~TBusyRedraw()
    {
        FView.setUpdatesEnabled(true);
        QGuiApplication::restoreOverrideCursor();
    }
    TBusyRedraw(const TBusyRedraw &) = delete;
    TBusyRedraw &operator=(const TBusyRedraw &) = delete;

private:
    QWidget &FView;
};

} // namespace

TMMWindow::TMMWindow(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    FScaler.SetupForDevice(TScaleDevice::sdScreen);

    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Button);

    FAutoScrollTimer.setInterval(AutoScrollInterval);
    FAutoScrollTimer.setSingleShot(true);
    connect(&FAutoScrollTimer, &QTimer::timeout, this, &TMMWindow::AutoScrollTick);

    UpdateScrollBars();
}

TMMWindow::~TMMWindow() = default;

void TMMWindow::SetTemplateWidth(float Value) { SetExtent(FTemplateWidth, Value); }
void TMMWindow::SetTemplateHeight(float Value) { SetExtent(FTemplateHeight, Value); }
void TMMWindow::SetWorldWidth(float Value) { SetExtent(FWorldWidth, Value); }
void TMMWindow::SetWorldHeight(float Value) { SetExtent(FWorldHeight, Value); }

void TMMWindow::SetExtent(float &Extent, float Value)
{
    Extent = Value;
    UpdateScrollBars();
    viewport()->update();
}

void TMMWindow::SetZoom(float Value)
{
    ZoomAtCentre(Value);
}

void TMMWindow::SetAutoScroll(bool Value)
{
    FAutoScroll = Value;
    if (!Value)
        FAutoScrollTimer.stop();
}

void TMMWindow::ZoomTo(float Z, float CX, float CY)
{
    // Written so that a NaN lands on the lower limit.
    if (!(Z >= MinZoom))
        Z = MinZoom;
    if (Z > MaxZoom)
        Z = MaxZoom;
    {
        TBusyRedraw busy(*viewport());
        FScaler.SetZoom(Z);
        UpdateScrollBars();
        SetScrollPosition(Qt::Horizontal,
                          FScaler.MMToLength(CX) - FScaler.DeviceOffsetX() - viewport()->width() / 2);
        SetScrollPosition(Qt::Vertical,
                          FScaler.MMToLength(CY) - FScaler.DeviceOffsetY() - viewport()->height() / 2);
    }
    viewport()->update();
    FFitMode = 0;
    emit OnScroll();
}

void TMMWindow::ZoomAtCentre(float Z)
{
    ZoomTo(Z, FScaler.XToMM(viewport()->width() / 2), FScaler.YToMM(viewport()->height() / 2));
    FFitMode = 0;
}

void TMMWindow::FitAll()
{
    const float byHeight = (viewport()->height() - 30) / (FTemplateHeight * FScaler.PixelsPerMMY());
    const float byWidth = (viewport()->width() - 30) / (FTemplateWidth * FScaler.PixelsPerMMX());
    ZoomTo(std::min(byHeight, byWidth), FTemplateWidth / 2, FTemplateHeight / 2);
    FFitMode = 1;
}

QScrollBar &TMMWindow::Bar(Qt::Orientation Axis) const
{
    return *(Axis == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar());
}

void TMMWindow::SetCanvasScroll(Qt::Orientation Axis, int Value)
{
    if (Axis == Qt::Horizontal)
        FScaler.SetScrollX(Value);
    else
        FScaler.SetScrollY(Value);
}

void TMMWindow::UpdateScrollBars()
{
    QScopedValueRollback arranging(FArranging, true);
    UpdateAxis(Qt::Horizontal);
    UpdateAxis(Qt::Vertical);
}

void TMMWindow::UpdateAxis(Qt::Orientation Axis)
{
    const bool horizontal = Axis == Qt::Horizontal;
    const int client = horizontal ? viewport()->width() : viewport()->height();
    const int worldPx = FScaler.MMToLength(horizontal ? FWorldWidth : FWorldHeight);
    const int templatePx = FScaler.MMToLength(horizontal ? FTemplateWidth : FTemplateHeight);
    const int maximum = std::max(0, worldPx - client);

    // A range of 0 hides the bar. The page step follows the client width on
    // both axes.
    QScrollBar &bar = Bar(Axis);
    bar.setRange(0, maximum);
    bar.setSingleStep(LineStep);
    bar.setPageStep(std::max(std::min(maximum / 6, viewport()->width() / 5), 60));
    bar.setValue(maximum / 2);

    int deviceOffset = 0;
    if (maximum == 0) {
        // The world fits: a negative scroll offset centres the template in
        // the window.
        SetCanvasScroll(Axis, (templatePx - client) / 2);
    } else {
        SetCanvasScroll(Axis, bar.value());
        deviceOffset = (templatePx - worldPx) / 2;
    }
    if (horizontal)
        FScaler.SetDeviceOffsetX(deviceOffset);
    else
        FScaler.SetDeviceOffsetY(deviceOffset);
}

void TMMWindow::SetScrollPosition(Qt::Orientation Axis, int Pos)
{
    QScrollBar &bar = Bar(Axis);
    if (bar.maximum() <= 0)
        return;
    Pos = std::clamp(Pos, bar.minimum(), bar.maximum());
    {
        QScopedValueRollback arranging(FArranging, true);
        bar.setValue(Pos);
    }
    ScrollContentsTo(Axis, Pos);
}

void TMMWindow::ScrollContentsTo(Qt::Orientation Axis, int Pos)
{
    // The whole window is drawn again rather than the old contents moved:
    // owners also draw things that stay in place, such as a logo in a corner.
    SetCanvasScroll(Axis, Pos);
    viewport()->update();
    emit OnScroll();
}

void TMMWindow::scrollContentsBy(int dx, int dy)
{
    if (FArranging)
        return;
    if (dx != 0)
        ScrollContentsTo(Qt::Horizontal, horizontalScrollBar()->value());
    if (dy != 0)
        ScrollContentsTo(Qt::Vertical, verticalScrollBar()->value());
}

void TMMWindow::resizeEvent(QResizeEvent *)
{
    const int scrollX = FScaler.ScrollX();
    const int scrollY = FScaler.ScrollY();
    UpdateScrollBars();
    if (FFitMode == 1) {
        FitAll();
    } else {
        TBusyRedraw busy(*viewport());
        SetScrollPosition(Qt::Horizontal, scrollX);
        SetScrollPosition(Qt::Vertical, scrollY);
    }
    viewport()->update();
}

void TMMWindow::paintEvent(QPaintEvent *)
{
    // Qt's backing store already double-buffers the widget.
    QPainter painter(viewport());
    painter.setBrush(Qt::white);
    TScaleCanvas canvas(painter, FScaler);
    emit OnPaint(canvas);
}

int TMMWindow::ConsumeWheelNotches(int Delta)
{
    // Touchpads report fractions of a notch; they add up to whole steps.
    FWheelRest += Delta;
    const int notches = FWheelRest / WheelNotch;
    FWheelRest -= notches * WheelNotch;
    return notches;
}

void TMMWindow::wheelEvent(QWheelEvent *event)
{
    const int notches = ConsumeWheelNotches(event->angleDelta().y());
    const bool zoom = event->modifiers().testFlag(Qt::ControlModifier);
    // A negative delta is the wheel turned toward the user: zoom in, or
    // scroll down.
    for (int i = 0; i < std::abs(notches); ++i) {
        if (zoom)
            SetZoom(notches < 0 ? Zoom() * WheelZoomFactor : Zoom() / WheelZoomFactor);
        else
            verticalScrollBar()->triggerAction(notches < 0 ? QAbstractSlider::SliderSingleStepAdd
                                                           : QAbstractSlider::SliderSingleStepSub);
    }
    event->accept();
}

void TMMWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        FDragging = true;
        FMousePos = event->position().toPoint();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TMMWindow::mouseMoveEvent(QMouseEvent *event)
{
    // While a button is held the moves arrive even outside the window.
    FMousePos = event->position().toPoint();
    if (FAutoScroll && FDragging) {
        if (AutoScrollInner().contains(FMousePos))
            FAutoScrollTimer.stop();
        else if (!FAutoScrollTimer.isActive())
            FAutoScrollTimer.start();
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TMMWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        FDragging = false;
        FAutoScrollTimer.stop();
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

QRect TMMWindow::AutoScrollInner() const
{
    return viewport()->rect().adjusted(AutoScrollBorder, AutoScrollBorder, -AutoScrollBorder, -AutoScrollBorder);
}

void TMMWindow::AutoScrollTick()
{
    const QRect inner = AutoScrollInner();
    if (inner.contains(FMousePos))
        return;
    emit OnBeforeAutoScroll();
    if (FMousePos.x() < inner.left())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (FMousePos.x() > inner.right())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (FMousePos.y() < inner.top())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (FMousePos.y() > inner.bottom())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    viewport()->repaint();
    emit OnAfterAutoScroll();
    FAutoScrollTimer.start();
}
