#pragma once

#include "common/ScriptedDialogs.h"
#include "locale/uHMRegistry.h"
#include "support/uSettingsLocation.h"
#include "ui/FMaster.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

#include <chrono>
#include <functional>
#include <memory>

// A folder in the settings file's place while it lives, so that no write of
// the settings reaches the file; what was pending is written first.
class TBlockedSettingsFile
{
public:
    TBlockedSettingsFile()
    {
        Settings().Flush();
        QFile::remove(FPath);
        QDir().mkpath(FPath);
    }
    ~TBlockedSettingsFile() { QDir(FPath).removeRecursively(); }
    TBlockedSettingsFile(const TBlockedSettingsFile &) = delete;
    TBlockedSettingsFile &operator=(const TBlockedSettingsFile &) = delete;

private:
    const QString FPath = Settings().FileName();
};

// A main window on a fresh settings store, German, without the assistant
// popping up, all dialogs scripted.
class MasterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SettingsLocation::OpenKey(QStringLiteral("Software\\Ornak\\Tessaro"))->clear();
        Settings().WriteInteger(QString(), QStringLiteral("Sprache"), 0);
        Settings().WriteBool(QStringLiteral("Assistent"), QStringLiteral("DontShowAgain"), true);
    }

    static std::unique_ptr<TMaster> Create(std::chrono::milliseconds cardDataDelay = TCardDataSaver::DefaultDelay)
    {
        auto master = std::make_unique<TMaster>(nullptr, cardDataDelay);
        master->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(master.get()));
        return master;
    }

    template <class T>
    static T *Get(const TMaster &master, const char *name)
    {
        T *control = master.findChild<T *>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    static bool WaitFor(const std::function<bool()> &condition)
    {
        for (int i = 0; i < 100 && !condition(); ++i)
            QTest::qWait(10);
        return condition();
    }

    // A small logo picture at the path, its folders made.
    static bool WriteLogo(const QString &path)
    {
        QImage picture(40, 20, QImage::Format_RGB888);
        picture.fill(Qt::darkBlue);
        return QDir().mkpath(QFileInfo(path).path()) && picture.save(path, "BMP");
    }

    static QString Page(const TMaster &master);
    static void Click(const TMaster &master, const char *button);

    static int CountPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
    {
        int count = 0;
        const QRect inside = area.intersected(image.rect());
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                count += match(image.pixelColor(x, y)) ? 1 : 0;
        return count;
    }

    TScriptedDialogs FDialogs;
};
