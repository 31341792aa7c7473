#include "ui/uCardPages.h"

#include "locale/ulocalize.h"
#include "model/uBogenkatalog.h"
#include "model/uDocument.h"
#include "ui/uBogenwahl.h"
#include "ui/uDrawGrid.h"
#include "ui/uElidedLabel.h"
#include "ui/uQRCodeGroup.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int ThumbnailSize = 145;

// Captions and their fields in two columns; the fields take the width. Each
// caption names its field and its mnemonic leads there.
QGridLayout *MakeFields(QGroupBox *box, std::initializer_list<std::pair<QLabel *, QWidget *>> rows)
{
    auto *fields = new QGridLayout(box);
    int row = 0;
    for (const auto &[label, field] : rows) {
        // A caption stands beside a one-line field, and at the top of a memo.
        const bool memo = qobject_cast<QPlainTextEdit *>(field);
        label->setBuddy(field);
        fields->addWidget(label, row, 0, memo ? Qt::AlignTop : Qt::AlignVCenter);
        fields->addWidget(field, row++, 1);
    }
    fields->setColumnStretch(1, 1);
    fields->setVerticalSpacing(4);
    return fields;
}

// A box holding one memo; only a folding card shows it.
QGroupBox *MakeExtraTextBox(QWidget *parent, const char *name, const QString &title, const char *memoName,
                            QPlainTextEdit *&memo)
{
    auto *box = MakeControl<QGroupBox>(parent, name, title);
    memo = MakeMemo(box, memoName, 4);
    (new QVBoxLayout(box))->addWidget(memo);
    box->hide();
    return box;
}

// The logo box of a card face: caption and file name, below them the insert
// and remove buttons.
struct TLogoBox
{
    QGroupBox *Box;
    QLabel *Caption;
    TElidedLabel *File;
    QPushButton *Insert;
    QPushButton *Remove;
};

TLogoBox MakeLogoBox(QWidget *parent, const char *boxName, const char *captionName, const char *fileName,
                     const char *insertName, const char *removeName)
{
    TLogoBox logo;
    logo.Box = MakeControl<QGroupBox>(parent, boxName, QStringLiteral("Logo"));
    logo.Caption = MakeControl<QLabel>(logo.Box, captionName, QStringLiteral("Firmenlogo:"));
    logo.File = new TElidedLabel(TElidedLabel::ElidePath, logo.Box);
    logo.File->setObjectName(QLatin1String(fileName));
    logo.Insert = MakeButton(logo.Box, insertName, QStringLiteral("&Einfügen"));
    logo.Remove = MakeButton(logo.Box, removeName, QStringLiteral("Entfe&rnen"));
    logo.Remove->setEnabled(false);
    auto *grid = new QGridLayout(logo.Box);
    grid->addWidget(logo.Caption, 0, 0);
    grid->addWidget(logo.File, 0, 1);
    grid->setColumnStretch(1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(logo.Insert);
    buttons->addWidget(logo.Remove);
    grid->addLayout(buttons, 1, 0, 1, 2);
    return logo;
}

} // namespace

TKartentypPage::TKartentypPage()
    : TWizardPage("tsVisitenkartentyp", "panVisitenkartentyp")
{
    QWidget *panel = Panel()->Contents();
    GroupBox3 = MakeControl<QGroupBox>(panel, "GroupBox3", QStringLiteral("Kartentyp"));
    rbStandardkarte = MakeControl<QRadioButton>(GroupBox3, "rbStandardkarte", QStringLiteral("S&tandardkarte"));
    Label7 = MakeWrappedLabel(GroupBox3, "Label7", QStringLiteral("85 x 55 mm, 10 Karten pro Bogen"));
    rbKlappvisitenkarte =
        MakeControl<QRadioButton>(GroupBox3, "rbKlappvisitenkarte", QStringLiteral("&Klappvisitenkarte"));
    Label4 = MakeWrappedLabel(GroupBox3, "Label4", QStringLiteral("170 x 55 mm gefalzt, 5 Karten pro Bogen"));
    rbStandardkarte->setChecked(true);
    auto *types = new QGridLayout(GroupBox3);
    types->addWidget(rbStandardkarte, 0, 0, 1, 2);
    types->addWidget(Label7, 1, 1);
    types->addWidget(rbKlappvisitenkarte, 2, 0, 1, 2);
    types->addWidget(Label4, 3, 1);
    types->setColumnMinimumWidth(0, 12);
    types->setColumnStretch(1, 1);
    Panel()->AddBox(GroupBox3);

    GroupBox5 = MakeControl<QGroupBox>(panel, "GroupBox5", QStringLiteral("Drucklayout"));
    rbEinseitig = MakeControl<QRadioButton>(GroupBox5, "rbEinseitig", QStringLiteral("&Einseitig"));
    rbBeidseitig = MakeControl<QRadioButton>(GroupBox5, "rbBeidseitig", QStringLiteral("&Beidseitig"));
    rbEinseitig->setChecked(true);
    auto *sides = new QVBoxLayout(GroupBox5);
    sides->addWidget(rbEinseitig);
    sides->addWidget(rbBeidseitig);
    Panel()->AddBox(GroupBox5);

    gbBogen = new TBogenwahl(panel);
    Panel()->AddBox(gbBogen);
    RegisterDefaultText(QStringLiteral("ID_KARTENFORMAT"), QStringLiteral("%s x %s mm, %d Karten pro Bogen"));
    RegisterDefaultText(QStringLiteral("ID_KLAPPKARTENFORMAT"),
                        QStringLiteral("%s x %s mm gefalzt, %d Karten pro Bogen"));
    connect(gbBogen, &TBogenwahl::BogenGezeigt, this, &TKartentypPage::ShowCardFormats);
    ShowCardFormats(TDocument::Standardkarte, TBogenlayout());

    imgWerbungKartentyp = Panel()->AddAdvert("imgWerbungKartentyp");
}

void TKartentypPage::ShowCardFormats(int kartentyp, const TBogenlayout &sheet)
{
    const auto format = [](const char *key, const TBogenlayout &shown) {
        return FormatDefaultText(QLatin1String(key),
                                 {LengthText(shown.CardWidth), LengthText(shown.CardHeight), shown.Cards()});
    };
    TBogenlayout standard;
    TBogenlayout folding;
    folding.SetFolding();
    (kartentyp == TDocument::Klappkarte ? folding : standard) = sheet;
    Label7->setText(format("ID_KARTENFORMAT", standard));
    Label4->setText(format("ID_KLAPPKARTENFORMAT", folding));
}

TEigeneDatenPage::TEigeneDatenPage()
    : TWizardPage("tsEigeneDaten", "panEigeneDaten")
{
    QWidget *panel = Panel()->Contents();
    gbPersDaten = MakeControl<QGroupBox>(panel, "gbPersDaten", QStringLiteral("Persönliche Daten - Vorderseite"));
    Label10 = MakeControl<TFieldLabel>(gbPersDaten, "Label10", QStringLiteral("&Titel:"));
    edTitel = MakeControl<QLineEdit>(gbPersDaten, "edTitel");
    laName = MakeControl<TFieldLabel>(gbPersDaten, "laName", QStringLiteral("Vor- und &Nachname:"));
    edName = MakeControl<QLineEdit>(gbPersDaten, "edName");
    // Only names whose family name is more than their last word need it.
    laNachname = MakeControl<TFieldLabel>(gbPersDaten, "laNachname", QStringLiteral("Nachna&me (optional):"));
    edNachname = MakeControl<QLineEdit>(gbPersDaten, "edNachname");
    laBeruf = MakeControl<TFieldLabel>(gbPersDaten, "laBeruf", QStringLiteral("&Beruf:"));
    meBeruf = MakeMemo(gbPersDaten, "meBeruf", 3);
    laFirma = MakeControl<TFieldLabel>(gbPersDaten, "laFirma", QStringLiteral("F&irma:"));
    edFirma = MakeControl<QLineEdit>(gbPersDaten, "edFirma");
    laAdresse = MakeControl<TFieldLabel>(gbPersDaten, "laAdresse", QStringLiteral("&Adresse:"));
    meAdresse = MakeMemo(gbPersDaten, "meAdresse", 3);
    laTele = MakeControl<TFieldLabel>(gbPersDaten, "laTele", QStringLiteral("Telefon / &Fax / E-Mail:"));
    meTele = MakeMemo(gbPersDaten, "meTele", 3);
    MakeFields(gbPersDaten,
               {{Label10, edTitel},
                {laName, edName},
                {laNachname, edNachname},
                {laBeruf, meBeruf},
                {laFirma, edFirma},
                {laAdresse, meAdresse},
                {laTele, meTele}});
    Panel()->AddBox(gbPersDaten);

    // A folding card's left half: when folded, the outside at the back.
    gbExtraText = MakeExtraTextBox(panel, "gbExtraText", QStringLiteral("E&xtratext - Außenseite hinten"),
                                   "meExtraText", meExtraText);
    Panel()->AddBox(gbExtraText);

    const TLogoBox logo =
        MakeLogoBox(panel, "gbFirmendaten", "Label9", "lblLogo", "BtnFirmenlogo", "BtnEntfernen");
    gbFirmendaten = logo.Box;
    Label9 = logo.Caption;
    lblLogo = logo.File;
    BtnFirmenlogo = logo.Insert;
    BtnEntfernen = logo.Remove;
    Panel()->AddBox(gbFirmendaten);

    imgWerbung = Panel()->AddAdvert("imgWerbung");
}

TRueckseitePage::TRueckseitePage()
    : TWizardPage("tsRueckseite", "panRueckseite")
{
    QWidget *panel = Panel()->Contents();
    gbRueckseite = MakeControl<QGroupBox>(panel, "gbRueckseite", QStringLiteral("Persönliche Daten - Rückseite"));
    laTextfeld1 = MakeControl<TFieldLabel>(gbRueckseite, "laTextfeld1", QStringLiteral("Textfeld &1:"));
    meTextfeld1 = MakeMemo(gbRueckseite, "meTextfeld1", 5);
    laTextfeld2 = MakeControl<TFieldLabel>(gbRueckseite, "laTextfeld2", QStringLiteral("Textfeld &2:"));
    meTextfeld2 = MakeMemo(gbRueckseite, "meTextfeld2", 5);
    MakeFields(gbRueckseite, {{laTextfeld1, meTextfeld1}, {laTextfeld2, meTextfeld2}});
    Panel()->AddBox(gbRueckseite);

    // The left half of the back lies behind the front's face: inside, left.
    gbExtraTextRueckseite = MakeExtraTextBox(panel, "gbExtraTextRueckseite",
                                             QStringLiteral("E&xtratext - Innenseite links"), "meExtraTextRueckseite",
                                             meExtraTextRueckseite);
    Panel()->AddBox(gbExtraTextRueckseite);

    const TLogoBox logo = MakeLogoBox(panel, "gbLogoRueckseite", "Label2", "lblLogoRueckseite",
                                      "BtnLogoEinfuegenRueckseite", "BtnLogoEntfernenRueckseite");
    gbLogoRueckseite = logo.Box;
    Label2 = logo.Caption;
    lblLogoRueckseite = logo.File;
    BtnLogoEinfuegenRueckseite = logo.Insert;
    BtnLogoEntfernenRueckseite = logo.Remove;
    Panel()->AddBox(gbLogoRueckseite);

    imgWerbungRueckseite = Panel()->AddAdvert("imgWerbungRueckseite");
}

TLayoutPage::TLayoutPage()
    : TWizardPage("tsLayout", "panLayout")
{
    QWidget *panel = Panel()->Contents();
    GroupBox4 = MakeControl<QGroupBox>(panel, "GroupBox4", QStringLiteral("Verfügbare &Layouts"));
    dgLayouts = MakeControl<TDrawGrid>(GroupBox4, "dgLayouts");
    dgLayouts->SetColCount(2);
    dgLayouts->SetDefaultColWidth(ThumbnailSize);
    dgLayouts->SetDefaultRowHeight(ThumbnailSize);
    // One row of thumbnails at least; the grid grows with the window.
    dgLayouts->setMinimumHeight(ThumbnailSize);
    (new QVBoxLayout(GroupBox4))->addWidget(dgLayouts);
    Panel()->AddBox(GroupBox4, 1);

    gbLayoutDetails = MakeControl<QGroupBox>(panel, "gbLayoutDetails", QStringLiteral("Layout Details"));
    Label1 = MakeControl<QLabel>(gbLayoutDetails, "Label1", QStringLiteral("Schrift&art:"));
    // Keeps the font box's place until it is made.
    shcbFont = MakeControl<QFrame>(gbLayoutDetails, "shcbFont");
    shcbFont->setFixedHeight(24);
    shcbFont->hide();
    chLinien = MakeControl<QCheckBox>(gbLayoutDetails, "chLinien", QStringLiteral("L&inien drucken"));
    chLinien->setChecked(true);
    cbTextZentrierenRueckseite = MakeControl<QCheckBox>(gbLayoutDetails, "cbTextZentrierenRueckseite",
                                                        QStringLiteral("Text auf Rückseite &zentrieren"));
    auto *details = new QGridLayout(gbLayoutDetails);
    details->addWidget(Label1, 0, 0);
    details->addWidget(shcbFont, 0, 1);
    details->addWidget(chLinien, 1, 0, 1, 2);
    details->addWidget(cbTextZentrierenRueckseite, 2, 0, 1, 2);
    details->setColumnStretch(1, 1);
    Panel()->AddBox(gbLayoutDetails);

    gbQRCode = new TQRCodeGroup(panel);
    Panel()->AddBox(gbQRCode);
}

void TLayoutPage::PlaceFontBox(QWidget *fontBox)
{
    delete gbLayoutDetails->layout()->replaceWidget(shcbFont, fontBox);
    Label1->setBuddy(fontBox);
    setTabOrder(dgLayouts, fontBox);
}
