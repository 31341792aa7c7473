#pragma once

#include "locale/uLocalizerForm.h"
#include "model/uBogenlayout.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TBogenSkizze;

// A card sheet of the user's own: its name and every length of the sheet,
// with a drawing that follows the values and the reason a sheet cannot be
// printed on. OK takes only a sheet that can.
class TBogenDialog : public QDialog, public TLocalizerForm
{
    Q_OBJECT

public:
    // Starts with the values of the sheet; the names are the user's sheets
    // kept so far, which the dialog can delete.
    TBogenDialog(const TBogenlayout &start, const QStringList &customNames, QWidget *parent);
    ~TBogenDialog() override;

    // The sheet as the fields describe it.
    TBogenlayout Bogen() const;
    // Why OK is not possible; empty when it is.
    QString Problem() const;

    void RegisterDefaultTexts() override;
    void TextsChanged() override;

signals:
    // The user deleted the kept sheet of that name; the dialog closes.
    void Loeschen(const QString &name);

private:
    void ShowSheet(const TBogenlayout &sheet);
    void cbPapierChanged();
    void ValuesChanged();

    QLabel *lblName;
    QLineEdit *edName;
    QLabel *lblPapier;
    QComboBox *cbPapier;
    QLabel *lblPapiergroesse;
    QDoubleSpinBox *sePapierBreite;
    QDoubleSpinBox *sePapierHoehe;
    QLabel *lblKarte;
    QDoubleSpinBox *seKarteBreite;
    QDoubleSpinBox *seKarteHoehe;
    QLabel *lblRaster;
    QSpinBox *seSpalten;
    QSpinBox *seZeilen;
    QLabel *lblRand;
    QDoubleSpinBox *seRandLinks;
    QDoubleSpinBox *seRandOben;
    QLabel *lblAbstand;
    QDoubleSpinBox *seAbstandX;
    QDoubleSpinBox *seAbstandY;
    TBogenSkizze *FSkizze;
    QLabel *lblProblem;
    QPushButton *BtnLoeschen;
    QDialogButtonBox *FButtons;
    QStringList FCustomNames;
    bool FShowing = false;
};
