#include "model/uContactFile.h"

#include "locale/uFileErrorText.h"
#include "locale/ulocalize.h"
#include "model/uCardContact.h"
#include "model/uDocument.h"
#include "support/uAtomicFile.h"
#include "support/uDialogService.h"
#include "support/uRegularFile.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

namespace {

// Whole address books with photos stay well below this.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

// Old 8-bit files were written in the code page of the user's language.
TAnsiCodePage LanguageCodePage()
{
    return AnsiCodePageOfLanguage(Localizer().GetLanguageCode());
}

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
    // The e-mail address tells namesakes apart and is what one searches by.
    QStringList details{contact.Organization};
    const auto mail = std::find_if(contact.Lines.begin(), contact.Lines.end(),
                                   [](const TContactLine &line) { return line.Kind == TContactLine::TKind::EMail; });
    if (mail != contact.Lines.end())
        details << mail->Value;
    else if (!contact.Lines.isEmpty())
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

// The contacts of a file, or the message why it offers none.
struct TContactsRead
{
    QList<TContact> Contacts;
    QString Error;
};

TContactsRead ReadContactFile(const QString &path)
{
    const TFileContent content = ReadRegularFile(path, MaxFileSize);
    if (content.Result == TFileContent::TooLarge)
        return {{}, FormatDefaultText(QStringLiteral("ID_KONTAKTZUGROSS"), {path})};
    if (content.Result == TFileContent::Failed) {
        if (content.Error.Kind == TFileError::NotAFile)
            return {{}, FormatDefaultText(QStringLiteral("ID_KEINKONTAKT"), {path})};
        return {{}, FormatDefaultText(QStringLiteral("ID_KONTAKTNICHTLESBAR"), {path, FileErrorReason(content.Error)})};
    }
    TContactsRead read{ReadVCards(content.Bytes, LanguageCodePage()), {}};
    if (read.Contacts.isEmpty())
        read.Error = FormatDefaultText(QStringLiteral("ID_KEINKONTAKT"), {path});
    return read;
}

// `source` is the file the contact came from, empty for dropped data.
void PutOnCard(TDocument &document, const TContact &contact, const QString &source)
{
    PutContactOnCard(document, contact);
    // Another person's card: saving it must not overwrite the file of the one before.
    document.ForgetFileName();
    // Saved whole, the card could not be opened again.
    const qlonglong lines = document.TelefonFax().size();
    const qlonglong cut = document.FitTelefonFaxToCardFile();
    if (cut <= 0)
        return;
    ShowMessageBox(TMsgDlgType::Warning, source.isEmpty()
                       ? FormatDefaultText(QStringLiteral("ID_ABGELEGTGEKUERZT"), {cut, lines})
                       : FormatDefaultText(QStringLiteral("ID_KONTAKTGEKUERZT"), {source, cut, lines}));
}

// The contact the user picks when there are several; -1 when none is.
qsizetype ChooseContact(const QList<TContact> &contacts)
{
    if (contacts.size() == 1)
        return 0;
    QStringList captions;
    for (const TContact &contact : contacts)
        captions << ContactCaption(contact);
    const qsizetype chosen = Dialogs().ChooseItem(GetDefaultText(QStringLiteral("ID_KONTAKTIMPORTIEREN")),
                                                  GetDefaultText(QStringLiteral("ID_KONTAKTWAEHLEN")), captions);
    return chosen < contacts.size() ? chosen : -1;
}

bool ImportChosenContact(TDocument &document, const QList<TContact> &contacts, const QString &source)
{
    const qsizetype chosen = ChooseContact(contacts);
    if (chosen < 0)
        return false;
    PutOnCard(document, contacts.at(chosen), source);
    return true;
}

} // namespace

void RegisterContactFileTexts()
{
    RegisterDefaultText(QStringLiteral("ID_VCARDDATEIEN"), QStringLiteral("vCard-Dateien"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTIMPORTIEREN"), QStringLiteral("Kontakt importieren"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTSPEICHERN"), QStringLiteral("Als vCard speichern"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTWAEHLEN"),
                        QStringLiteral("Die Datei enthält mehrere Kontakte. Welcher soll auf die Karte? "
                                       "Suchen nach Name, Firma oder E-Mail:"));
    RegisterDefaultText(QStringLiteral("ID_KEINKONTAKT"), QStringLiteral("Die Datei \"%s\" enthält keinen Kontakt."));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTNICHTLESBAR"),
                        QStringLiteral("Die Datei \"%s\" konnte nicht gelesen werden.\r\n%s"));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTZUGROSS"),
                        QStringLiteral("Die Datei \"%s\" ist zu groß für eine Kontaktdatei."));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTGEKUERZT"),
                        QStringLiteral("Der Kontakt aus \"%s\" ist umfangreicher, als eine Visitenkartendatei "
                                       "fassen kann: Die letzten %d der %d Zeilen für Telefon, Fax und E-Mail "
                                       "wurden weggelassen."));
    RegisterDefaultText(QStringLiteral("ID_KEINKONTAKTABGELEGT"),
                        QStringLiteral("Die abgelegten Daten enthalten keinen Kontakt."));
    RegisterDefaultText(QStringLiteral("ID_ABGELEGTGEKUERZT"),
                        QStringLiteral("Der abgelegte Kontakt ist umfangreicher, als eine Visitenkartendatei "
                                       "fassen kann: Die letzten %d der %d Zeilen für Telefon, Fax und E-Mail "
                                       "wurden weggelassen."));
    RegisterDefaultText(QStringLiteral("ID_KONTAKTNUMMER"),
                        QStringLiteral("Die Datei \"%s\" hat keinen %d. Kontakt; ihre Kontakte sind von 1 bis %d "
                                       "gezählt."));
}

bool ImportContactFile(TDocument &document, const QString &path)
{
    const TContactsRead read = ReadContactFile(path);
    if (!read.Error.isEmpty()) {
        ShowMessageBox(TMsgDlgType::Error, read.Error);
        return false;
    }
    return ImportChosenContact(document, read.Contacts, path);
}

bool ImportContactData(TDocument &document, const QByteArray &vcards)
{
    const QList<TContact> contacts =
        vcards.size() <= MaxFileSize ? ReadVCards(vcards, LanguageCodePage()) : QList<TContact>();
    if (contacts.isEmpty()) {
        ShowError(QStringLiteral("ID_KEINKONTAKTABGELEGT"), {});
        return false;
    }
    return ImportChosenContact(document, contacts, QString());
}

QString ImportContactAt(TDocument &document, const QString &path, qsizetype index)
{
    const TContactsRead read = ReadContactFile(path);
    if (!read.Error.isEmpty())
        return read.Error;
    if (index < 0 || index >= read.Contacts.size())
        return FormatDefaultText(QStringLiteral("ID_KONTAKTNUMMER"),
                                 {path, qlonglong(index) + 1, qlonglong(read.Contacts.size())});
    PutOnCard(document, read.Contacts.at(index), path);
    return {};
}

bool IsContactFile(const QString &path)
{
    return QMimeDatabase().mimeTypeForFile(path).inherits(QStringLiteral("text/vcard"));
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
