#include "locale/uFileErrorText.h"

#include "locale/ulocalize.h"
#include "support/uAtomicFile.h"

#include <QCoreApplication>

namespace {

struct TReasonText
{
    TFileError::TKind Kind;
    const char *Key;
    const char *Text;
};

constexpr TReasonText ReasonTexts[] = {
    {TFileError::NotAFile, "ID_REASON_NOTAFILE",
     "Unter diesem Namen gibt es schon etwas anderes als eine Datei, etwa einen Ordner oder ein Gerät."},
    {TFileError::NoSpace, "ID_REASON_DISKFULL", "Auf dem Datenträger ist nicht genug Platz."},
    {TFileError::NoPermission, "ID_REASON_ACCESSDENIED", "Der Zugriff wurde verweigert."},
    {TFileError::CannotCreate, "ID_REASON_CANNOTCREATE", "Die Datei kann dort nicht angelegt werden."},
    {TFileError::CannotWrite, "ID_REASON_CANNOTWRITE", "Die Datei konnte nicht vollständig geschrieben werden."},
    {TFileError::CannotRead, "ID_REASON_CANNOTREAD", "Die Datei konnte nicht gelesen werden."},
    {TFileError::TooLarge, "ID_REASON_TOOLARGE", "Die Datei würde zu groß, um wieder geöffnet werden zu können."},
};

} // namespace

void RegisterFileErrorTexts()
{
    for (const TReasonText &reason : ReasonTexts)
        RegisterDefaultText(QLatin1String(reason.Key), QString::fromUtf8(reason.Text));
    RegisterDefaultText(QStringLiteral("ID_SETTINGSSETASIDE"),
                        QString::fromUtf8("Die Einstellungsdatei konnte nicht gelesen werden und wurde als %s "
                                          "beiseitegelegt. Die Einstellungen beginnen von vorn."));
}

QString FileErrorReason(const TFileError &error)
{
    if (!error.SystemText.isEmpty()) {
        const QString translated = QCoreApplication::translate("QIODevice", error.SystemText.toUtf8().constData());
        if (translated != error.SystemText)
            return translated;
    }
    RegisterFileErrorTexts();
    for (const TReasonText &reason : ReasonTexts)
        if (reason.Kind == error.Kind)
            return GetDefaultText(QLatin1String(reason.Key));
    return GetDefaultText(QStringLiteral("ID_REASON_CANNOTWRITE"));
}
