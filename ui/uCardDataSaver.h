#pragma once

#include "model/uDocument.h"
#include "support/uAtomicFile.h"

#include <QObject>
#include <QTimer>

#include <chrono>

class THMRegIniFile;

// Keeps the window's card data in the settings while it is open, so that an
// end the window does not see (the program killed, the display gone) loses
// no more than the last moments: they are written once the changes pause,
// never on a keystroke's own path. A write of the settings that fails is
// reported once a session, with its reason and the offer to save the card
// to a file.
class TCardDataSaver : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultDelay{2000};

    TCardDataSaver(TDocument &document, std::chrono::milliseconds delay, THMRegIniFile &settings, QObject *parent);

    // The card data may have changed: written once the changes pause for the delay.
    void Changed();
    // The write when the window closes. When it fails the user is asked
    // whether to save the card to a file first; false when the window is to
    // stay (the question or the file dialog cancelled).
    bool WriteAtEnd();

signals:
    // The card went to a file the user chose.
    void SavedToFile();

private:
    // Writes what changed since the last write that reached the file.
    bool Write(TFileError &error);
    void WriteFailed(const TFileError &error);
    void ReportFailure();
    bool SaveToFile();

    TDocument &FDocument;
    THMRegIniFile &FSettings;
    QTimer FTimer;
    // The card data the settings file holds as far as this window knows.
    TStoredValues FStored;
    bool FReported = false;
    // The window is closing: a report still due would come after its question.
    bool FClosing = false;
    TFileError FFailure;
};
