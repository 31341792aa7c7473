#include "ProjVersion.h"
#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "print/uPrintCommand.h"
#include "support/uStartbildInfoFenster.h"
#include "ui/FMaster.h"
#include "ui/uProgramStart.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>
#include <QTextStream>

#include <cstring>

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

// The card file named on the command line: the last argument that is no switch.
QString CardFileArgument(const QStringList &arguments)
{
    for (qsizetype i = arguments.size() - 1; i > 0; --i) {
        const QString &argument = arguments.at(i);
        if (!argument.startsWith(QLatin1Char('-'))
            && argument.compare(QLatin1String("/RESWRITE"), Qt::CaseInsensitive) != 0)
            return argument;
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    // Printing from the command line needs no window and no splash.
    if (const std::optional<int> printed = RunPrintCommand(argc, argv))
        return *printed;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "Tessaro " << tessaro::version::Text << '\n';
            return 0;
        }
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("tessaro"));
    QApplication::setWindowIcon(ApplicationIcon());

    StartProgramUnits();

    ShowSplash();
    int result = 0;
    {
        TMaster master;
        HideSplash(&master);
        ReportSetAsideSettings();
        const QString cardFile = CardFileArgument(app.arguments());
        if (!cardFile.isEmpty())
            master.OpenCardFile(cardFile);
        result = app.exec();
    }
    FinalizeLocalizer();
    return result;
}
