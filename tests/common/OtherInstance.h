#pragma once

#include "locale/uHMRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// The program's settings file as another running instance of the program
// sees it. Settings stores of one process share what they read under one
// file name, so this one reaches the file through a link to its folder: it
// reads the file itself, as a second process would.
class TOtherInstance
{
public:
    TOtherInstance()
    {
        const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ornak", "Tessaro").fileName();
        // ".../Ornak/Tessaro.conf": the user's settings folder is two up.
        const QString base = QFileInfo(QFileInfo(file).absolutePath()).absolutePath();
        const QString link = FFolder.filePath("config");
        QDir().mkpath(base + "/Ornak");
        QFile::link(base, link);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, link);
        FSettings = std::make_unique<THMRegIniFile>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, base);
    }

    THMRegIniFile &Settings() { return *FSettings; }

private:
    QTemporaryDir FFolder;
    std::unique_ptr<THMRegIniFile> FSettings;
};
