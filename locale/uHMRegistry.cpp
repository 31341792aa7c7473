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
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSettings>

#include <algorithm>
#include <utility>

namespace {

const QString ProgramKey = QStringLiteral("Software\\Ornak\\Tessaro");
// Beside the store's own "<file>.lock", which it takes while it writes.
const QString UpdateLockSuffix = QStringLiteral(".update.lock");
const QString InstanceLockSuffix = QStringLiteral(".instance.lock");
// Another instance holds the lock for one write; one that hangs holding it
// must not hang this one too.
constexpr int UpdateLockTimeout = 5000; // ms

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

// A lock file beside the settings file, whose folder a first start has yet to make.
QString LockFileName(const QString &settingsFile, const QString &suffix)
{
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    return settingsFile + suffix;
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
    emit FEvents.Ending();
    Flush();
}

QString THMRegIniFile::FileName() const
{
    return FSettings->fileName();
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

bool THMRegIniFile::Flush(TFileError *error)
{
    // The store writes a full disk's truncated file without an error, and
    // everything after the cut would be gone at the next start.
    const QString fileName = FSettings->fileName();
    QFile previousFile(fileName);
    const bool hadFile = previousFile.open(QIODevice::ReadOnly);
    const QByteArray previous = hadFile ? previousFile.readAll() : QByteArray();
    previousFile.close();
    FSettings->sync();
    if (FileHoldsEveryValue())
        return true;
    if (hadFile)
        WriteFileAtomically(fileName, previous);
    const TFileError problem = WriteProblem();
    if (error)
        *error = problem;
    emit FEvents.WriteFailed(problem);
    return false;
}

bool THMRegIniFile::Update(const std::function<void()> &change)
{
    QLockFile lock(LockFileName(FSettings->fileName(), UpdateLockSuffix));
    lock.tryLock(UpdateLockTimeout);
    // The store reads the file again when another instance changed it.
    Flush();
    change();
    return Flush();
}

bool THMRegIniFile::FileHoldsEveryValue() const
{
    // Judged by the file alone: once a write failed, the store reports an
    // error for every later one, however well it goes.
    const QStringList keys = FSettings->allKeys();
    QFile file(FSettings->fileName());
    if (!file.open(QIODevice::ReadOnly))
        return keys.isEmpty() && !file.exists();
    // Settings objects of one file name share what they read, so the file is
    // read again through another name for it.
    const QSettings stored(QStringLiteral("/proc/self/fd/%1").arg(file.handle()), QSettings::IniFormat);
    return std::all_of(keys.cbegin(), keys.cend(),
                       [&](const QString &key) { return stored.value(key) == FSettings->value(key); });
}

TFileError THMRegIniFile::WriteProblem() const
{
    // The store does not say why it failed. Writing as much as it would in
    // the file's place, without putting it there, does.
    qsizetype size = 0;
    for (const QString &key : FSettings->allKeys())
        size += key.size() + FSettings->value(key).toString().toUtf8().size() + 2;
    TAtomicFile trial(FSettings->fileName());
    if (trial.Open() && trial.Write(QByteArray(size, ' ')) && trial.Finish())
        return {TFileError::CannotWrite, QString()};
    return trial.Error();
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

TInstanceLock::TInstanceLock(const THMRegIniFile &settings)
    : FLock(std::make_unique<QLockFile>(LockFileName(settings.FileName(), InstanceLockSuffix)))
{
    // Held for hours: only a holder that is gone makes it stale, never its age.
    FLock->setStaleLockTime(0);
    FLock->tryLock(0);
}

TInstanceLock::~TInstanceLock() = default;

bool TInstanceLock::OtherInstanceRunning() const
{
    return FLock->error() == QLockFile::LockFailedError;
}

void ReportOtherInstance(const TInstanceLock &lock)
{
    if (!lock.OtherInstanceRunning())
        return;
    RegisterDefaultText(QStringLiteral("ID_OTHERINSTANCE"),
                        QString::fromUtf8("Tessaro ist schon geöffnet. Beide Fenster speichern ihre "
                                          "Visitenkartendaten an derselben Stelle: Beim nächsten Start erscheint die "
                                          "Karte des Fensters, das zuletzt geändert oder beendet wurde. Eine Karte, "
                                          "die Sie behalten möchten, speichern Sie mit „Speichern unter“ in einer "
                                          "Datei."));
    ShowMessageBox(TMsgDlgType::Warning, GetDefaultText(QStringLiteral("ID_OTHERINSTANCE")));
}

void WriteInstallDir()
{
    QString dir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    Settings().WriteString(QString(), QStringLiteral("InstallDir"), dir);
}
