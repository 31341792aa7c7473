#pragma once

#include "model/uBogenkatalog.h"

#include <QGroupBox>

class QComboBox;
class QLabel;
class TBogenDialog;

// The choice of the card sheet on the page "Visitenkartentyp": the sheets
// of the catalogue that hold the card type, the user's own ones, and
// "Eigener Bogen…", which opens the dialog for a sheet of the user's own.
class TBogenwahl : public QGroupBox
{
    Q_OBJECT

public:
    explicit TBogenwahl(QWidget *parent);
    ~TBogenwahl() override;

    // Offers the sheets for the card type with the document's sheet chosen;
    // a sheet the catalogue does not know (read from a card file) is offered
    // first.
    void ShowSheets(int kartentyp, const TBogenlayout &current);
    // After a language switch.
    void TextsChanged();

    const TBogenkatalog &Katalog() const { return FKatalog; }
    // The custom-sheet dialog while it is open.
    TBogenDialog *Dialog() const { return FDialog; }

signals:
    void BogenGewaehlt(const TBogenlayout &sheet);
    // The sheet shown for that card type, chosen or not.
    void BogenGezeigt(int kartentyp, const TBogenlayout &sheet);

private:
    void cbBogenActivated(int index);
    void OpenDialog();
    void Choose(const TBogenlayout &sheet);

    QComboBox *cbBogen;
    QLabel *lblBogen;
    TBogenkatalog FKatalog;
    int FKartentyp = 0;
    TBogenlayout FCurrent;
    TBogenDialog *FDialog = nullptr;
};
