#pragma once

#include "support/uAtomicFile.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

// An INI file that could not be read or written, and why.
class EIniFileException : public std::runtime_error
{
public:
    explicit EIniFileException(const TFileError &error)
        : std::runtime_error(error.SystemText.toStdString()), FError(error)
    {
    }
    const TFileError &Error() const { return FError; }

private:
    TFileError FError;
};

// The decimal separator that ReadFloat uses. It is a scoped setting: the
// separator is switched for the lifetime of a TDecimalSeparatorScope and the
// previous one comes back when the scope ends, also through an exception.
QChar CurrentDecimalSeparator();

class TDecimalSeparatorScope
{
public:
    explicit TDecimalSeparatorScope(QChar separator);
    ~TDecimalSeparatorScope();
    TDecimalSeparatorScope(const TDecimalSeparatorScope &) = delete;
    TDecimalSeparatorScope &operator=(const TDecimalSeparatorScope &) = delete;

private:
    QChar FPrevious;
};

// Text-to-number conversions of the typed readers; false when the text does
// not convert.
bool TryStrToInt(const QString &text, int &value);
bool TryStrToFloat(const QString &text, double &value, QChar decimalSeparator);

// The text as part of one line of an INI file: the characters that end a
// line for any reader of these files are dropped, so a value cannot start
// keys or sections of its own.
QString IniLineText(const QString &text);

// The abstract INI interface: string access is implemented by each store,
// the typed readers and writers are built on it once here.
class TCustomIniFile
{
public:
    explicit TCustomIniFile(QString fileName = {}) : FFileName(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile &) = delete;
    TCustomIniFile &operator=(const TCustomIniFile &) = delete;

    const QString &FileName() const { return FFileName; }

    virtual QString ReadString(const QString &section, const QString &ident, const QString &def) const = 0;
    virtual void WriteString(const QString &section, const QString &ident, const QString &value) = 0;

    int ReadInteger(const QString &section, const QString &ident, int def) const;
    void WriteInteger(const QString &section, const QString &ident, int value);
    bool ReadBool(const QString &section, const QString &ident, bool def) const;
    void WriteBool(const QString &section, const QString &ident, bool value);
    double ReadFloat(const QString &section, const QString &ident, double def) const;
    void WriteFloat(const QString &section, const QString &ident, double value);

    virtual void ReadSection(const QString &section, QStringList &strings) const = 0;
    virtual void ReadSections(QStringList &strings) const = 0;
    virtual void ReadSectionValues(const QString &section, QStringList &strings) const = 0;
    virtual void EraseSection(const QString &section) = 0;
    virtual void DeleteKey(const QString &section, const QString &ident) = 0;
    virtual void UpdateFile() = 0;

    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &ident) const;

private:
    QString FFileName;
};
