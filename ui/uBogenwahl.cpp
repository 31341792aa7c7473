#include "ui/uBogenwahl.h"

#include "locale/ulocalize.h"
#include "ui/uBogenDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Item data beside the catalogue's indexes.
constexpr int OwnSheetItem = -2;
constexpr int DocumentSheetItem = -1;

QString EntryText(const TBogenlayout &sheet, bool named)
{
    const QString description = SheetDescription(sheet);
    return named && !sheet.Name.isEmpty() ? sheet.Name + QStringLiteral(" – ") + description : description;
}

} // namespace

TBogenwahl::TBogenwahl(QWidget *parent)
    : QGroupBox(QStringLiteral("Kartenb&ogen"), parent)
{
    setObjectName(QStringLiteral("gbBogen"));
    RegisterSheetTexts();
    RegisterDefaultText(QStringLiteral("ID_EIGENERBOGEN"), QString::fromUtf8("Eigener Bogen…"));
    cbBogen = new QComboBox(this);
    cbBogen->setObjectName(QStringLiteral("cbBogen"));
    cbBogen->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lblBogen = new QLabel(this);
    lblBogen->setObjectName(QStringLiteral("lblBogen"));
    lblBogen->setWordWrap(true);
    auto *column = new QVBoxLayout(this);
    column->addWidget(cbBogen);
    column->addWidget(lblBogen);
    connect(cbBogen, &QComboBox::activated, this, [this](int index) { cbBogenActivated(index); });
    ShowSheets(FKartentyp, FCurrent);
}

TBogenwahl::~TBogenwahl() = default;

void TBogenwahl::ShowSheets(int kartentyp, const TBogenlayout &current)
{
    FKartentyp = kartentyp;
    FCurrent = current;
    const QSignalBlocker quiet(cbBogen);
    cbBogen->clear();
    if (FKatalog.IndexOf(current, kartentyp) < 0)
        cbBogen->addItem(EntryText(current, true), DocumentSheetItem);
    const QList<TBogenEintrag> &sheets = FKatalog.Sheets();
    for (qsizetype i = 0; i < sheets.size(); ++i)
        if (sheets.at(i).Kartentyp == kartentyp)
            cbBogen->addItem(EntryText(sheets.at(i).Bogen, sheets.at(i).Eigener), int(i));
    cbBogen->addItem(GetDefaultText(QStringLiteral("ID_EIGENERBOGEN")), OwnSheetItem);
    const int index = FKatalog.IndexOf(current, kartentyp);
    cbBogen->setCurrentIndex(std::max(0, cbBogen->findData(index < 0 ? DocumentSheetItem : index)));
    // The entry may be wider than the page.
    cbBogen->setToolTip(cbBogen->currentText());
    lblBogen->setText(SheetDetails(current));
    emit BogenGezeigt(kartentyp, current);
}

void TBogenwahl::TextsChanged()
{
    ShowSheets(FKartentyp, FCurrent);
}

void TBogenwahl::cbBogenActivated(int index)
{
    const int item = cbBogen->itemData(index).toInt();
    if (item == OwnSheetItem)
        OpenDialog();
    else if (item >= 0)
        Choose(FKatalog.Sheets().at(item).Bogen);
}

void TBogenwahl::Choose(const TBogenlayout &sheet)
{
    ShowSheets(FKartentyp, sheet);
    emit BogenGewaehlt(sheet);
}

void TBogenwahl::OpenDialog()
{
    // The dialog starts from the sheet in use; until it closes, the choice
    // shows that sheet again.
    ShowSheets(FKartentyp, FCurrent);
    const bool custom = FKatalog.IndexOfCustom(FCurrent.Name) >= 0;
    TBogenlayout start = FCurrent;
    if (!custom)
        start.Name.clear();
    QStringList names;
    for (const TBogenEintrag &entry : FKatalog.Sheets())
        if (entry.Eigener)
            names.append(entry.Bogen.Name);
    FDialog = new TBogenDialog(start, names, window());
    FDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(FDialog, &QDialog::accepted, this, [this] {
        TBogenEintrag entry;
        entry.Bogen = FDialog->Bogen();
        entry.Kartentyp = FKartentyp;
        FKatalog.SaveCustom(entry);
        Choose(entry.Bogen);
    });
    connect(FDialog, &TBogenDialog::Loeschen, this, [this](const QString &name) {
        FKatalog.RemoveCustom(name);
        ShowSheets(FKartentyp, FCurrent);
    });
    connect(FDialog, &QObject::destroyed, this, [this] { FDialog = nullptr; });
    FDialog->open();
}
