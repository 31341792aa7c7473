#include "render/uMMWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

constexpr float ScreenPixelsPerMM = 96.0f / 25.4f;

// A preview whose client area is exactly Width x Height at 96 dpi, shown on
// the offscreen screen and fitted.
class MMWindowTest : public ::testing::Test
{
protected:
    void Show(int Width, int Height)
    {
        Window = std::make_unique<TMMWindow>();
        Window->Scaler().SetPixelsPerMMX(ScreenPixelsPerMM);
        Window->Scaler().SetPixelsPerMMY(ScreenPixelsPerMM);
        Window->resize(Width, Height);
        Window->show();
        Settle();
        Window->FitAll();
        Settle();
    }

    void Settle() { QApplication::processEvents(); }

    TScaler &Canvas() { return Window->Scaler(); }
    QScrollBar &HBar() { return *Window->horizontalScrollBar(); }
    QScrollBar &VBar() { return *Window->verticalScrollBar(); }
    QPoint ClientCentre() { return {Window->viewport()->width() / 2, Window->viewport()->height() / 2}; }

    void Wheel(int Delta, Qt::KeyboardModifiers Modifiers)
    {
        const QPointF at = ClientCentre();
        QWheelEvent event(at, Window->viewport()->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton,
                          Modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window->viewport(), &event);
    }

    void Mouse(QEvent::Type Type, QPoint At, Qt::MouseButton Button, Qt::MouseButtons Held)
    {
        QMouseEvent event(Type, At, Window->viewport()->mapToGlobal(At), Button, Held, Qt::NoModifier);
        QApplication::sendEvent(Window->viewport(), &event);
    }

    std::unique_ptr<TMMWindow> Window;
};

TEST_F(MMWindowTest, FitAllCentresTheCardAndFollowsResizes)
{
    Show(400, 300);
    ASSERT_EQ(Window->viewport()->size(), QSize(400, 300));
    EXPECT_NEAR(Window->Zoom(), 1.152, 1e-3);
    EXPECT_EQ(Window->FitMode(), 1);
    EXPECT_FALSE(HBar().isVisible());
    EXPECT_FALSE(VBar().isVisible());
    // 15 pixels to spare left and right, the height centred.
    EXPECT_EQ(Canvas().MMToX(0), 15);
    EXPECT_EQ(Canvas().MMToX(85), 385);
    EXPECT_NEAR(Canvas().MMToY(0), 300 - Canvas().MMToY(55), 1);

    // Now the height limits the zoom.
    Window->resize(800, 400);
    Settle();
    EXPECT_NEAR(Window->Zoom(), 370.0 / (55 * ScreenPixelsPerMM), 1e-4);
}

TEST_F(MMWindowTest, ZoomIsLimitedAndLeavesFitMode)
{
    Show(400, 300);
    Window->SetZoom(5);
    EXPECT_FLOAT_EQ(Window->Zoom(), 3.0f);
    EXPECT_EQ(Window->FitMode(), 0);
    Window->SetZoom(0.05f);
    EXPECT_FLOAT_EQ(Window->Zoom(), 0.1f);
    Window->ZoomTo(std::nanf(""), 0, 0);
    EXPECT_FLOAT_EQ(Window->Zoom(), 0.1f);
}

TEST_F(MMWindowTest, ZoomingInShowsScrollBarsAndKeepsTheCentre)
{
    Show(400, 300);
    QSignalSpy scrolled(Window.get(), &TMMWindow::OnScroll);
    const float centreX = Canvas().XToMM(200);
    const float centreY = Canvas().YToMM(150);
    Window->SetZoom(3);

    // 85 mm at zoom 3 are 964 pixels: 564 to scroll over, the thumb in the
    // middle and the point that was in the centre of the window still there.
    EXPECT_EQ(HBar().maximum(), 964 - 400);
    EXPECT_NEAR(HBar().value(), HBar().maximum() / 2, 1);
    EXPECT_NEAR(VBar().value(), VBar().maximum() / 2, 1);
    EXPECT_EQ(Canvas().ScrollX(), HBar().value());
    EXPECT_EQ(Canvas().ScrollY(), VBar().value());
    EXPECT_NEAR(Canvas().MMToX(centreX), 200, 1);
    EXPECT_NEAR(Canvas().MMToY(centreY), 150, 1);
    EXPECT_GE(scrolled.count(), 1);

    // Showing the bars narrows the client area; the view stays where it was.
    Settle();
    EXPECT_TRUE(HBar().isVisible());
    EXPECT_TRUE(VBar().isVisible());
    const QSize client = Window->viewport()->size();
    EXPECT_LT(client.width(), 400);
    EXPECT_NEAR(Canvas().MMToX(centreX), client.width() / 2, (400 - client.width()) / 2 + 1);
    EXPECT_NEAR(Canvas().MMToY(centreY), client.height() / 2, (300 - client.height()) / 2 + 1);

    // A point comes to the centre only as far as the scroll range allows.
    Window->ZoomTo(3, 60, 30);
    EXPECT_EQ(Canvas().MMToX(60), client.width() / 2);
    Window->ZoomTo(3, 0, 0);
    EXPECT_EQ(HBar().value(), 0);
    EXPECT_EQ(Canvas().MMToX(0), 0);
}

TEST_F(MMWindowTest, FreeZoomResizeKeepsTheScrollPositions)
{
    Show(400, 300);
    Window->SetZoom(3);
    Settle();
    HBar().setValue(100);
    VBar().setValue(50);
    Window->resize(500, 350);
    Settle();
    EXPECT_FLOAT_EQ(Window->Zoom(), 3.0f);
    EXPECT_EQ(Canvas().ScrollX(), 100);
    EXPECT_EQ(Canvas().ScrollY(), 50);

    // A position beyond the new range is clamped to it.
    HBar().setValue(HBar().maximum());
    Window->resize(700, 350);
    Settle();
    EXPECT_EQ(Canvas().ScrollX(), HBar().maximum());
}

TEST_F(MMWindowTest, CtrlWheelZoomsInAndOutAgain)
{
    Show(400, 300);
    const float start = Window->Zoom();
    for (int i = 0; i < 5; ++i)
        Wheel(-120, Qt::ControlModifier);
    EXPECT_NEAR(Window->Zoom(), start * std::pow(1.2, 5), 1e-4);
    EXPECT_EQ(Window->FitMode(), 0);
    for (int i = 0; i < 5; ++i)
        Wheel(120, Qt::ControlModifier);
    EXPECT_NEAR(Window->Zoom(), start, 1e-5);

    // A limit hit on the way breaks the round trip.
    Window->SetZoom(2.9f);
    Wheel(-120, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(Window->Zoom(), 3.0f);
    Wheel(120, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(Window->Zoom(), 2.5f);
}

TEST_F(MMWindowTest, WheelAndScrollBarsScrollTheCanvas)
{
    Show(400, 300);
    Window->SetZoom(3);
    Settle();
    QSignalSpy scrolled(Window.get(), &TMMWindow::OnScroll);
    const int start = VBar().value();
    Wheel(-120, Qt::NoModifier);
    EXPECT_EQ(Canvas().ScrollY(), start + TMMWindow::LineStep);
    // Half notches of a touchpad add up to one step.
    Wheel(60, Qt::NoModifier);
    EXPECT_EQ(Canvas().ScrollY(), start + TMMWindow::LineStep);
    Wheel(60, Qt::NoModifier);
    EXPECT_EQ(Canvas().ScrollY(), start);
    EXPECT_EQ(scrolled.count(), 2);

    // Page step: a sixth of the range, at most a fifth of the client width,
    // at least 60 pixels.
    const int range = HBar().maximum();
    EXPECT_EQ(HBar().pageStep(), std::max(std::min(range / 6, Window->viewport()->width() / 5), 60));
    HBar().triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Canvas().MMToX(85), Window->viewport()->width());
}

TEST_F(MMWindowTest, OwnerPaintsThroughTheScaleCanvas)
{
    Show(400, 300);
    QObject::connect(Window.get(), &TMMWindow::OnPaint, Window.get(), [&](TScaleCanvas &canvas) {
        canvas.SetBrushColor(Qt::white);
        canvas.SetPenColor(Qt::black);
        canvas.Rectangle(0, 0, 85, 55);
    });
    const QImage shot = Window->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(200, 150), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(15, 150), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(5, 150), Window->viewport()->palette().color(QPalette::Button));
}

TEST_F(MMWindowTest, ScrollingRedrawsWhatStaysInPlace)
{
    Show(400, 300);
    Window->SetZoom(3);
    // The owner keeps a mark in the window's corner, whatever the scrolling.
    QObject::connect(Window.get(), &TMMWindow::OnPaint, Window.get(), [&](TScaleCanvas &canvas) {
        canvas.SetBrushColor(Qt::white);
        canvas.Rectangle(0, 0, 85, 55);
        canvas.Canvas().fillRect(QRect(10, 10, 20, 20), Qt::red);
    });
    auto onScreen = [&] {
        Settle();
        return QGuiApplication::primaryScreen()->grabWindow(Window->winId()).toImage();
    };
    onScreen();
    // Contents moving right and down must not take the mark along.
    HBar().triggerAction(QAbstractSlider::SliderSingleStepSub);
    VBar().triggerAction(QAbstractSlider::SliderSingleStepSub);
    const QImage shot = onScreen();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.pixelColor(15, 15), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(15 + TMMWindow::LineStep, 15 + TMMWindow::LineStep), QColor(Qt::white));
}

TEST_F(MMWindowTest, AutoScrollWhileTheButtonIsHeldNearTheBorder)
{
    Show(400, 300);
    Window->SetZoom(3);
    Settle();
    QSignalSpy before(Window.get(), &TMMWindow::OnBeforeAutoScroll);
    QSignalSpy after(Window.get(), &TMMWindow::OnAfterAutoScroll);
    const int startX = HBar().value();
    const int startY = VBar().value();
    const QSize client = Window->viewport()->size();
    const QPoint nearBorder(client.width() - 5, client.height() / 2);
    const QPoint insideBorder(client.width() - 25, client.height() / 2);

    // Switched off: nothing.
    Mouse(QEvent::MouseButtonPress, ClientCentre(), Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, nearBorder, Qt::NoButton, Qt::LeftButton);
    QTest::qWait(3 * TMMWindow::AutoScrollInterval);
    EXPECT_EQ(after.count(), 0);

    Window->SetAutoScroll(true);
    Mouse(QEvent::MouseMove, insideBorder, Qt::NoButton, Qt::LeftButton);
    QTest::qWait(3 * TMMWindow::AutoScrollInterval);
    EXPECT_EQ(after.count(), 0);

    Mouse(QEvent::MouseMove, nearBorder, Qt::NoButton, Qt::LeftButton);
    QTest::qWait(4 * TMMWindow::AutoScrollInterval);
    Mouse(QEvent::MouseButtonRelease, nearBorder, Qt::LeftButton, Qt::NoButton);
    const int ticks = int(after.count());
    ASSERT_GE(ticks, 1);
    EXPECT_EQ(before.count(), ticks);
    EXPECT_EQ(HBar().value(), startX + ticks * TMMWindow::LineStep);
    EXPECT_EQ(VBar().value(), startY);

    // Released: no more steps.
    QTest::qWait(3 * TMMWindow::AutoScrollInterval);
    EXPECT_EQ(after.count(), ticks);
}

} // namespace
