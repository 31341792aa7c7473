#include "ui/uDruckenPage.h"

#include "ui/uAccessibleTexts.h"
#include "ui/uElidedLabel.h"
#include "ui/uNumberBox.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
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

// A correction typed in millimetres. It takes effect on Enter, on leaving the
// field or on a step, not on every key.
QDoubleSpinBox *MakeOffsetField(QWidget *parent, const char *name, const QString &hint)
{
    auto *field = MakeControl<TNumberBox>(parent, name);
    field->setRange(-TPrintOffsets::Limit, TPrintOffsets::Limit);
    field->setSingleStep(TPrintOffsets::Step);
    field->setDecimals(1);
    field->setSuffix(QStringLiteral(" mm"));
    field->setKeyboardTracking(false);
    field->setToolTip(hint);
    return field;
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
    auto *arrows = new QGridLayout;
    arrows->setSpacing(1);
    arrows->addWidget(BtnDruckPosUp, 0, 1);
    arrows->addWidget(BtnDruckPosLeft, 1, 0);
    arrows->addWidget(BtnDruckPosCenter, 1, 1);
    arrows->addWidget(BtnDruckPosRight, 1, 2);
    arrows->addWidget(BtnDruckPosDown, 2, 1);

    rbDruckPosVorderseite = MakeControl<QRadioButton>(Offsets, "rbDruckPosVorderseite", QStringLiteral("&Vorderseite"));
    rbDruckPosVorderseite->setToolTip(QStringLiteral("Korrektur für die Vorderseiten und für einseitige Karten"));
    rbDruckPosVorderseite->setChecked(true);
    rbDruckPosRueckseite = MakeControl<QRadioButton>(Offsets, "rbDruckPosRueckseite", QStringLiteral("&Rückseite"));
    rbDruckPosRueckseite->setToolTip(QStringLiteral("Korrektur für die Rückseiten beidseitiger Karten"));
    auto *sides = new QHBoxLayout;
    sides->addWidget(rbDruckPosVorderseite);
    sides->addWidget(rbDruckPosRueckseite);
    sides->addStretch(1);
    connect(rbDruckPosRueckseite, &QRadioButton::toggled, this, &TCalibrationGroup::SideChanged);

    laDruckPosX = MakeControl<QLabel>(Offsets, "laDruckPosX", QStringLiteral("&Waagrecht:"));
    seDruckPosX = MakeOffsetField(Offsets, "seDruckPosX",
                                  QStringLiteral("Verschiebung in mm, positiv nach rechts, negativ nach links"));
    laDruckPosX->setBuddy(seDruckPosX);
    laDruckPosY = MakeControl<QLabel>(Offsets, "laDruckPosY", QStringLiteral("Sen&krecht:"));
    seDruckPosY = MakeOffsetField(Offsets, "seDruckPosY",
                                  QStringLiteral("Verschiebung in mm, positiv nach unten, negativ nach oben"));
    laDruckPosY->setBuddy(seDruckPosY);
    auto *fields = new QFormLayout;
    fields->addRow(laDruckPosX, seDruckPosX);
    fields->addRow(laDruckPosY, seDruckPosY);
    for (QDoubleSpinBox *field : {seDruckPosX, seDruckPosY})
        connect(field, &QDoubleSpinBox::valueChanged, this, [this] {
            emit OffsetsTyped(TypedPrintOffsets(seDruckPosX->value(), seDruckPosY->value()));
        });

    // The number fields beside the arrow buttons, the offsets in words above
    // them across the whole width.
    auto *correction = new QHBoxLayout;
    correction->addLayout(fields, 1);
    correction->addLayout(arrows);
    auto *offsets = new QVBoxLayout(Offsets);
    offsets->setContentsMargins(0, 0, 0, 0);
    offsets->addLayout(sides);
    offsets->addLayout(texts);
    offsets->addLayout(correction);
    // Tab follows the reading order: the side, the fields, then the arrows
    // in the column beside them.
    QWidget::setTabOrder(BtnDruckpositionAnpassen, rbDruckPosVorderseite);
    QWidget::setTabOrder(rbDruckPosVorderseite, rbDruckPosRueckseite);
    QWidget::setTabOrder(rbDruckPosRueckseite, seDruckPosX);
    QWidget::setTabOrder(seDruckPosX, seDruckPosY);
    QWidget::setTabOrder(seDruckPosY, BtnDruckPosUp);
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

TPrintSide TCalibrationGroup::Side() const
{
    return rbDruckPosRueckseite->isChecked() ? TPrintSide::Back : TPrintSide::Front;
}

void TCalibrationGroup::ShowOffsets(const TPrintOffsets &offsets, const TPrintOffsetTexts &texts)
{
    lblPosX->setText(texts.X);
    lblPosY->setText(texts.Y);
    const QSignalBlocker blockX(seDruckPosX);
    const QSignalBlocker blockY(seDruckPosY);
    seDruckPosX->setValue(offsets.X);
    seDruckPosY->setValue(offsets.Y);
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
