#pragma once

#include "print/uPrintOffsets.h"
#include "ui/uWizardPage.h"

#include <QGroupBox>

class QComboBox;
class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;
class QToolButton;
class TElidedLabel;

// The group "Drucker": the printer, its properties, location and comment.
class TPrinterGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TPrinterGroup(QWidget *parent);

    // The location is a name and is cut short; the comment is a sentence
    // and wraps. Both can be read whole as tool tips.
    void ShowDescription(const QString &location, const QString &comment);

    QLabel *Label3;
    QComboBox *cbDrucker;
    QPushButton *BtnEigenschaften;
    QLabel *Label5;
    TElidedLabel *lblOrt;
    QLabel *Label6;
    QLabel *lblKommentar;
};

// The group "Druckposition": the test page, and the print-position
// calibration that opens below its two buttons, for the fronts or the backs.
class TCalibrationGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TCalibrationGroup(QWidget *parent);

    bool IsOpen() const;
    // Shows or hides the switch, the offset texts, the arrow buttons and the number fields.
    void SetOpen(bool open);

    // The pass the arrow buttons and the number fields correct.
    TPrintSide Side() const;
    // The chosen pass's offsets in words and in the number fields.
    void ShowOffsets(const TPrintOffsets &offsets, const TPrintOffsetTexts &texts);

signals:
    void SideChanged();
    // A value typed or stepped in a number field: both fields' values, in
    // whole steps and within the limits.
    void OffsetsTyped(const TPrintOffsets &offsets);

public:
    QPushButton *BtnTestseiteDrucken;
    QPushButton *BtnDruckpositionAnpassen;
    QWidget *Offsets;
    QLabel *lblPosX;
    QLabel *lblPosY;
    QToolButton *BtnDruckPosUp;
    QToolButton *BtnDruckPosDown;
    QToolButton *BtnDruckPosLeft;
    QToolButton *BtnDruckPosRight;
    QToolButton *BtnDruckPosCenter;
    QRadioButton *rbDruckPosVorderseite;
    QRadioButton *rbDruckPosRueckseite;
    QLabel *laDruckPosX;
    QDoubleSpinBox *seDruckPosX;
    QLabel *laDruckPosY;
    QDoubleSpinBox *seDruckPosY;
};

// "Drucken": printer, number of sheets and print position.
class TDruckenPage : public TWizardPage
{
    Q_OBJECT

public:
    TDruckenPage();

    TPrinterGroup *gbDrucker;
    QGroupBox *GroupBox1;
    QLabel *Label8;
    QSpinBox *seAnzahl;
    QLabel *labAnzahl;
    TCalibrationGroup *gbDruckbereich;
    QLabel *imgWerbungDrucken;
};
