#include "support/udebug.h"

#include "support/uSettingsLocation.h"

#include <QLocalSocket>
#include <QProcess>

#include <cstdarg>

namespace {
constexpr int ViewerSearches = 10000;
}

bool TDebug::ViewerRunning()
{
    QLocalSocket probe;
    probe.connectToServer(QString::fromLatin1(ViewerName));
    const bool found = probe.state() == QLocalSocket::ConnectedState || probe.waitForConnected(0);
    probe.abort();
    return found;
}

TDebug::TDebug()
{
    FConnected = ViewerRunning();
    if (!FConnected) {
        QString path;
        if (auto key = SettingsLocation::OpenKey(QString::fromLatin1(ViewerKey))) {
            path = key->value(QStringLiteral("Pfad")).toString();
            // Creates the key's store when it does not exist yet.
            key->sync();
        }
        if (!path.isEmpty() && QProcess::startDetached(path, {})) {
            for (int i = 0; i < ViewerSearches && !FConnected; ++i)
                FConnected = ViewerRunning();
        }
    }
    Log(QStringLiteral("Debug.Create"));
}

TDebug::~TDebug()
{
    Log(QStringLiteral("Debug.Destroy"));
}

void TDebug::Send(const QString &, int)
{
    // Accepted and discarded: the channel delivers nothing.
}

void TDebug::Log(const QString &text)
{
    Send(text, 0);
}

void TDebug::LogFmt(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const QString text = QString::vasprintf(format, args);
    va_end(args);
    Log(text);
}

TDebug &DebugChannel()
{
    static TDebug channel;
    return channel;
}
