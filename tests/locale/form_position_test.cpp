#include "locale/uHMRegistry.h"
#include "locale/uSaveFormPosition.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

class FormPositionTest : public ::testing::Test
{
protected:
    FormPositionTest()
    {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ornak", "Tessaro").remove("Position");
        form.resize(400, 300);
        form.move(10, 20);
    }

    void Store(int left, int top, int width, int height, int state = 0)
    {
        Settings().WriteInteger("Position", "WindowState", state);
        Settings().WriteInteger("Position", "Left", left);
        Settings().WriteInteger("Position", "Top", top);
        Settings().WriteInteger("Position", "Width", width);
        Settings().WriteInteger("Position", "Height", height);
    }

    QSize ScreenSize() const { return form.screen()->geometry().size(); }

    QWidget form;
};

} // namespace

TEST_F(FormPositionTest, FirstStartCentresInTheWorkArea)
{
    LoadFormPosition(&form, "Position");
    const QRect work = form.screen()->availableGeometry();
    EXPECT_EQ(form.size(), QSize(795, 579));
    EXPECT_EQ(form.x(), work.left() + (work.width() - 795) / 2);
    EXPECT_EQ(form.y(), work.top() + (work.height() - 579) / 2);
}

TEST_F(FormPositionTest, SavedBoundsComeBack)
{
    form.setGeometry(30, 40, 300, 200);
    SaveFormPosition(&form, "Position");
    QWidget next;
    LoadFormPosition(&next, "Position");
    EXPECT_EQ(next.pos(), form.pos());
    EXPECT_EQ(next.size(), QSize(300, 200));
    EXPECT_EQ(Settings().ReadInteger("Position", "WindowState", -1), 0);
}

TEST_F(FormPositionTest, BoundsAreFittedOntoTheScreen)
{
    const QSize screen = ScreenSize();
    Store(100, -50, 3000, 200);
    LoadFormPosition(&form, "Position");
    EXPECT_EQ(form.geometry(), QRect(0, 0, screen.width(), 200));

    // Too high: cut to the screen height, the width is left alone.
    Store(5, 5, 200, screen.height() + 100);
    LoadFormPosition(&form, "Position");
    EXPECT_EQ(form.geometry(), QRect(5, 0, 200, screen.height()));

    // Reaching the right or bottom edge moves the window back in.
    Store(screen.width() - 50, screen.height() - 10, 100, 60);
    LoadFormPosition(&form, "Position");
    EXPECT_EQ(form.pos(), QPoint(screen.width() - 100, screen.height() - 60));
}

TEST_F(FormPositionTest, MaximisedWindowKeepsTheEarlierBounds)
{
    Store(30, 40, 300, 200);
    form.setWindowState(Qt::WindowMaximized);
    SaveFormPosition(&form, "Position");
    EXPECT_EQ(Settings().ReadInteger("Position", "WindowState", -1), 2);
    EXPECT_EQ(Settings().ReadInteger("Position", "Width", -1), 300);

    QWidget next;
    next.resize(123, 45);
    LoadFormPosition(&next, "Position");
    EXPECT_TRUE(next.isMaximized());
    EXPECT_EQ(Settings().ReadInteger("Position", "Left", -1), 30);
}

TEST_F(FormPositionTest, MaximisedWithoutBoundsStartsCentred)
{
    form.setWindowState(Qt::WindowMaximized);
    SaveFormPosition(&form, "Position");
    QWidget next;
    LoadFormPosition(&next, "Position");
    EXPECT_FALSE(next.isMaximized());
    EXPECT_EQ(next.size(), QSize(795, 579));
}
