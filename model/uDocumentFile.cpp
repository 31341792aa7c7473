// The document's card-data files (.tsx): an INI text with one key per line
// of every multi-line text, and a ".bak" copy of the previous version.

#include "model/uDocument.h"

#include "locale/uFileErrorText.h"
#include "locale/ulocalize.h"
#include "model/uBogenkatalog.h"
#include "support/uAtomicFile.h"
#include "support/uDialogService.h"
#include "support/uProfileIni.h"

#include <QFileInfo>

#include <optional>

namespace {

const QString NoEntry = QStringLiteral("##NOENTRY##");
const QString Daten = QStringLiteral("Daten");
// The sheet; older readers skip the section.
const QString Bogen = QStringLiteral("Bogen");
// Older versions skip this section: a file without it has no QR code.
const QString QRCodeSection = QStringLiteral("QRCode");
const QString TelefonFaxPrefix = QStringLiteral("TelefonFaxEMail");

// The extension replaced by ".bak", or ".bak" appended when there is none;
// a file that already ends in ".bak" would be its own backup and gets
// ".bak" appended too.
QString BackupName(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (suffix.isEmpty() || info.fileName() == '.' + suffix
        || suffix.compare(QLatin1String("bak"), Qt::CaseInsensitive) == 0)
        return path + QStringLiteral(".bak");
    return path.left(path.size() - suffix.size()) + QStringLiteral("bak");
}

void WriteLines(TCustomIniFile &ini, const QString &prefix, const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        ini.WriteString(Daten, prefix + QString::number(i), lines.at(i));
}

QStringList ReadLines(const TCustomIniFile &ini, const QString &prefix)
{
    QStringList lines;
    for (int i = 0;; ++i) {
        const QString line = ini.ReadString(Daten, prefix + QString::number(i), NoEntry);
        if (line == NoEntry)
            return lines;
        lines.append(line);
    }
}

} // namespace

void TDocument::WriteCardKeys(TCustomIniFile &ini) const
{
    ini.WriteString(Daten, QStringLiteral("Name"), FName);
    ini.WriteString(Daten, QStringLiteral("Titel"), FTitel);
    ini.WriteString(Daten, QStringLiteral("Firma"), FFirma);
    // Most names need none; their files stay as they were.
    if (!FNachname.isEmpty())
        ini.WriteString(Daten, QStringLiteral("Nachname"), FNachname);
    WriteLines(ini, QStringLiteral("Beruf"), FBeruf);
    WriteLines(ini, QStringLiteral("Adresse"), FAdresse);
    WriteLines(ini, TelefonFaxPrefix, FTelefonFax);
    ini.WriteBool(Daten, QStringLiteral("MitRueckseite"), FMitRueckseite);
    ini.WriteInteger(Daten, QStringLiteral("Kartentyp"), FKartentyp);
    WriteLines(ini, QStringLiteral("BackText1_"), FBackText1);
    WriteLines(ini, QStringLiteral("BackText2_"), FBackText2);
    WriteLines(ini, QStringLiteral("KlappVisitenkartenTextInnen"), FKlappTextInnen);
    WriteLines(ini, QStringLiteral("KlappVisitenkartenTextAussen"), FKlappTextAussen);
    ini.WriteString(QStringLiteral("Layout"), QStringLiteral("Name"), FKartenlayout.Name);
    if (!Fontname.isEmpty())
        ini.WriteString(QStringLiteral("Font"), QStringLiteral("Name"), Fontname);
    ini.WriteBool(QStringLiteral("Linien"), QStringLiteral("Anzeigen"), LinienAnzeigen);
    ini.WriteBool(QString::fromUtf8("Rückseite"), QString::fromUtf8("TextZentrierenRückseite"), TextZentrierenRueckseite);
    WriteSheet(FBogenlayout, [&](const QString &key, const QString &value) { ini.WriteString(Bogen, key, value); });
    FQRCode.Write([&](const QString &key, const QString &value) { ini.WriteString(QRCodeSection, key, value); });
    if (!Logo.FileName().isEmpty())
        ini.WriteString(Daten, QStringLiteral("Logodatei"), Logo.FileName());
    if (!LogoRueckseite.FileName().isEmpty())
        ini.WriteString(Daten, QString::fromUtf8("LogodateiRückseite"), LogoRueckseite.FileName());
}

qsizetype TDocument::FitTelefonFaxToCardFile()
{
    TProfileIniFile ini(QString(), TProfileIniFile::StartEmpty);
    ini.BeginUpdate(); // kept in memory: only its size counts
    WriteCardKeys(ini);
    qint64 size = ini.FileSize();
    qsizetype kept = FTelefonFax.size();
    while (kept > 0 && size > TProfileIniFile::MaxFileSize) {
        --kept;
        size -= TProfileIniFile::LineSize(TelefonFaxPrefix + QString::number(kept), FTelefonFax.at(kept));
    }
    const qsizetype cut = FTelefonFax.size() - kept;
    FTelefonFax.resize(kept);
    return cut;
}

bool TDocument::WriteCardFile(const QString &path, TFileError &error) const
{
    TProfileIniFile ini(path, TProfileIniFile::StartEmpty);
    ini.BeginUpdate(); // collected in memory, written below
    WriteCardKeys(ini);
    // A card too large to be opened again is not written at all.
    QByteArray bytes;
    if (!ini.FileBytes(bytes, error))
        return false;

    // The new version is complete on disk before the previous one becomes
    // the backup, and only then takes the file's place: whatever fails, the
    // card file and the older backup stay as they were.
    TAtomicFile file(path);
    if (!file.Open() || !file.Write(bytes) || !file.Finish()) {
        error = file.Error();
        return false;
    }
    if (!KeepAsBackup(path, BackupName(path), &error))
        return false;
    if (!file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

bool TDocument::SaveToFile(const QString &path)
{
    FFileName = path;
    FSaveError = {};
    const bool written = WriteCardFile(path, FSaveError);
    if (written)
        FModified = false;
    return written;
}

bool TDocument::LoadFromFile(const QString &path)
{
    FLoadError.clear();
    FReadError = {};
    try {
        const TProfileIniFile ini(path);
        const QString name = ini.ReadString(Daten, QStringLiteral("Name"), NoEntry);
        if (name == NoEntry)
            return false;
        // A sheet that cannot be printed on refuses the file before the card
        // on screen changes; a file without one prints on its card type's preset.
        std::optional<TBogenlayout> sheet;
        if (ini.SectionExists(Bogen)) {
            sheet.emplace();
            FLoadError = ReadSheet(
                [&](const QString &key) {
                    const QString value = ini.ReadString(Bogen, key, NoEntry);
                    return value == NoEntry ? QString() : value;
                },
                *sheet);
            if (!FLoadError.isEmpty())
                return false;
        }
        FFileName = path;
        FName = name;
        FTitel = ini.ReadString(Daten, QStringLiteral("Titel"), QString());
        FFirma = ini.ReadString(Daten, QStringLiteral("Firma"), QString());
        FNachname = ini.ReadString(Daten, QStringLiteral("Nachname"), QString());
        FAdresse = ReadLines(ini, QStringLiteral("Adresse"));
        FBeruf = ReadLines(ini, QStringLiteral("Beruf"));
        FTelefonFax = ReadLines(ini, TelefonFaxPrefix);
        SetMitRueckseite(ini.ReadBool(Daten, QStringLiteral("MitRueckseite"), false));
        SetKartentyp(ini.ReadInteger(Daten, QStringLiteral("Kartentyp"), FKartentyp));
        if (sheet)
            FBogenlayout = *sheet;
        FBackText1 = ReadLines(ini, QStringLiteral("BackText1_"));
        FBackText2 = ReadLines(ini, QStringLiteral("BackText2_"));
        FKlappTextInnen = ReadLines(ini, QStringLiteral("KlappVisitenkartenTextInnen"));
        FKlappTextAussen = ReadLines(ini, QStringLiteral("KlappVisitenkartenTextAussen"));
        // The layouts on offer follow the card just read, not the one shown
        // before: a standard card opened over a two-sided folding card keeps
        // its portrait layout.
        LoadLayouts(FKartentyp == Klappkarte && MitRueckseite());
        const int index = FLayouts.IndexOfName(ini.ReadString(QStringLiteral("Layout"), QStringLiteral("Name"), QString()));
        if (index >= 0)
            SelectLayout(FLayouts.Items(index));
        Fontname = ini.ReadString(QStringLiteral("Font"), QStringLiteral("Name"), QString());
        LinienAnzeigen = ini.ReadBool(QStringLiteral("Linien"), QStringLiteral("Anzeigen"), true);
        TextZentrierenRueckseite =
            ini.ReadBool(QString::fromUtf8("Rückseite"), QString::fromUtf8("TextZentrierenRückseite"), false);
        FQRCode = TQRCodeSettings::Read([&](const QString &key) { return ini.ReadString(QRCodeSection, key, QString()); });
        LoadLogo(Logo, ini.ReadString(Daten, QStringLiteral("Logodatei"), QString()));
        LoadLogo(LogoRueckseite, ini.ReadString(Daten, QString::fromUtf8("LogodateiRückseite"), QString()));
    } catch (const EIniFileException &error) {
        FReadError = error.Error();
        FModified = false;
        return false;
    } catch (const std::exception &) {
        FModified = false;
        return false;
    }
    FModified = false;
    return true;
}

QString TDocument::ReadFailure() const
{
    if (FReadError.Kind != TFileError::NoPermission && FReadError.Kind != TFileError::CannotRead)
        return {};
    return FileErrorReason(FReadError);
}

QString TDocument::FileFilter() const
{
    return QStringLiteral("*.tsx (*.tsx);;") + GetDefaultText(QStringLiteral("ID_ALLEDATEIEN")) + QStringLiteral(" (*)");
}

bool TDocument::Open()
{
    TFileDialogRequest request;
    request.Title = GetDefaultText(QStringLiteral("ID_OPENFILE"));
    request.Filter = FileFilter();
    request.DefaultSuffix = QStringLiteral("tsx");
    request.InitialDir = FFileName.isEmpty() ? QString() : QFileInfo(FFileName).absolutePath();
    const QString path = Dialogs().GetOpenFileName(request);
    if (path.isEmpty())
        return false;
    return LoadWithMessage(path);
}

bool TDocument::LoadWithMessage(const QString &path)
{
    // Without a word the user could not tell a refused file from one that
    // holds the same card.
    if (LoadFromFile(path))
        return true;
    if (!FLoadError.isEmpty())
        ShowMessageBox(TMsgDlgType::Error, FormatDefaultText(QStringLiteral("ID_BOGENDATEI"), {path, FLoadError}));
    else if (const QString reason = ReadFailure(); !reason.isEmpty())
        ShowMessageBox(TMsgDlgType::Error, FormatDefaultText(QStringLiteral("ID_KARTENICHTLESBAR"), {path, reason}));
    else
        ShowMessageBox(TMsgDlgType::Error, FormatDefaultText(QStringLiteral("ID_NOCARDFILE"), {path}));
    return false;
}

bool TDocument::SaveWithMessage(const QString &path)
{
    if (SaveToFile(path))
        return true;
    ShowMessageBox(TMsgDlgType::Error,
                   FormatDefaultText(QStringLiteral("ID_CANNOTSAVEFILE"), {path, FileErrorReason(FSaveError)}));
    return false;
}

bool TDocument::SaveAs()
{
    TFileDialogRequest request;
    request.Title = GetDefaultText(QStringLiteral("ID_SAVEFILE"));
    request.Filter = FileFilter();
    request.DefaultSuffix = QStringLiteral("tsx");
    request.OverwritePrompt = true;
    request.FileName = FFileName;
    QString path = Dialogs().GetSaveFileName(request);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".tsx");
    return SaveWithMessage(path);
}

bool TDocument::Save()
{
    if (!FFileName.isEmpty())
        return SaveWithMessage(FFileName);
    return SaveAs();
}
