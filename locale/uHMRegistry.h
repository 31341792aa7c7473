#pragma once

#include <QString>

#include <memory>

class QObject;
class QSettings;

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
    // until then or until the object ends). A write that did not reach the
    // file whole (a full disk) puts the previous file back.
    void Flush();

    // Where a settings file that could not be read was put aside when this
    // object started afresh; empty when there was none or it was taken.
    QString TakeSetAsideFile();

private:
    bool FileHoldsEveryValue() const;
    void SetBrokenFileAside();

    std::unique_ptr<QSettings> FSettings;
    // Sends the store's own deferred writes through Flush.
    std::unique_ptr<QObject> FDeferredWrites;
    QString FSetAsideFile;
};

// The program's single settings object, created on first use.
THMRegIniFile &Settings();

// Tells the user, once, that the settings file could not be read and was
// put aside, so the settings start afresh.
void ReportSetAsideSettings(THMRegIniFile &settings = Settings());

// Stores the program's folder, ending in a separator, as "InstallDir";
// called once at start.
void WriteInstallDir();
