#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "support/uStartbildInfoFenster.h"
#include "support/uTerminationSignals.h"
#include "ui/FMaster.h"
#include "ui/uCommandLine.h"
#include "ui/uProgramStart.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

namespace {

// The icon of an installed program comes from the icon theme; a program run
// from its build folder takes the same pictures from its resources.
QIcon ApplicationIcon()
{
    QIcon builtIn;
    QDirIterator pictures(QStringLiteral(":/icons"), {QStringLiteral("tessaro.png")}, QDir::Files,
                          QDirIterator::Subdirectories);
    while (pictures.hasNext())
        builtIn.addFile(pictures.next());
    return QIcon::fromTheme(QStringLiteral("tessaro"), builtIn);
}

// The arguments as QCoreApplication reads them, before there is one.
QStringList ProgramArguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = ProgramArguments(argc, argv);
    const TCommandLine commandLine = ParseCommandLine(arguments);
    // Printing, help and errors need no window and no display.
    if (commandLine.Action == TCommandLine::Printing)
        return RunPrintCommand(argc, argv, commandLine.Print);
    if (commandLine.Action != TCommandLine::Wizard)
        return ReportCommandLine(arguments, commandLine);
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaro"));
    QApplication::setWindowIcon(ApplicationIcon());

    StartProgramUnits();

    ShowSplash();
    int result = 0;
    {
        const TInstanceLock instance;
        TMaster master;
        // Until now a request to end ends the program at once: nothing was typed yet.
        const TTerminationSignals requestsToEnd;
        CloseOnRequestsToEnd(master, requestsToEnd);
        HideSplash(&master);
        ReportSetAsideSettings();
        ReportOtherInstance(instance);
        OpenCommandLineFiles(master, commandLine);
        result = app.exec();
    }
    // A text file of resource-writing mode that could not be written fails the run.
    if (!FinalizeLocalizer() && result == 0)
        result = 1;
    return result;
}
