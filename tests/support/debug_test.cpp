#include "support/udebug.h"

#include "support/uSettingsLocation.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QThread>

namespace {

TEST(DebugChannel, StartsTheConfiguredViewerWhenNoneRuns)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath("started");
    const QString viewer = dir.filePath("viewer.sh");
    {
        QFile script(viewer);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho run >> '" + marker.toLocal8Bit() + "'\n");
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    SettingsLocation::OpenKey(TDebug::ViewerKey)->setValue("Pfad", viewer);
    {
        TDebug channel;
        EXPECT_FALSE(channel.Connected());
        channel.LogFmt("Assistentbild %s %d nicht gefunden", "deu", 3);
    }
    for (int i = 0; i < 100 && !QFile::exists(marker); ++i)
        QThread::msleep(20);
    QFile started(marker);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(started.readAll(), "run\n");

    // A running viewer is found by its socket and nothing is started.
    QLocalServer running;
    ASSERT_TRUE(running.listen(TDebug::ViewerName));
    QFile::remove(marker);
    TDebug connected;
    EXPECT_TRUE(connected.Connected());
    QThread::msleep(100);
    EXPECT_FALSE(QFile::exists(marker));
    SettingsLocation::OpenKey(TDebug::ViewerKey)->remove("Pfad");
}

} // namespace
