#include "ui/FMasterControls.h"

#include "support/uProductPictures.h"
#include "ui/uDrawGrid.h"
#include "ui/uQRCodeGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int BoxLeft = 8;
constexpr int BoxWidth = TMasterControls::PanelWidth - 2 * BoxLeft;
constexpr int LabelWidth = 90;

template <class T>
T *Make(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

template <class T>
T *Make(QWidget *parent, const char *name, const QString &text)
{
    auto *widget = new T(text, parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The left half of a page: group boxes placed by position one below the
// other, and the page's advertising image kept at the bottom.
class TPagePanel : public QWidget
{
public:
    explicit TPagePanel(QWidget *page)
        : QWidget(page)
    {
        setFixedWidth(TMasterControls::PanelWidth);
    }
    QLabel *Advert = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (Advert)
            Advert->move((width() - TMasterControls::AdvertWidth) / 2,
                         height() - TMasterControls::AdvertHeight - BoxLeft);
    }
};

QWidget *MakePage(QTabWidget *tabs, const char *name, const QString &caption)
{
    auto *page = Make<QWidget>(nullptr, name);
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    tabs->addTab(page, caption);
    return page;
}

TPagePanel *MakePanel(QWidget *page, const char *name)
{
    auto *panel = new TPagePanel(page);
    panel->setObjectName(QLatin1String(name));
    page->layout()->addWidget(panel);
    return panel;
}

// A group box of the panel's width at its place in the stack; its height
// follows its contents.
QGroupBox *MakeBox(QWidget *panel, const char *name, const QString &title, int top)
{
    auto *box = Make<QGroupBox>(panel, name, title);
    box->setGeometry(BoxLeft, top, BoxWidth, 40);
    return box;
}

void FitBoxHeight(QGroupBox *box)
{
    box->resize(BoxWidth, box->sizeHint().height());
}

int Below(const QWidget *box)
{
    return box->geometry().bottom() + 1 + 8;
}

QPlainTextEdit *MakeMemo(QWidget *parent, const char *name, int visibleLines)
{
    auto *memo = Make<QPlainTextEdit>(parent, name);
    memo->setTabChangesFocus(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const int margins = 2 * memo->frameWidth() + 2 * int(memo->document()->documentMargin());
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * visibleLines + margins);
    return memo;
}

QLabel *MakeAdvert(TPagePanel *panel, const char *name)
{
    auto *image = Make<QLabel>(panel, name);
    image->resize(TMasterControls::AdvertWidth, TMasterControls::AdvertHeight);
    image->setCursor(Qt::PointingHandCursor);
    image->hide();
    panel->Advert = image;
    return image;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = Make<QPushButton>(parent, name, text);
    button->setAutoDefault(false);
    return button;
}

// A box holding one memo; only a folding card shows it.
QGroupBox *MakeExtraTextBox(QWidget *panel, const char *name, const QString &title, int top, const char *memoName,
                            QPlainTextEdit *&memo)
{
    QGroupBox *box = MakeBox(panel, name, title, top);
    memo = MakeMemo(box, memoName, 4);
    (new QVBoxLayout(box))->addWidget(memo);
    FitBoxHeight(box);
    box->hide();
    return box;
}

// The logo box of a card face: caption, file name, insert and remove buttons.
struct TLogoBox
{
    QGroupBox *Box;
    QLabel *Caption;
    QLabel *File;
    QPushButton *Insert;
    QPushButton *Remove;
};

TLogoBox MakeLogoBox(QWidget *panel, int top, const char *boxName, const char *captionName, const char *fileName,
                     const char *insertName, const char *removeName)
{
    TLogoBox logo;
    logo.Box = MakeBox(panel, boxName, QStringLiteral("Logo"), top);
    logo.Caption = Make<QLabel>(logo.Box, captionName, QStringLiteral("Firmenlogo:"));
    logo.File = Make<QLabel>(logo.Box, fileName);
    logo.File->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    logo.Insert = MakeButton(logo.Box, insertName, QStringLiteral("Einfügen"));
    logo.Remove = MakeButton(logo.Box, removeName, QStringLiteral("Entfernen"));
    logo.Remove->setEnabled(false);
    auto *grid = new QGridLayout(logo.Box);
    grid->addWidget(logo.Caption, 0, 0);
    grid->addWidget(logo.File, 0, 1, 1, 2);
    grid->addWidget(logo.Insert, 1, 1, Qt::AlignRight);
    grid->addWidget(logo.Remove, 1, 2);
    grid->setColumnStretch(1, 1);
    FitBoxHeight(logo.Box);
    return logo;
}

QToolButton *MakeSpeedButton(QWidget *parent, const char *name, Qt::ArrowType arrow, int left, int top)
{
    auto *button = Make<QToolButton>(parent, name);
    button->setAutoRaise(true);
    button->setArrowType(arrow);
    button->setGeometry(left, top, 23, 22);
    return button;
}

} // namespace

void TMasterControls::CreateControls(QMainWindow *form)
{
    Client = Make<QWidget>(form, "Client");
    form->setCentralWidget(Client);
    bvTop = Make<QFrame>(Client, "bvTop");
    bvTop->setFrameShape(QFrame::HLine);
    bvTop->setFrameShadow(QFrame::Sunken);
    bvTop->setFixedHeight(4);
    pcMain = Make<QTabWidget>(Client, "pcMain");

    CreateKartentypPage();
    CreateEigeneDatenPage();
    CreateRueckseitePage();
    CreateLayoutPage();
    CreateDruckenPage();
    CreatePreviewContainer();

    BtnZurueck = MakeButton(Client, "BtnZurueck", QStringLiteral("<< Zurück"));
    BtnWeiter = MakeButton(Client, "BtnWeiter", QStringLiteral("Weiter >>"));
    BtnZurueck->setFixedSize(ButtonWidth, ButtonHeight);
    BtnWeiter->setFixedSize(ButtonWidth, ButtonHeight);
}

void TMasterControls::CreateKartentypPage()
{
    tsVisitenkartentyp = MakePage(pcMain, "tsVisitenkartentyp", QStringLiteral("Visitenkartentyp"));
    auto *panel = MakePanel(tsVisitenkartentyp, "panVisitenkartentyp");
    panVisitenkartentyp = panel;

    GroupBox3 = MakeBox(panel, "GroupBox3", QStringLiteral("Kartentyp"), 8);
    rbStandardkarte = Make<QRadioButton>(GroupBox3, "rbStandardkarte", QStringLiteral("Standardkarte"));
    Label7 = Make<QLabel>(GroupBox3, "Label7", QStringLiteral("85 x 55 mm, 10 Karten pro Bogen"));
    rbKlappvisitenkarte = Make<QRadioButton>(GroupBox3, "rbKlappvisitenkarte", QStringLiteral("Klappvisitenkarte"));
    Label4 = Make<QLabel>(GroupBox3, "Label4", QStringLiteral("170 x 55 mm gefalzt, 5 Karten pro Bogen"));
    rbStandardkarte->setChecked(true);
    auto *types = new QGridLayout(GroupBox3);
    types->addWidget(rbStandardkarte, 0, 0, 1, 2);
    types->addWidget(Label7, 1, 1);
    types->addWidget(rbKlappvisitenkarte, 2, 0, 1, 2);
    types->addWidget(Label4, 3, 1);
    types->setColumnMinimumWidth(0, 12);
    types->setColumnStretch(1, 1);
    FitBoxHeight(GroupBox3);

    GroupBox5 = MakeBox(panel, "GroupBox5", QStringLiteral("Drucklayout"), Below(GroupBox3));
    rbEinseitig = Make<QRadioButton>(GroupBox5, "rbEinseitig", QStringLiteral("Einseitig"));
    rbBeidseitig = Make<QRadioButton>(GroupBox5, "rbBeidseitig", QStringLiteral("Beidseitig"));
    rbEinseitig->setChecked(true);
    auto *sides = new QVBoxLayout(GroupBox5);
    sides->addWidget(rbEinseitig);
    sides->addWidget(rbBeidseitig);
    FitBoxHeight(GroupBox5);

    imgWerbungKartentyp = MakeAdvert(panel, "imgWerbungKartentyp");
}

void TMasterControls::CreateEigeneDatenPage()
{
    tsEigeneDaten = MakePage(pcMain, "tsEigeneDaten", QStringLiteral("Eigene Daten"));
    auto *panel = MakePanel(tsEigeneDaten, "panEigeneDaten");
    panEigeneDaten = panel;

    gbPersDaten = MakeBox(panel, "gbPersDaten", QStringLiteral("Persönliche Daten - Vorderseite"), 8);
    Label10 = Make<QLabel>(gbPersDaten, "Label10", QStringLiteral("Titel:"));
    edTitel = Make<QLineEdit>(gbPersDaten, "edTitel");
    laName = Make<QLabel>(gbPersDaten, "laName", QStringLiteral("Vor- und Nachname:"));
    edName = Make<QLineEdit>(gbPersDaten, "edName");
    laBeruf = Make<QLabel>(gbPersDaten, "laBeruf", QStringLiteral("Beruf:"));
    meBeruf = MakeMemo(gbPersDaten, "meBeruf", 3);
    laAdresse = Make<QLabel>(gbPersDaten, "laAdresse", QStringLiteral("Adresse:"));
    meAdresse = MakeMemo(gbPersDaten, "meAdresse", 3);
    laTele = Make<QLabel>(gbPersDaten, "laTele", QStringLiteral("Telefon / Fax / E-Mail:"));
    laTele->setWordWrap(true);
    meTele = MakeMemo(gbPersDaten, "meTele", 3);
    auto *fields = new QGridLayout(gbPersDaten);
    int row = 0;
    for (auto [label, field] : {std::pair<QLabel *, QWidget *>{Label10, edTitel}, {laName, edName},
                                {laBeruf, meBeruf}, {laAdresse, meAdresse}, {laTele, meTele}}) {
        label->setWordWrap(true);
        label->setFixedWidth(LabelWidth);
        fields->addWidget(label, row, 0, Qt::AlignTop);
        fields->addWidget(field, row++, 1);
    }
    fields->setColumnStretch(1, 1);
    fields->setVerticalSpacing(4);
    FitBoxHeight(gbPersDaten);

    gbExtraText = MakeExtraTextBox(panel, "gbExtraText", QStringLiteral("ExtraText"), Below(gbPersDaten), "meExtraText",
                                   meExtraText);
    const TLogoBox logo = MakeLogoBox(panel, Below(gbExtraText), "gbFirmendaten", "Label9", "lblLogo", "BtnFirmenlogo",
                                      "BtnEntfernen");
    gbFirmendaten = logo.Box;
    Label9 = logo.Caption;
    lblLogo = logo.File;
    BtnFirmenlogo = logo.Insert;
    BtnEntfernen = logo.Remove;

    imgWerbung = MakeAdvert(panel, "imgWerbung");
}

void TMasterControls::CreateRueckseitePage()
{
    tsRueckseite = MakePage(pcMain, "tsRueckseite", QStringLiteral("Rückseite"));
    auto *panel = MakePanel(tsRueckseite, "panRueckseite");
    panRueckseite = panel;

    gbRueckseite = MakeBox(panel, "gbRueckseite", QStringLiteral("Persönliche Daten - Rückseite"), 8);
    laTextfeld1 = Make<QLabel>(gbRueckseite, "laTextfeld1", QStringLiteral("Textfeld 1:"));
    meTextfeld1 = MakeMemo(gbRueckseite, "meTextfeld1", 5);
    laTextfeld2 = Make<QLabel>(gbRueckseite, "laTextfeld2", QStringLiteral("Textfeld 2:"));
    meTextfeld2 = MakeMemo(gbRueckseite, "meTextfeld2", 5);
    auto *fields = new QGridLayout(gbRueckseite);
    fields->addWidget(laTextfeld1, 0, 0, Qt::AlignTop);
    fields->addWidget(meTextfeld1, 0, 1);
    fields->addWidget(laTextfeld2, 1, 0, Qt::AlignTop);
    fields->addWidget(meTextfeld2, 1, 1);
    FitBoxHeight(gbRueckseite);

    gbExtraTextRueckseite = MakeExtraTextBox(panel, "gbExtraTextRueckseite", QStringLiteral("ExtraText - Außenseite"),
                                             Below(gbRueckseite), "meExtraTextRueckseite", meExtraTextRueckseite);
    const TLogoBox logo = MakeLogoBox(panel, Below(gbExtraTextRueckseite), "gbLogoRueckseite", "Label2",
                                      "lblLogoRueckseite", "BtnLogoEinfuegenRueckseite", "BtnLogoEntfernenRueckseite");
    gbLogoRueckseite = logo.Box;
    Label2 = logo.Caption;
    lblLogoRueckseite = logo.File;
    BtnLogoEinfuegenRueckseite = logo.Insert;
    BtnLogoEntfernenRueckseite = logo.Remove;

    imgWerbungRueckseite = MakeAdvert(panel, "imgWerbungRueckseite");
}

void TMasterControls::CreateLayoutPage()
{
    tsLayout = MakePage(pcMain, "tsLayout", QStringLiteral("Layout"));
    panLayout = Make<QWidget>(tsLayout, "panLayout");
    panLayout->setFixedWidth(PanelWidth);
    tsLayout->layout()->addWidget(panLayout);
    auto *column = new QVBoxLayout(panLayout);
    column->setContentsMargins(BoxLeft, BoxLeft, BoxLeft, BoxLeft);
    column->setSpacing(8);

    GroupBox4 = Make<QGroupBox>(panLayout, "GroupBox4", QStringLiteral("Verfügbare Layouts"));
    dgLayouts = Make<TDrawGrid>(GroupBox4, "dgLayouts");
    dgLayouts->SetColCount(2);
    dgLayouts->SetDefaultColWidth(145);
    dgLayouts->SetDefaultRowHeight(145);
    (new QVBoxLayout(GroupBox4))->addWidget(dgLayouts);
    column->addWidget(GroupBox4, 1);

    gbLayoutDetails = Make<QGroupBox>(panLayout, "gbLayoutDetails", QStringLiteral("Layout Details"));
    Label1 = Make<QLabel>(gbLayoutDetails, "Label1", QStringLiteral("Schriftart:"));
    shcbFont = Make<QFrame>(gbLayoutDetails, "shcbFont");
    shcbFont->setFixedHeight(24);
    shcbFont->hide();
    chLinien = Make<QCheckBox>(gbLayoutDetails, "chLinien", QStringLiteral("Linien drucken"));
    chLinien->setChecked(true);
    cbTextZentrierenRueckseite = Make<QCheckBox>(gbLayoutDetails, "cbTextZentrierenRueckseite",
                                                 QStringLiteral("Text auf Rückseite zentrieren"));
    auto *details = new QGridLayout(gbLayoutDetails);
    details->addWidget(Label1, 0, 0);
    details->addWidget(shcbFont, 0, 1);
    details->addWidget(chLinien, 1, 0, 1, 2);
    details->addWidget(cbTextZentrierenRueckseite, 2, 0, 1, 2);
    details->setColumnStretch(1, 1);
    column->addWidget(gbLayoutDetails);

    gbQRCode = new TQRCodeGroup(panLayout);
    column->addWidget(gbQRCode);
}

void TMasterControls::CreateDruckenPage()
{
    tsDrucken = MakePage(pcMain, "tsDrucken", QStringLiteral("Drucken"));
    auto *panel = MakePanel(tsDrucken, "panDrucken");
    panDrucken = panel;

    gbDrucker = MakeBox(panel, "gbDrucker", QStringLiteral("Drucker"), 8);
    Label3 = Make<QLabel>(gbDrucker, "Label3", QStringLiteral("Name:"));
    cbDrucker = Make<QComboBox>(gbDrucker, "cbDrucker");
    BtnEigenschaften = MakeButton(gbDrucker, "BtnEigenschaften", QStringLiteral("&Eigenschaften"));
    Label5 = Make<QLabel>(gbDrucker, "Label5", QStringLiteral("Ort:"));
    lblOrt = Make<QLabel>(gbDrucker, "lblOrt");
    Label6 = Make<QLabel>(gbDrucker, "Label6", QStringLiteral("Kommentar:"));
    lblKommentar = Make<QLabel>(gbDrucker, "lblKommentar");
    auto *printer = new QGridLayout(gbDrucker);
    printer->addWidget(Label3, 0, 0);
    printer->addWidget(cbDrucker, 0, 1);
    printer->addWidget(BtnEigenschaften, 1, 1, Qt::AlignRight);
    printer->addWidget(Label5, 2, 0);
    printer->addWidget(lblOrt, 2, 1);
    printer->addWidget(Label6, 3, 0);
    printer->addWidget(lblKommentar, 3, 1);
    printer->setColumnStretch(1, 1);
    FitBoxHeight(gbDrucker);

    GroupBox1 = MakeBox(panel, "GroupBox1", QStringLiteral("Druckanzahl"), Below(gbDrucker));
    Label8 = Make<QLabel>(GroupBox1, "Label8", QStringLiteral("Anzahl Bögen:"));
    seAnzahl = Make<QSpinBox>(GroupBox1, "seAnzahl");
    seAnzahl->setRange(1, 99);
    seAnzahl->setValue(1);
    labAnzahl = Make<QLabel>(GroupBox1, "labAnzahl", QStringLiteral("entspricht %d Visitenkarten"));
    auto *count = new QGridLayout(GroupBox1);
    count->addWidget(Label8, 0, 0);
    count->addWidget(seAnzahl, 0, 1);
    count->addWidget(labAnzahl, 0, 2);
    count->setColumnStretch(2, 1);
    FitBoxHeight(GroupBox1);

    // Only the two buttons show until the calibration opens the box to full height.
    gbDruckbereich = MakeBox(panel, "gbDruckbereich", QStringLiteral("Druckposition"), Below(GroupBox1));
    gbDruckbereich->resize(BoxWidth, CalibrationClosedHeight);
    BtnTestseiteDrucken = MakeButton(gbDruckbereich, "BtnTestseiteDrucken", QStringLiteral("Testseite drucken"));
    BtnTestseiteDrucken->setGeometry(10, 24, 160, ButtonHeight);
    BtnDruckpositionAnpassen = MakeButton(gbDruckbereich, "BtnDruckpositionAnpassen",
                                          QStringLiteral("Druckposition anpassen"));
    BtnDruckpositionAnpassen->setGeometry(180, 24, 164, ButtonHeight);
    lblPosX = Make<QLabel>(gbDruckbereich, "lblPosX");
    lblPosX->setGeometry(10, 64, 230, 20);
    lblPosY = Make<QLabel>(gbDruckbereich, "lblPosY");
    lblPosY->setGeometry(10, 88, 230, 20);
    BtnDruckPosUp = MakeSpeedButton(gbDruckbereich, "BtnDruckPosUp", Qt::UpArrow, 282, 64);
    BtnDruckPosLeft = MakeSpeedButton(gbDruckbereich, "BtnDruckPosLeft", Qt::LeftArrow, 258, 88);
    BtnDruckPosCenter = MakeSpeedButton(gbDruckbereich, "BtnDruckPosCenter", Qt::NoArrow, 282, 88);
    BtnDruckPosCenter->setText(QStringLiteral("+"));
    BtnDruckPosRight = MakeSpeedButton(gbDruckbereich, "BtnDruckPosRight", Qt::RightArrow, 306, 88);
    BtnDruckPosDown = MakeSpeedButton(gbDruckbereich, "BtnDruckPosDown", Qt::DownArrow, 282, 112);

    imgWerbungDrucken = MakeAdvert(panel, "imgWerbungDrucken");
}

void TMasterControls::CreatePreviewContainer()
{
    panContainerVorschau = Make<QWidget>(tsEigeneDaten, "panContainerVorschau");
    auto *frame = new QVBoxLayout(panContainerVorschau);
    frame->setContentsMargins(0, 8, 8, 8);
    panVorschau = Make<QFrame>(panContainerVorschau, "panVorschau");
    panVorschau->setFrameShape(QFrame::StyledPanel);
    panVorschau->setFrameShadow(QFrame::Sunken);
    frame->addWidget(panVorschau);
    (new QVBoxLayout(panVorschau))->setContentsMargins(1, 1, 1, 1);
    // Holds the maker's logo that the preview paints in its corner.
    imgOrnak = Make<QLabel>(panVorschau, "imgOrnak");
    const QImage logo = LoadProductPicture(MakerLogoName);
    if (!logo.isNull())
        imgOrnak->setPixmap(QPixmap::fromImage(logo.scaledToWidth(120, Qt::SmoothTransformation)));
    imgOrnak->hide();
}
