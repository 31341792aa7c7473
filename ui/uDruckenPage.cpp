#include "ui/uDruckenPage.h"

#include "ui/uAccessibleTexts.h"
#include "ui/uElidedLabel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Long printer names are cut in the box, not allowed to widen the page.
constexpr int PrinterNameLength = 16;

QToolButton *MakeSpeedButton(QWidget *parent, const char *name, Qt::ArrowType arrow, const QString &hint)
{
    auto *button = MakeControl<QToolButton>(parent, name);
    button->setAutoRaise(true);
    button->setArrowType(arrow);
    button->setMinimumSize(23, 22);
    NameByHint(button, hint);
    return button;
}

} // namespace

TPrinterGroup::TPrinterGroup(QWidget *parent)
    : QGroupBox(QStringLiteral("Drucker"), parent)
{
    setObjectName(QStringLiteral("gbDrucker"));
    Label3 = MakeControl<QLabel>(this, "Label3", QStringLiteral("&Name:"));
    cbDrucker = MakeControl<QComboBox>(this, "cbDrucker");
    cbDrucker->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbDrucker->setMinimumContentsLength(PrinterNameLength);
    BtnEigenschaften = MakeButton(this, "BtnEigenschaften", QStringLiteral("&Eigenschaften"));
    Label5 = MakeControl<QLabel>(this, "Label5", QStringLiteral("Ort:"));
    lblOrt = new TElidedLabel(TElidedLabel::ElideEnd, this);
    lblOrt->setObjectName(QStringLiteral("lblOrt"));
    Label6 = MakeControl<QLabel>(this, "Label6", QStringLiteral("Kommentar:"));
    lblKommentar = MakeWrappedLabel(this, "lblKommentar");
    // A word longer than the line, such as an address, is cut rather than
    // widening the page; the tool tip has it whole.
    QSizePolicy wrapping(QSizePolicy::Ignored, QSizePolicy::Preferred);
    wrapping.setHeightForWidth(true);
    lblKommentar->setSizePolicy(wrapping);

    auto *fields = new QFormLayout(this);
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->setLabelAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setBuddy(cbDrucker);
    fields->addRow(Label3, cbDrucker);
    fields->addRow(nullptr, BtnEigenschaften);
    fields->setAlignment(BtnEigenschaften, Qt::AlignRight);
    fields->addRow(Label5, lblOrt);
    fields->addRow(Label6, lblKommentar);
}

void TPrinterGroup::ShowDescription(const QString &location, const QString &comment)
{
    lblOrt->SetFullText(location);
    lblKommentar->setText(comment);
    lblKommentar->setToolTip(comment);
}

TCalibrationGroup::TCalibrationGroup(QWidget *parent)
    : QGroupBox(QStringLiteral("Druckposition"), parent)
{
    setObjectName(QStringLiteral("gbDruckbereich"));
    BtnTestseiteDrucken = MakeButton(this, "BtnTestseiteDrucken", QStringLiteral("&Testseite drucken"));
    BtnDruckpositionAnpassen = MakeButton(this, "BtnDruckpositionAnpassen", QStringLiteral("Druck&position anpassen"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BtnTestseiteDrucken);
    buttons->addWidget(BtnDruckpositionAnpassen);

    Offsets = new QWidget(this);
    lblPosX = MakeWrappedLabel(Offsets, "lblPosX");
    lblPosY = MakeWrappedLabel(Offsets, "lblPosY");
    BtnDruckPosUp =
        MakeSpeedButton(Offsets, "BtnDruckPosUp", Qt::UpArrow, QStringLiteral("Ausdruck nach oben verschieben"));
    BtnDruckPosLeft =
        MakeSpeedButton(Offsets, "BtnDruckPosLeft", Qt::LeftArrow, QStringLiteral("Ausdruck nach links verschieben"));
    BtnDruckPosCenter =
        MakeSpeedButton(Offsets, "BtnDruckPosCenter", Qt::NoArrow, QStringLiteral("Verschiebung zurücksetzen"));
    BtnDruckPosCenter->setText(QStringLiteral("+"));
    BtnDruckPosRight = MakeSpeedButton(Offsets, "BtnDruckPosRight", Qt::RightArrow,
                                       QStringLiteral("Ausdruck nach rechts verschieben"));
    BtnDruckPosDown =
        MakeSpeedButton(Offsets, "BtnDruckPosDown", Qt::DownArrow, QStringLiteral("Ausdruck nach unten verschieben"));
    auto *texts = new QVBoxLayout;
    texts->addWidget(lblPosX);
    texts->addWidget(lblPosY);
    texts->addStretch(1);
    auto *arrows = new QGridLayout;
    arrows->setSpacing(1);
    arrows->addWidget(BtnDruckPosUp, 0, 1);
    arrows->addWidget(BtnDruckPosLeft, 1, 0);
    arrows->addWidget(BtnDruckPosCenter, 1, 1);
    arrows->addWidget(BtnDruckPosRight, 1, 2);
    arrows->addWidget(BtnDruckPosDown, 2, 1);
    auto *offsets = new QHBoxLayout(Offsets);
    offsets->setContentsMargins(0, 0, 0, 0);
    offsets->addLayout(texts, 1);
    offsets->addLayout(arrows);
    // Only the two buttons show until the calibration is opened.
    Offsets->hide();

    auto *column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(Offsets);
}

bool TCalibrationGroup::IsOpen() const
{
    return !Offsets->isHidden();
}

void TCalibrationGroup::SetOpen(bool open)
{
    Offsets->setVisible(open);
}

TDruckenPage::TDruckenPage()
    : TWizardPage("tsDrucken", "panDrucken")
{
    QWidget *panel = Panel()->Contents();
    gbDrucker = new TPrinterGroup(panel);
    Panel()->AddBox(gbDrucker);

    GroupBox1 = MakeControl<QGroupBox>(panel, "GroupBox1", QStringLiteral("Druckanzahl"));
    Label8 = MakeControl<QLabel>(GroupBox1, "Label8", QStringLiteral("&Anzahl Bögen:"));
    seAnzahl = MakeControl<QSpinBox>(GroupBox1, "seAnzahl");
    seAnzahl->setRange(1, 99);
    seAnzahl->setValue(1);
    labAnzahl = MakeWrappedLabel(GroupBox1, "labAnzahl", QStringLiteral("entspricht %d Visitenkarten"));
    Label8->setBuddy(seAnzahl);
    auto *count = new QHBoxLayout(GroupBox1);
    count->addWidget(Label8);
    count->addWidget(seAnzahl);
    count->addWidget(labAnzahl, 1);
    Panel()->AddBox(GroupBox1);

    gbDruckbereich = new TCalibrationGroup(panel);
    Panel()->AddBox(gbDruckbereich);

    imgWerbungDrucken = Panel()->AddAdvert("imgWerbungDrucken");
}
