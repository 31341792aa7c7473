#include "ui/uProgramStart.h"

#include "locale/uFileErrorText.h"
#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "render/uDIB.h"
#include "support/udebug.h"
#include "ui/uCommandLine.h"

#include <cfenv>

void StartProgramUnits()
{
    DebugChannel();
    WriteInstallDir();
    Localizer();
    RegisterDIBTexts();
    RegisterDocumentTexts();
    RegisterCommandLineTexts();
    RegisterFileErrorTexts();
    // All floating-point exceptions masked, rounding to nearest.
    std::fesetenv(FE_DFL_ENV);
}
