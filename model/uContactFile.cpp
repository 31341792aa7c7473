#include "model/uContactFile.h"

#include "locale/uFileErrorText.h"
#include "locale/ulocalize.h"
#include "model/uCardContact.h"
#include "model/uDocument.h"
#include "support/uAtomicFile.h"
#include "support/uDialogService.h"
#include "support/uRegularFile.h"

#include <QFileInfo>

namespace {

// Whole address books with photos stay well below this.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

QString FileFilter()
{
    return GetDefaultText(QStringLiteral("ID_VCARDDATEIEN")) + QStringLiteral(" (*.vcf *.vcard *.VCF);;")
        + GetDefaultText(QStringLiteral("ID_ALLEDATEIEN")) + QStringLiteral(" (*)");
}

QString InitialDir(const TDocument &document)
{
    return document.FileName().isEmpty() ? QString() : QFileInfo(document.FileName()).absolutePath();
}

// How the user tells the contacts of a file apart.
QString ContactCaption(const TContact &contact)
{
    QString name = contact.FormattedName;
    if (name.isEmpty()) {
        QStringList parts{contact.GivenName, contact.FamilyName};
        parts.removeAll(QString());
        name = parts.join(QLatin1Char(' '));
    }
    QStringList details{contact.Organization};
    if (!contact.Lines.isEmpty())
        details << contact.Lines.front().Value;
    details.removeAll(QString());
    if (name.isEmpty())
        return details.join(QStringLiteral(", "));
    return details.isEmpty() ? name : name + QStringLiteral(" (") + details.join(QStringLiteral(", ")) + ')';
}

void ShowError(const QString &key, const QVariantList &arguments)
{
    ShowMessageBox(TMsgDlgType::Error, FormatDefaultText(key, arguments));
}

} // namespace

void RegisterContactFileTexts()
{
    RegisterDefaultText(QStringLiteral("ID_VCARDDATEIEN"), QStringLiteral("vCard-Dateien"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTIMPORTIEREN"), QStringLiteral("Kontakt importieren"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTSPEICHERN"), QStringLiteral("Als vCard speichern"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTWAEHLEN"),
                        QStringLiteral("Die Datei enthält mehrere Kontakte. Welcher soll auf die Karte?"));
    RegisterDefaultText(QStringLiteral("ID_KEINKONTAKT"), QStringLiteral("Die Datei \"%s\" enthält keinen Kontakt."));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTNICHTLESBAR"),
                        QStringLiteral("Die Datei \"%s\" konnte nicht gelesen werden.\r\n%s"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTZUGROSS"),
                        QStringLiteral("Die Datei \"%s\" ist zu groß für eine Kontaktdatei."));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTGEKUERZT"),
                        QStringLiteral("Der Kontakt aus \"%s\" ist umfangreicher, als eine Visitenkartendatei "
                                       "fassen kann: Die letzten %d der %d Zeilen für Telefon, Fax und E-Mail "
                                       "wurden weggelassen."));
}

bool ImportContactFile(TDocument &document, const QString &path)
{
    const TFileContent content = ReadRegularFile(path, MaxFileSize);
    if (content.Result == TFileContent::TooLarge) {
        ShowError(QStringLiteral("ID_KONTAKTZUGROSS"), {path});
        return false;
    }
    if (content.Result == TFileContent::Failed) {
        if (content.Error.Kind == TFileError::NotAFile)
            ShowError(QStringLiteral("ID_KEINKONTAKT"), {path});
        else
            ShowError(QStringLiteral("ID_KONTAKTNICHTLESBAR"), {path, FileErrorReason(content.Error)});
        return false;
    }
    const QList<TContact> contacts = ReadVCards(content.Bytes, AnsiCodePageOfLanguage(Localizer().GetLanguageCode()));
    if (contacts.isEmpty()) {
        ShowError(QStringLiteral("ID_KEINKONTAKT"), {path});
        return false;
    }
    qsizetype chosen = 0;
    if (contacts.size() > 1) {
        QStringList captions;
        for (const TContact &contact : contacts)
            captions << ContactCaption(contact);
        chosen = Dialogs().ChooseItem(GetDefaultText(QStringLiteral("ID_KONTAKTIMPORTIEREN")),
                                      GetDefaultText(QStringLiteral("ID_KONTAKTWAEHLEN")), captions);
        if (chosen < 0 || chosen >= contacts.size())
            return false;
    }
    PutContactOnCard(document, contacts.at(chosen));
    // Another person's card: saving it must not overwrite the file of the one before.
    document.ForgetFileName();
    // Saved whole, the card could not be opened again.
    const qsizetype lines = document.TelefonFax().size();
    if (const qsizetype cut = document.FitTelefonFaxToCardFile(); cut > 0)
        ShowMessageBox(TMsgDlgType::Warning,
                       FormatDefaultText(QStringLiteral("ID_KONTAKTGEKUERZT"), {path, qlonglong(cut), qlonglong(lines)}));
    return true;
}

QString ChooseContactFile(const TDocument &document)
{
    TFileDialogRequest request;
    request.Title = GetDefaultText(QStringLiteral("ID_KONTAKTIMPORTIEREN"));
    request.Filter = FileFilter();
    request.DefaultSuffix = QStringLiteral("vcf");
    request.InitialDir = InitialDir(document);
    return Dialogs().GetOpenFileName(request);
}

bool ExportContact(const TDocument &document)
{
    TFileDialogRequest request;
    request.Title = GetDefaultText(QStringLiteral("ID_KONTAKTSPEICHERN"));
    request.Filter = FileFilter();
    request.DefaultSuffix = QStringLiteral("vcf");
    request.OverwritePrompt = true;
    request.InitialDir = InitialDir(document);
    if (!document.Name().trimmed().isEmpty())
        request.FileName = document.Name().trimmed() + QStringLiteral(".vcf");
    QString path = Dialogs().GetSaveFileName(request);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".vcf");
    TFileError error;
    if (WriteFileAtomically(path, WriteVCard(ContactOfCard(document)), &error))
        return true;
    ShowError(QStringLiteral("ID_CANNOTSAVEFILE"), {path, FileErrorReason(error)});
    return false;
}
