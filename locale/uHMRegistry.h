#pragma once

#include "support/uAtomicFile.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLockFile;
class QSettings;

// What a settings store tells those who keep values in it.
class TSettingsEvents : public QObject
{
    Q_OBJECT

signals:
    // A write did not reach the file, which stays as it was; `error` says why.
    void WriteFailed(const TFileError &error);
    // The store is about to write for the last time and end, also when the
    // program is ended from within (the display going away ends it through
    // exit()): the last moment to put values in.
    void Ending();
};

// The program's persistent settings below the key "Software\Ornak\Tessaro".
// A section is a backslash-separated sub-key path ("" is the program key,
// "Daten\Default" a nested one). Every value is stored as text: integers in
// decimal, booleans "1"/"0", floats in general format with up to 15
// significant digits and the user locale's decimal separator. Reads never
// create keys and fall back to the default; writes create what is missing.
class THMRegIniFile
{
public:
    THMRegIniFile();
    ~THMRegIniFile();
    THMRegIniFile(const THMRegIniFile &) = delete;
    THMRegIniFile &operator=(const THMRegIniFile &) = delete;

    QString ReadString(const QString &section, const QString &name, const QString &def) const;
    int ReadInteger(const QString &section, const QString &name, int def) const;
    bool ReadBool(const QString &section, const QString &name, bool def) const;
    double ReadFloat(const QString &section, const QString &name, double def) const;

    void WriteString(const QString &section, const QString &name, const QString &value);
    void WriteInteger(const QString &section, const QString &name, int value);
    void WriteBool(const QString &section, const QString &name, bool value);
    void WriteFloat(const QString &section, const QString &name, double value);
    // Removes the section with its values and nested sections.
    void EraseSection(const QString &section);

    // "Software\Ornak\Tessaro" for "", "Software\Ornak\Tessaro\Position" for "Position".
    QString GetKeyPath(const QString &section) const;

    // Writes pending changes to the backing store (they are kept in memory
    // until then or until the object ends) and reads what other programs
    // stored since. A write that did not reach the file whole (a full disk,
    // a folder that cannot be written) puts the previous file back and gives
    // false; `error` and Events() tell why. The changes stay pending.
    bool Flush(TFileError *error = nullptr);

    // For values every running instance of the program changes (its own
    // sheets, the recent files, the print corrections): under a lock file
    // beside the settings file, the values are brought up to what is stored
    // now, `change` is applied to them and the result written at once, so
    // that no instance's change is lost. Gives what Flush gives.
    bool Update(const std::function<void()> &change);

    // The file the values are kept in.
    QString FileName() const;
    TSettingsEvents &Events() { return FEvents; }

    // Where a settings file that could not be read was put aside when this
    // object started afresh; empty when there was none or it was taken.
    QString TakeSetAsideFile();

private:
    bool FileHoldsEveryValue() const;
    TFileError WriteProblem() const;
    void SetBrokenFileAside();

    std::unique_ptr<QSettings> FSettings;
    // Sends the store's own deferred writes through Flush.
    std::unique_ptr<QObject> FDeferredWrites;
    QString FSetAsideFile;
    TSettingsEvents FEvents;
};

// The program's single settings object, created on first use.
THMRegIniFile &Settings();

// Tells the user, once, that the settings file could not be read and was
// put aside, so the settings start afresh.
void ReportSetAsideSettings(THMRegIniFile &settings = Settings());

// Held by the wizard while it runs, beside the settings file, so that an
// instance started meanwhile knows of it: both keep their card data in the
// same values. The lock of an instance that was killed counts as none.
class TInstanceLock
{
public:
    explicit TInstanceLock(const THMRegIniFile &settings = Settings());
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock &) = delete;
    TInstanceLock &operator=(const TInstanceLock &) = delete;

    // Another instance held the lock when this one started.
    bool OtherInstanceRunning() const;

private:
    std::unique_ptr<QLockFile> FLock;
};

// Warns once, at the start, that another instance runs with the same
// settings: the card data of the one that changes or ends last are what the
// next start shows.
void ReportOtherInstance(const TInstanceLock &lock);

// Stores the program's folder, ending in a separator, as "InstallDir";
// called once at start.
void WriteInstallDir();
