#include "ui/uProgramStart.h"

#include "locale/uFileErrorText.h"
#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uContactFile.h"
#include "model/uDocument.h"
#include "render/uDIB.h"
#include "render/uTextFit.h"
#include "support/uTerminationSignals.h"
#include "support/udebug.h"
#include "ui/FMaster.h"
#include "ui/uCommandLine.h"

#include <QApplication>
#include <QSessionManager>
#include <QWidget>

#include <cfenv>

void StartProgramUnits()
{
    DebugChannel();
    WriteInstallDir();
    Localizer();
    RegisterDIBTexts();
    RegisterTextFitTexts();
    RegisterDocumentTexts();
    RegisterCommandLineTexts();
    RegisterFileErrorTexts();
    // All floating-point exceptions masked, rounding to nearest.
    std::fesetenv(FE_DFL_ENV);
}

namespace {

void CloseAsTheUserWould(TMaster &window)
{
    // The user would cancel a dialog in front of the window to reach it;
    // one left open would keep the program from ending.
    while (QWidget *dialog = QApplication::activeModalWidget()) {
        if (dialog == &window || !dialog->close())
            break;
    }
    window.CloseAtRequestToEnd();
}

} // namespace

void CloseOnRequestsToEnd(TMaster &window, const TTerminationSignals &requests)
{
    QObject::connect(&requests, &TTerminationSignals::Received, &window, [&window] { CloseAsTheUserWould(window); });
    // The session manager waits for the answer: at once, not from the loop.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, &window,
        [&window](QSessionManager &) { CloseAsTheUserWould(window); }, Qt::DirectConnection);
}

void OpenCommandLineFiles(TMaster &window, const TCommandLine &commandLine)
{
    const QString &file = commandLine.CardFile;
    if (!file.isEmpty() && IsContactFile(file))
        window.ImportContactFile(file);
    else if (!file.isEmpty())
        window.OpenCardFile(file);
    if (!commandLine.ContactFile.isEmpty())
        window.ImportContactFile(commandLine.ContactFile);
}
