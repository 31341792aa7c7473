#include "support/uFileInfo.h"
#include "support/uStartbildInfoFenster.h"

#include "common/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

// Time moves only when the splash waits; each wait lets at most 40 ms pass.
class TFakeClock : public TTickClock
{
public:
    qint64 Now = 1000000;
    int Waits = 0;
    std::function<void()> OnWait;

    qint64 Ticks() override { return Now; }
    void WaitForEvents(int maxMs) override
    {
        ++Waits;
        if (OnWait)
            OnWait();
        QCoreApplication::processEvents();
        Now += std::min(maxMs, 40);
    }
};

struct SplashRun
{
    qint64 VisibleMs = -1;
    bool MainShownWhileWaiting = true;
    bool SplashShownWhileWaiting = true;
};

// Creating the main window takes creationMs; how long is the splash shown?
SplashRun RunSplash(int creationMs)
{
    TFakeClock clock;
    TSplash splash(clock);
    splash.Show(ProgramFileInfo());
    const qint64 shownAt = clock.Now;
    SplashRun run;
    QObject::connect(splash.Window(), &QObject::destroyed, [&] { run.VisibleMs = clock.Now - shownAt; });
    QWidget mainWindow;
    clock.Now += creationMs;
    clock.OnWait = [&] {
        run.MainShownWhileWaiting = run.MainShownWhileWaiting && mainWindow.isVisible();
        run.SplashShownWhileWaiting = run.SplashShownWhileWaiting && splash.Window() && splash.Window()->isVisible();
    };
    splash.Hide(&mainWindow);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(splash.Window(), nullptr);
    return run;
}

QString WriteVersionFile(const QTemporaryDir &dir, const QByteArray &fixed)
{
    QFile file(dir.filePath(QStringLiteral("version.bin")));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("\x02TESSARO-VERSIONINFO\x1e\\\x1f" + fixed + "\x1e\x03");
    return file.fileName();
}

} // namespace

TEST(Splash, StaysTwoSecondsWhenTheMainWindowIsQuick)
{
    const SplashRun run = RunSplash(500);
    EXPECT_GE(run.VisibleMs, 2000);
    EXPECT_LE(run.VisibleMs, 2040);
    EXPECT_TRUE(run.MainShownWhileWaiting) << "the main window is usable while the splash waits";
    EXPECT_TRUE(run.SplashShownWhileWaiting);
}

TEST(Splash, GoesRightAfterASlowMainWindow)
{
    EXPECT_EQ(RunSplash(3000).VisibleMs, 3000);
}

TEST(Splash, ClosedEarlyItIsGoneAndNothingWaits)
{
    TFakeClock clock;
    TSplash splash(clock);
    splash.Show(ProgramFileInfo());
    ASSERT_NE(splash.Window(), nullptr);
    EXPECT_EQ(splash.Window()->size(), QSize(400, 300));
    EXPECT_EQ(splash.Window()->lbVersion->text(), QStringLiteral("Version 1.01"));
    EXPECT_FALSE(splash.Window()->Image1->pixmap().isNull());

    splash.Window()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(splash.Window(), nullptr);
    splash.Hide(nullptr);
    EXPECT_EQ(clock.Waits, 0);
}

TEST(AboutWindow, ShowsTheVersionWithTwoDigitParts)
{
    TDlgInfo program(ProgramFileInfo());
    EXPECT_EQ(program.Version->text(), QStringLiteral("1.01.02.62"));
    EXPECT_EQ(program.windowTitle(), QStringLiteral("Infos"));
    EXPECT_EQ(program.Image1->pixmap().size(), QSize(400, 300));

    QTemporaryDir dir;
    TFileInfo wide(WriteVersionFile(dir, "1.300.2.62 1.300.2.62"));
    EXPECT_EQ(TDlgInfo(wide).Version->text(), QStringLiteral("1.44.02.62"));
    TFileInfo none(dir.filePath(QStringLiteral("fehlt.bin")));
    EXPECT_EQ(TDlgInfo(none).Version->text(), QStringLiteral("0.00.00.00"));
}

TEST(AboutWindow, ShiftClickOnThePictureShowsTheCredits)
{
    TScriptedDialogs dialogs;
    TDlgInfo dialog(ProgramFileInfo());
    dialog.show();
    QTest::mouseClick(dialog.Image1, Qt::LeftButton);
    EXPECT_TRUE(dialogs.Messages.empty());
    QTest::mouseClick(dialog.Image1, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0].Text, TDlgInfo::Credits);
}

TEST(AboutWindow, LinkOpensTheAddressAndReportsABrowserFailure)
{
    TScriptedDialogs dialogs;
    TDlgInfo dialog(ProgramFileInfo());
    QList<QUrl> opened;
    bool browserWorks = true;
    dialog.SetUrlOpener([&](const QUrl &url) {
        opened << url;
        return browserWorks;
    });
    dialog.show();
    QTest::mouseClick(dialog.lblKelmar, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl(TDlgInfo::WebAddress));
    EXPECT_TRUE(dialogs.Messages.empty());

    browserWorks = false;
    QTest::mouseClick(dialog.lblKelmar, Qt::LeftButton);
    EXPECT_EQ(dialogs.Texts(), QStringList{QStringLiteral("Der Internet-Browser konnte nicht geöffnet werden")});
}
