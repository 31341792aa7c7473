#include "ui/uCardDataSaver.h"

#include "locale/uFileErrorText.h"
#include "locale/uHMRegistry.h"
#include "locale/ulocalize.h"

namespace {

void RegisterSaverTexts()
{
    RegisterFileErrorTexts();
    RegisterDefaultText(QStringLiteral("ID_SETTINGSNOTWRITTEN"),
                        QString::fromUtf8("Die Einstellungen konnten nicht gespeichert werden:\r\n%s\r\n"
                                          "Die Visitenkartendaten dieser Sitzung sind deshalb beim nächsten Start "
                                          "nicht mehr da. Sollen sie jetzt in einer Datei gespeichert werden?"));
    RegisterDefaultText(QStringLiteral("ID_SETTINGSNOTWRITTENEND"),
                        QString::fromUtf8("Die Einstellungen konnten nicht gespeichert werden:\r\n%s\r\n"
                                          "Die Visitenkartendaten gehen beim Beenden verloren. Sollen sie vorher in "
                                          "einer Datei gespeichert werden?"));
}

} // namespace

TCardDataSaver::TCardDataSaver(TDocument &document, std::chrono::milliseconds delay, THMRegIniFile &settings,
                               QObject *parent)
    : QObject(parent)
    , FDocument(document)
    , FSettings(settings)
    , FStored(document.DefaultValues())
{
    RegisterSaverTexts();
    FTimer.setSingleShot(true);
    FTimer.setInterval(delay);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        TFileError error;
        Write(error);
    });
    connect(&settings.Events(), &TSettingsEvents::WriteFailed, this, &TCardDataSaver::WriteFailed);
    // Losing the display ends the program through exit(), past the window;
    // the settings' end is the last moment for what changed since the pause.
    connect(&settings.Events(), &TSettingsEvents::Ending, this, [this] {
        TFileError error;
        Write(error);
    });
}

void TCardDataSaver::Changed()
{
    FTimer.start();
}

bool TCardDataSaver::Write(TFileError &error)
{
    FTimer.stop();
    const TStoredValues values = FDocument.DefaultValues();
    if (values == FStored)
        return true;
    for (const TStoredValue &value : values)
        FSettings.WriteString(value.Section, value.Name, value.Value);
    if (!FSettings.Flush(&error))
        return false;
    FStored = values;
    return true;
}

void TCardDataSaver::WriteFailed(const TFileError &error)
{
    if (FReported)
        return;
    FReported = true;
    FFailure = error;
    // Not from within the write, which may hold the lock of the settings file.
    QMetaObject::invokeMethod(this, &TCardDataSaver::ReportFailure, Qt::QueuedConnection);
}

void TCardDataSaver::ReportFailure()
{
    if (FClosing)
        return;
    const QString text = FormatDefaultText(QStringLiteral("ID_SETTINGSNOTWRITTEN"), {FileErrorReason(FFailure)});
    if (ShowMessageBox(TMsgDlgType::Warning, text, mbYes | mbNo, mbYes) == mbYes)
        SaveToFile();
}

bool TCardDataSaver::WriteAtEnd()
{
    // The question at the end says it all; no report follows it.
    FReported = true;
    FClosing = true;
    TFileError error;
    if (Write(error))
        return true;
    const QString text = FormatDefaultText(QStringLiteral("ID_SETTINGSNOTWRITTENEND"), {FileErrorReason(error)});
    switch (ShowMessageBox(TMsgDlgType::Warning, text, mbYes | mbNo | mbCancel, mbYes)) {
    case mbYes:
        return SaveToFile();
    case mbNo:
        return true;
    default:
        return false;
    }
}

bool TCardDataSaver::SaveToFile()
{
    if (!FDocument.SaveAs())
        return false;
    emit SavedToFile();
    return true;
}
