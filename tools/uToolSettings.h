#pragma once

#include <QTemporaryDir>

// The developer tools draw off screen and see the sample card of a first
// start: a private settings folder for as long as the tool runs, never the
// user's own. Made before the application object.
class TToolSettings
{
public:
    TToolSettings()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", FFolder.path().toLocal8Bit());
    }

private:
    QTemporaryDir FFolder;
};
