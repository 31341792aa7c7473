#pragma once

#include "locale/uLocalizerForm.h"
#include "model/uBogenlayout.h"

#include <QDialog>
#include <QStringList>

#include <array>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TBogenSkizze;
class TNumberBox;

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
    // Why OK is not possible; empty when it is. A field whose text is no
    // number is a reason.
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
    std::array<TNumberBox *, 8> Lengths() const;

    QLabel *lblName;
    QLineEdit *edName;
    QLabel *lblPapier;
    QComboBox *cbPapier;
    QLabel *lblPapiergroesse;
    TNumberBox *sePapierBreite;
    TNumberBox *sePapierHoehe;
    QLabel *lblKarte;
    TNumberBox *seKarteBreite;
    TNumberBox *seKarteHoehe;
    QLabel *lblRaster;
    QSpinBox *seSpalten;
    QSpinBox *seZeilen;
    QLabel *lblRand;
    TNumberBox *seRandLinks;
    TNumberBox *seRandOben;
    QLabel *lblAbstand;
    TNumberBox *seAbstandX;
    TNumberBox *seAbstandY;
    TBogenSkizze *FSkizze;
    QLabel *lblProblem;
    QPushButton *BtnLoeschen;
    QDialogButtonBox *FButtons;
    QStringList FCustomNames;
    bool FShowing = false;
};
