#include "locale/uHMRegistry.h"

#include "support/uCustomIni.h"
#include "support/uSettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QSettings>

namespace {

const QString ProgramKey = QStringLiteral("Software\\Ornak\\Tessaro");

QChar LocaleDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.at(0);
}

QString FormatFloat(double value)
{
    QString text = QString::number(value, 'g', 15);
    const QChar separator = LocaleDecimalSeparator();
    if (separator != '.')
        text.replace('.', separator);
    return text;
}

// A print offset stored under a locale with the other separator must not be
// lost, so both "," and "." are taken as the decimal point.
bool ParseFloat(const QString &text, double &value)
{
    QString normalized = text;
    normalized.replace(',', '.');
    return TryStrToFloat(normalized, value, QChar('.'));
}

} // namespace

THMRegIniFile::THMRegIniFile()
    : FSettings(SettingsLocation::OpenKey(ProgramKey))
{
}

THMRegIniFile::~THMRegIniFile() = default;

QString THMRegIniFile::GetKeyPath(const QString &section) const
{
    return section.isEmpty() ? ProgramKey : ProgramKey + '\\' + section;
}

QString THMRegIniFile::ReadString(const QString &section, const QString &name, const QString &def) const
{
    const QString group = SettingsLocation::GroupPath(section);
    const QString key = group.isEmpty() ? name : group + '/' + name;
    const QVariant value = FSettings->value(key);
    // A value list written by another program has no single text: default.
    if (!value.isValid() || value.typeId() == QMetaType::QStringList)
        return def;
    return value.toString();
}

int THMRegIniFile::ReadInteger(const QString &section, const QString &name, int def) const
{
    int value = 0;
    return TryStrToInt(ReadString(section, name, QString()), value) ? value : def;
}

bool THMRegIniFile::ReadBool(const QString &section, const QString &name, bool def) const
{
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

double THMRegIniFile::ReadFloat(const QString &section, const QString &name, double def) const
{
    double value = 0;
    return ParseFloat(ReadString(section, name, FormatFloat(def)), value) ? value : def;
}

void THMRegIniFile::WriteString(const QString &section, const QString &name, const QString &value)
{
    const QString group = SettingsLocation::GroupPath(section);
    FSettings->setValue(group.isEmpty() ? name : group + '/' + name, value);
}

void THMRegIniFile::WriteInteger(const QString &section, const QString &name, int value)
{
    WriteString(section, name, QString::number(value));
}

void THMRegIniFile::WriteBool(const QString &section, const QString &name, bool value)
{
    WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void THMRegIniFile::WriteFloat(const QString &section, const QString &name, double value)
{
    WriteString(section, name, FormatFloat(value));
}

void THMRegIniFile::Flush()
{
    FSettings->sync();
}

THMRegIniFile &Settings()
{
    static THMRegIniFile settings;
    return settings;
}

void WriteInstallDir()
{
    QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    Settings().WriteString(QString(), QStringLiteral("InstallDir"), dir);
}
