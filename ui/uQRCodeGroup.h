#pragma once

#include "model/uQRCodeSettings.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TDocument;

// The group "QR-Code" of the page "Layout": whether the card shows a QR code,
// with the card's contact (in which form) or a web address, on which side,
// in which corner, how large and with how much error correction. Its controls carry component names, so the window's
// language texts translate them.
class TQRCodeGroup : public QGroupBox
{
    Q_OBJECT

public:
    explicit TQRCodeGroup(QWidget *parent);

    // Shows the document's settings without reporting a change. The back is
    // offered to a two-sided card only; a one-sided card shows its code on
    // the front and keeps the side chosen for the back.
    void ShowDocument(const TDocument &document);
    // Warns when the document's code cannot be made, finds no free corner or
    // will be hard to scan, and tells when an automatic corner took the
    // other side.
    void ShowReadability(const TDocument &document);
    // The settings as the controls show them.
    TQRCodeSettings Settings() const;

signals:
    // A change by the user; Settings() holds it.
    void Changed();

private:
    void Show(const TQRCodeSettings &settings, bool twoSided);
    void UserChange();
    void EnableControls();

    QCheckBox *chQRCodeAnzeigen = nullptr;
    QRadioButton *rbQRCodeVCard = nullptr;
    QRadioButton *rbQRCodeURL = nullptr;
    QLineEdit *edQRCodeURL = nullptr;
    QLabel *lblQRCodeSeite = nullptr;
    QComboBox *cbQRCodeSeite = nullptr;
    QLabel *lblQRCodeEcke = nullptr;
    QComboBox *cbQRCodeEcke = nullptr;
    QLabel *lblQRCodeForm = nullptr;
    QComboBox *cbQRCodeForm = nullptr;
    QLabel *lblQRCodeFehlerkorrektur = nullptr;
    QComboBox *cbQRCodeFehlerkorrektur = nullptr;
    QLabel *lblQRCodeGroesse = nullptr;
    QDoubleSpinBox *seQRCodeGroesse = nullptr;
    QLabel *lblQRCodeHinweis = nullptr;

    TQRCodeSettings FShown;
    bool FTwoSided = false;
    bool FUpdating = false;
};
