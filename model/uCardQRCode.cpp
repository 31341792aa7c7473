#include "model/uCardQRCode.h"

#include "model/uCardContact.h"
#include "model/uDocument.h"
#include "model/uMeCard.h"
#include "model/uVCard.h"

bool HasQRCodeData(const TDocument &document)
{
    const TQRCodeSettings &settings = document.QRCode();
    // A contact without a name is nothing a phone could keep.
    if (settings.Inhalt == TQRCodeSettings::TInhalt::VCard)
        return !document.Name().trimmed().isEmpty();
    return !settings.URL.trimmed().isEmpty();
}

QByteArray QRCodeText(const TDocument &document, TQRCodeSettings::TForm form)
{
    if (!HasQRCodeData(document))
        return {};
    const TQRCodeSettings &settings = document.QRCode();
    if (settings.Inhalt == TQRCodeSettings::TInhalt::VCard)
        return form == TQRCodeSettings::TForm::MeCard ? WriteMeCard(ContactOfCard(document))
                                                      : WriteVCard(ContactOfCard(document));
    return WebAddressWithScheme(settings.URL).toUtf8();
}

bool QRCodeOnSide(const TDocument &document, bool back)
{
    const TQRCodeSettings &settings = document.QRCode();
    return settings.Anzeigen && back == (settings.Rueckseite && document.MitRueckseite()) && HasQRCodeData(document);
}
