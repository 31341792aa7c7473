// The language resource loader on any resource content.

#include "FuzzSupport.h"

#include "locale/ulocalize.h"
#include "support/uResources.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TLocalizer localizer(QStringList{QStringLiteral("tessaro")});
    static const bool folder = QDir(Fuzz::Scratch().path()).mkpath(QStringLiteral("res/LANG"));
    if (!folder)
        std::abort();
    Fuzz::WriteInput(data, size, QStringLiteral("res/LANG/100"));
    const Resources::TRootOverride root(Fuzz::Scratch().filePath(QStringLiteral("res")));
    if (localizer.LoadLanguage(0)) {
        QStringList sections;
        localizer.Translations().ReadSections(sections);
        for (const QString &section : sections)
            localizer.GetText(section, QStringLiteral("Caption"));
    }
    return 0;
}
