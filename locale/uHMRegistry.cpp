#include "locale/uHMRegistry.h"

#include "locale/uFileErrorText.h"
#include "locale/ulocalize.h"
#include "support/uAtomicFile.h"
#include "support/uCustomIni.h"
#include "support/uSettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLocale>
#include <QSettings>

#include <algorithm>
#include <utility>

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

// The settings store writes changes by itself once the event loop runs
// again; this routes those writes through THMRegIniFile::Flush.
class TDeferredWrites : public QObject
{
public:
    explicit TDeferredWrites(THMRegIniFile &owner)
        : FOwner(owner)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest)
            return QObject::eventFilter(watched, event);
        FOwner.Flush();
        return true;
    }

private:
    THMRegIniFile &FOwner;
};

} // namespace

THMRegIniFile::THMRegIniFile()
    : FSettings(SettingsLocation::OpenKey(ProgramKey))
    , FDeferredWrites(std::make_unique<TDeferredWrites>(*this))
{
    // Sections are parsed on first use; all of them are used here so that a
    // damaged one shows at once.
    FSettings->allKeys();
    if (FSettings->status() == QSettings::FormatError)
        SetBrokenFileAside();
    FSettings->installEventFilter(FDeferredWrites.get());
}

void THMRegIniFile::SetBrokenFileAside()
{
    // Values of a file that cannot be parsed do not survive being written
    // back, so every later write would be taken back as cut short, and
    // nothing would ever be stored again. The file is kept for the user.
    const QString fileName = FSettings->fileName();
    FSettings.reset();
    const QString aside = fileName + QStringLiteral(".broken");
    QFile::remove(aside);
    if (QFile::rename(fileName, aside))
        FSetAsideFile = aside;
    FSettings = SettingsLocation::OpenKey(ProgramKey);
}

QString THMRegIniFile::TakeSetAsideFile()
{
    return std::exchange(FSetAsideFile, QString());
}

THMRegIniFile::~THMRegIniFile()
{
    Flush();
}

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

void THMRegIniFile::EraseSection(const QString &section)
{
    // An empty group would be every setting of the program.
    const QString group = SettingsLocation::GroupPath(section);
    if (!group.isEmpty())
        FSettings->remove(group);
}

void THMRegIniFile::Flush()
{
    // The store writes a full disk's truncated file without an error, and
    // everything after the cut would be gone at the next start.
    const QString fileName = FSettings->fileName();
    QFile previousFile(fileName);
    const bool hadFile = previousFile.open(QIODevice::ReadOnly);
    const QByteArray previous = hadFile ? previousFile.readAll() : QByteArray();
    previousFile.close();
    FSettings->sync();
    if (hadFile && !FileHoldsEveryValue())
        WriteFileAtomically(fileName, previous);
}

bool THMRegIniFile::FileHoldsEveryValue() const
{
    // A format error is about the file as it was read, not as it was written.
    if (FSettings->status() == QSettings::AccessError)
        return false;
    // Settings objects of one file name share what they read, so the file is
    // read again through another name for it.
    QFile file(FSettings->fileName());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QSettings stored(QStringLiteral("/proc/self/fd/%1").arg(file.handle()), QSettings::IniFormat);
    const QStringList keys = FSettings->allKeys();
    return std::all_of(keys.cbegin(), keys.cend(),
                       [&](const QString &key) { return stored.value(key) == FSettings->value(key); });
}

THMRegIniFile &Settings()
{
    static THMRegIniFile settings;
    return settings;
}

void ReportSetAsideSettings(THMRegIniFile &settings)
{
    const QString aside = settings.TakeSetAsideFile();
    if (aside.isEmpty())
        return;
    RegisterFileErrorTexts();
    ShowMessageBox(TMsgDlgType::Warning,
                   FormatDefaultText(QStringLiteral("ID_SETTINGSSETASIDE"), {QDir::toNativeSeparators(aside)}));
}

void WriteInstallDir()
{
    QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    Settings().WriteString(QString(), QStringLiteral("InstallDir"), dir);
}
