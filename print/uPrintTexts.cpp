#include "print/uPrintTexts.h"

#include "locale/uFormatText.h"
#include "locale/ulocalize.h"
#include "model/uBogenlayout.h"

namespace {

struct TDefaultText
{
    const char *Key;
    const char *Text;
};

constexpr TDefaultText PrintDefaults[] = {
    {"ID_PROGRAMMNAME", "Tessaro"},
    {"ID_DRUCK1", "Bitte legen Sie %d Visitenkartenbogen in den Drucker ein"},
    {"ID_DRUCK2", "Bitte legen Sie die Bögen jetzt so ein, daß die Rückseite bedruckt werden kann und klicken "
                  "dann auf OK."},
    {"ID_DRUCKPOS1", "keine waagrechte Verschiebung"},
    {"ID_DRUCKPOS2", "Ausdruck um %.1f mm nach links verschieben"},
    {"ID_DRUCKPOS3", "Ausdruck um %.1f mm nach rechts verschieben"},
    {"ID_DRUCKPOS4", "keine senkrechte Verschiebung"},
    {"ID_DRUCKPOS5", "Ausdruck um %.1f mm nach oben verschieben"},
    {"ID_DRUCKPOS6", "Ausdruck um %.1f mm nach unten verschieben"},
    {"ID_TESTDRUCK1", "Bitte legen Sie ein normales Blatt in den Drucker ein"},
    {"ID_ANZKARTEN", "entspricht %d Visitenkarten"},
    {"ID_DRUCKFORTSCHRITT", "Bogen %d von %d wird gedruckt"},
    {"ID_PDFDRUCKEN", "In PDF-Datei drucken"},
    {"ID_PDFDATEIEN", "PDF-Dateien"},
    {"ID_PDFKOMMENTAR", "Druckt jeden Bogen als Seite in eine PDF-Datei"},
    {"ID_DRUCKERFEHLT", "Den Drucker \"%s\" gibt es nicht mehr."},
    {"ID_DRUCKERNIMMTNICHTAN", "Der Drucker \"%s\" kann keinen Druckauftrag annehmen."},
    {"ID_DRUCKFEHLGESCHLAGEN", "Der Druckauftrag an \"%s\" ist fehlgeschlagen."},
    {"ID_KEINENEUESEITE", "Der Drucker kann keine neue Seite beginnen."},
    {"ID_PDFNICHTANGELEGT", "Die PDF-Datei kann nicht angelegt werden."},
    {"ID_PDFNICHTSCHREIBBAR", "Die Datei \"%s\" kann nicht geschrieben werden: %s"},
    // The driver and copies texts as designed; the languages say them their way.
    {"ID_KEINTREIBER", "Cannot load printer driver."},
    {"ID_KOPIENIMDRUCK", "Kopien können nicht während eines Druckauftrags gesetzt werden"},
};

} // namespace

void RegisterPrintTexts()
{
    for (const TDefaultText &text : PrintDefaults)
        RegisterSectionDefault(QLatin1String(PrintTextSection), QString::fromUtf8(text.Key),
                               QString::fromUtf8(text.Text));
}

QString PrintText(const QString &key)
{
    return GetSectionText(QLatin1String(PrintTextSection), key);
}

QString FormatPrintText(const QString &key, const QVariantList &args)
{
    return FormatOrKeep(PrintText(key), args);
}

QString CardCountText(const TBogenlayout &sheet, int sheets)
{
    return FormatPrintText(QStringLiteral("ID_ANZKARTEN"), {sheets * sheet.Cards()});
}
