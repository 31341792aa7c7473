#pragma once

#include <QString>

// The developer's diagnostic channel. It connects to a running debug viewer
// (a local socket named "Quorvel DebugWin") or starts the viewer named in the
// settings, and accepts every log call without delivering anything.
class TDebug
{
public:
    TDebug();
    ~TDebug();
    TDebug(const TDebug &) = delete;
    TDebug &operator=(const TDebug &) = delete;

    void Send(const QString &text, int level);
    void Log(const QString &text);
    // printf-style formatting, then Log.
    void LogFmt(const char *format, ...);

    bool Connected() const { return FConnected; }

    static constexpr const char *ViewerName = "Quorvel DebugWin";
    static constexpr const char *ViewerKey = "Software\\Quorvel\\DebugWin32";

private:
    static bool ViewerRunning();
    bool FConnected = false;
};

// The one channel, created on first use and kept until the program ends.
TDebug &DebugChannel();
