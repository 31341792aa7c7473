#pragma once

#include <QStringList>

#include <optional>

struct TChildResult
{
    int ExitCode = -1; // -1: did not start or did not end normally
    double Seconds = 0;
    double CpuSeconds = 0; // user and system time of the child
    long PeakRssKB = 0; // the child's peak resident memory
};

// Runs the program to its end with the current environment, standard output
// thrown away, and measures its wall time and peak memory.
TChildResult RunChild(const QString &program, const QStringList &arguments);
// The exit code when argv asks this process to start and measure a program
// for RunChild, nothing otherwise. Call before anything else in main().
std::optional<int> RunMeasureChild(int argc, char **argv);

// The program start as a child process of the benchmark: the start-up of the
// wizard up to its first painted main window, then the process ends.
inline constexpr char FirstPaintSwitch[] = "--bench-first-paint";
// The same, then the layout page with every thumbnail painted once.
inline constexpr char ThumbnailsSwitch[] = "--bench-all-thumbnails";

// The wizard showing a two-sided card of layout 100 beside its thumbnails;
// then the picture argv[2] is dropped on the front's and the back's logo
// group, and the time until preview and thumbnails are redrawn is written,
// in seconds, to the file argv[3].
inline constexpr char InsertPhotoSwitch[] = "--bench-insert-photo";

// The exit code when argv asks for one of the start children, nothing otherwise.
std::optional<int> RunStartChild(int argc, char **argv);
