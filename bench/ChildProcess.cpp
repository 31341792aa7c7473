#include "ChildProcess.h"

#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "render/uDIB.h"
#include "support/uStartbildInfoFenster.h"
#include "support/udebug.h"
#include "ui/FMaster.h"
#include "ui/uDrawGrid.h"
#include "ui/uLogoDrop.h"
#include "ui/uProgramStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>

#include <cfenv>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

constexpr char MeasureSwitch[] = "--bench-measure";

// Runs argv[0] with its arguments in a fork of this process and writes
// "seconds cpu-seconds peak-KB exit-code" to standard output.
int Measure(char **argv)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execve(argv[0], argv, environ);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return 1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                       + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("%.6f %.6f %ld %d\n", seconds, cpu, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return 0;
}

} // namespace

std::optional<int> RunMeasureChild(int argc, char **argv)
{
    if (argc < 3 || std::strcmp(argv[1], MeasureSwitch) != 0)
        return std::nullopt;
    return Measure(argv + 2);
}

TChildResult RunChild(const QString &program, const QStringList &arguments)
{
    // A process's peak memory counts what it had before it turned into the
    // measured program, so the program is started from a small fresh process
    // rather than from this one.
    QProcess measure;
    measure.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    measure.start(QCoreApplication::applicationFilePath(), QStringList{QLatin1String(MeasureSwitch), program} + arguments);
    TChildResult result;
    if (!measure.waitForFinished(600000) || measure.exitCode() != 0)
        return result;
    const QList<QByteArray> fields = measure.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 4)
        return result;
    result.Seconds = fields[0].toDouble();
    result.CpuSeconds = fields[1].toDouble();
    result.PeakRssKB = fields[2].toLong();
    result.ExitCode = fields[3].toInt();
    return result;
}

namespace {

// Scrolls the layout grid row by row, so that every thumbnail is painted.
void PaintAllThumbnails(TMaster &master)
{
    auto *pages = master.findChild<QTabWidget *>(QStringLiteral("pcMain"));
    auto *layoutPage = master.findChild<QWidget *>(QStringLiteral("tsLayout"));
    auto *grid = master.findChild<TDrawGrid *>(QStringLiteral("dgLayouts"));
    if (!pages || !layoutPage || !grid)
        std::exit(3);
    pages->setCurrentWidget(layoutPage);
    master.repaint();
    QScrollBar &rows = *grid->verticalScrollBar();
    for (int row = rows.minimum(); row <= rows.maximum(); ++row) {
        rows.setValue(row);
        grid->viewport()->repaint();
    }
}

// Drops the picture on a logo group as a file manager would.
void DropLogo(TMaster &master, const char *group, const QString &picture)
{
    auto *area = master.findChild<QGroupBox *>(QLatin1String(group));
    auto *drop = area ? area->findChild<TLogoDrop *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!drop)
        std::exit(3);
    emit drop->Dropped(picture);
}

void InsertPhoto(TMaster &master, const QString &picture, const QString &timeFile)
{
    TDocument &document = master.Document();
    document.SetMitRueckseite(true);
    const int layout = document.Layouts().IndexOfName(QStringLiteral("100"));
    if (layout < 0)
        std::exit(3);
    document.SelectLayout(document.Layouts().Items(layout));
    master.DocumentToControls();
    PaintAllThumbnails(master);

    QElapsedTimer timer;
    timer.start();
    DropLogo(master, "gbFirmendaten", picture);
    DropLogo(master, "gbLogoRueckseite", picture);
    master.repaint();
    auto *grid = master.findChild<TDrawGrid *>(QStringLiteral("dgLayouts"));
    grid->viewport()->repaint();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    QFile file(timeFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray::number(seconds, 'f', 6)) < 0)
        std::exit(4);
}

} // namespace

std::optional<int> RunStartChild(int argc, char **argv)
{
    const bool firstPaint = std::strcmp(argv[1], FirstPaintSwitch) == 0;
    const bool thumbnails = std::strcmp(argv[1], ThumbnailsSwitch) == 0;
    const bool photo = std::strcmp(argv[1], InsertPhotoSwitch) == 0 && argc == 4;
    if (!firstPaint && !thumbnails && !photo)
        return std::nullopt;

    // The program's own start-up, step by step.
    QApplication app(argc, argv);
    StartProgramUnits();
    ShowSplash();
    auto *master = new TMaster;
    // Shows and paints the main window.
    HideSplash(master);
    if (thumbnails)
        PaintAllThumbnails(*master);
    if (photo)
        InsertPhoto(*master, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    // Measured up to here: shutting down is not part of the start.
    std::fflush(stderr);
    std::_Exit(0);
}
