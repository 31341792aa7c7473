#pragma once

#include "ui/uWizardPage.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class TBogenlayout;
class TBogenwahl;
class TDrawGrid;
class TElidedLabel;
class TQRCodeGroup;

// The pages on which the card is designed. Each builds its controls and lays
// them out; the main window fills them and reacts to them.

// "Visitenkartentyp": standard or folding card, one- or two-sided.
class TKartentypPage : public TWizardPage
{
    Q_OBJECT

public:
    TKartentypPage();

    // Each card type's size and count per sheet: the sheet's for the type
    // it is used with, the type's preset for the other.
    void ShowCardFormats(int kartentyp, const TBogenlayout &sheet);

    QGroupBox *GroupBox3;
    QRadioButton *rbStandardkarte;
    QLabel *Label7;
    QRadioButton *rbKlappvisitenkarte;
    QLabel *Label4;
    QGroupBox *GroupBox5;
    QRadioButton *rbEinseitig;
    QRadioButton *rbBeidseitig;
    TBogenwahl *gbBogen;
    QLabel *imgWerbungKartentyp;
};

// "Eigene Daten": the texts of the front, the folding card's inner text and
// the front's logo.
class TEigeneDatenPage : public TWizardPage
{
    Q_OBJECT

public:
    TEigeneDatenPage();

    QGroupBox *gbPersDaten;
    QLabel *Label10;
    QLineEdit *edTitel;
    QLabel *laName;
    QLineEdit *edName;
    QLabel *laNachname;
    QLineEdit *edNachname;
    QLabel *laBeruf;
    QPlainTextEdit *meBeruf;
    QLabel *laFirma;
    QLineEdit *edFirma;
    QLabel *laAdresse;
    QPlainTextEdit *meAdresse;
    QLabel *laTele;
    QPlainTextEdit *meTele;
    QGroupBox *gbExtraText;
    QPlainTextEdit *meExtraText;
    QGroupBox *gbFirmendaten;
    QLabel *Label9;
    TElidedLabel *lblLogo;
    QPushButton *BtnFirmenlogo;
    QPushButton *BtnEntfernen;
    QLabel *imgWerbung;
};

// "Rückseite": the texts of the back, the folding card's outer text and the
// back's logo.
class TRueckseitePage : public TWizardPage
{
    Q_OBJECT

public:
    TRueckseitePage();

    QGroupBox *gbRueckseite;
    QLabel *laTextfeld1;
    QPlainTextEdit *meTextfeld1;
    QLabel *laTextfeld2;
    QPlainTextEdit *meTextfeld2;
    QGroupBox *gbExtraTextRueckseite;
    QPlainTextEdit *meExtraTextRueckseite;
    QGroupBox *gbLogoRueckseite;
    QLabel *Label2;
    TElidedLabel *lblLogoRueckseite;
    QPushButton *BtnLogoEinfuegenRueckseite;
    QPushButton *BtnLogoEntfernenRueckseite;
    QLabel *imgWerbungRueckseite;
};

// "Layout": the layout thumbnails, the font, lines and centred back texts.
class TLayoutPage : public TWizardPage
{
    Q_OBJECT

public:
    TLayoutPage();

    // Puts the font box where the page keeps room for it, under its caption
    // and in its place in the tab order.
    void PlaceFontBox(QWidget *fontBox);

    QGroupBox *GroupBox4;
    TDrawGrid *dgLayouts;
    QGroupBox *gbLayoutDetails;
    QLabel *Label1;
    QFrame *shcbFont;
    QCheckBox *chLinien;
    QCheckBox *cbTextZentrierenRueckseite;
    TQRCodeGroup *gbQRCode;
};
