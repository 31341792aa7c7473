#include "ui/uSheetPreview.h"

#include "locale/ulocalize.h"
#include "model/uDocument.h"
#include "print/uPrintOffsets.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "ui/uAccessibleTexts.h"
#include "ui/uDruckenPage.h"
#include "ui/uWizardPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QColor PaperEdgeColor(0x80, 0x80, 0x80);
const QColor SlotColor(0xC0, 0xC0, 0xC0);

// A screen reader names the arrow by its hint.
QToolButton *MakeArrow(QWidget *parent, const char *name, Qt::ArrowType arrow, const QString &hint)
{
    auto *button = MakeControl<QToolButton>(parent, name);
    button->setAutoRaise(true);
    button->setArrowType(arrow);
    NameByHint(button, hint);
    return button;
}

} // namespace

TSheetPreview::TSheetPreview(const TDocument &document, const TPrintCorrection &correction, QWidget *parent)
    : QGroupBox(QStringLiteral("Bogenvorschau"), parent), FDocument(document), FCorrection(correction)
{
    setObjectName(QStringLiteral("gbBogenvorschau"));
    RegisterDefaultText(QStringLiteral("ID_BOGENSEITE"), QString::fromUtf8("%s – Seite %d von %d"));
    RegisterDefaultText(QStringLiteral("ID_TESTSEITE"), QStringLiteral("Testseite"));

    chTestseite = MakeControl<QCheckBox>(this, "chTestseite", QStringLiteral("Testseite zeigen"));
    BtnSeiteZurueck = MakeArrow(this, "BtnSeiteZurueck", Qt::LeftArrow, QString::fromUtf8("Vorherige Seite"));
    lblSeite = MakeControl<QLabel>(this, "lblSeite");
    lblSeite->setAlignment(Qt::AlignCenter);
    BtnSeiteWeiter = MakeArrow(this, "BtnSeiteWeiter", Qt::RightArrow, QString::fromUtf8("Nächste Seite"));
    Vorschau = MakeControl<TMMWindow>(this, "BogenMMWin");
    Vorschau->setFocusPolicy(Qt::NoFocus);

    auto *pages = new QHBoxLayout;
    pages->addWidget(BtnSeiteZurueck);
    pages->addWidget(lblSeite, 1);
    pages->addWidget(BtnSeiteWeiter);
    auto *column = new QVBoxLayout(this);
    column->addLayout(pages);
    column->addWidget(Vorschau, 1);
    column->addWidget(chTestseite);

    connect(Vorschau, &TMMWindow::OnPaint, this, [this](TScaleCanvas &canvas) { DrawPage(canvas, CurrentPage()); });
    connect(chTestseite, &QCheckBox::toggled, this, [this] { SetPageIndex(0); });
    connect(BtnSeiteZurueck, &QToolButton::clicked, this, [this] { SetPageIndex(FPageIndex - 1); });
    connect(BtnSeiteWeiter, &QToolButton::clicked, this, [this] { SetPageIndex(FPageIndex + 1); });
    Redraw();
}

void TSheetPreview::Follow(const TDruckenPage &page)
{
    const TCalibrationGroup &calibration = *page.gbDruckbereich;
    for (QToolButton *button : {calibration.BtnDruckPosUp, calibration.BtnDruckPosDown, calibration.BtnDruckPosLeft,
                                calibration.BtnDruckPosRight, calibration.BtnDruckPosCenter})
        connect(button, &QToolButton::clicked, this, [this] { Redraw(); });
    connect(&calibration, &TCalibrationGroup::OffsetsTyped, this, [this] { Redraw(); });
    // The pass being corrected is the one to look at.
    connect(&calibration, &TCalibrationGroup::SideChanged, this,
            [this, &calibration] { ShowSide(calibration.Side()); });
    // The printer's own correction comes with it.
    connect(page.gbDrucker->cbDrucker, &QComboBox::activated, this, [this] { Redraw(); });
}

void TSheetPreview::Redraw()
{
    const TBogenlayout &sheet = FDocument.Bogenlayout();
    const QSizeF paper(sheet.SheetWidth, sheet.SheetHeight);
    if (paper != FPaper) {
        FPaper = paper;
        Vorschau->SetWorldWidth(sheet.SheetWidth);
        Vorschau->SetWorldHeight(sheet.SheetHeight);
        Vorschau->SetTemplateWidth(sheet.SheetWidth);
        Vorschau->SetTemplateHeight(sheet.SheetHeight);
        Vorschau->FitAll();
    }
    // A card that became one-sided has no back page any more.
    SetPageIndex(FPageIndex);
}

void TSheetPreview::TextsChanged()
{
    ShowPageLabel();
}

QList<TSheetPreview::TPage> TSheetPreview::Pages() const
{
    if (chTestseite->isChecked())
        return {TPage::Test};
    if (FDocument.MitRueckseite())
        return {TPage::Front, TPage::Back};
    return {TPage::Front};
}

void TSheetPreview::SetPageIndex(int index)
{
    FPageIndex = std::clamp(index, 0, int(Pages().size()) - 1);
    ShowPageLabel();
    Vorschau->viewport()->update();
}

void TSheetPreview::ShowSide(TPrintSide side)
{
    // The test page carries the fronts' correction and stays for them.
    if (side == TPrintSide::Back) {
        if (!FDocument.MitRueckseite())
            return;
        chTestseite->setChecked(false);
        SetPageIndex(int(Pages().indexOf(TPage::Back)));
    } else if (CurrentPage() == TPage::Back) {
        SetPageIndex(int(Pages().indexOf(TPage::Front)));
    }
}

void TSheetPreview::DrawPage(TScaleCanvas &canvas, TPage page) const
{
    const TBogenlayout &sheet = FDocument.Bogenlayout();
    canvas.SetBrushColor(Qt::white);
    canvas.SetPenColor(PaperEdgeColor);
    canvas.SetPenWidth(0);
    canvas.Rectangle(0, 0, sheet.SheetWidth, sheet.SheetHeight);
    // Where the perforation is, whatever the correction does to the print.
    canvas.SetBrushStyle(Qt::NoBrush);
    canvas.SetPenColor(SlotColor);
    for (int row = 0; row < sheet.Rows; ++row) {
        for (int column = 0; column < sheet.Columns; ++column) {
            const TSinglePoint slot = sheet.SlotOrigin(column, row);
            canvas.Rectangle(slot.X, slot.Y, slot.X + sheet.CardWidth, slot.Y + sheet.CardHeight);
        }
    }
    canvas.SetBrushStyle(Qt::SolidPattern);
    canvas.SetPenColor(Qt::black);

    const TPrintOffsets &offsets = FCorrection.Of(page == TPage::Back ? TPrintSide::Back : TPrintSide::Front);
    canvas.SetOffsetX(canvas.OffsetX() + offsets.X);
    canvas.SetOffsetY(canvas.OffsetY() + offsets.Y);
    // One code for every card of the sheet.
    const TPrintView view(DocumentQRCode(FDocument));
    if (page == TPage::Test)
        view.DrawTestSheet(canvas, FDocument);
    else
        view.DrawSheet(canvas, FDocument, page == TPage::Back);
}

TSheetPreview::TPage TSheetPreview::CurrentPage() const
{
    // The card may have lost its back since the page was chosen.
    const QList<TPage> pages = Pages();
    return pages.at(std::min(FPageIndex, int(pages.size()) - 1));
}

void TSheetPreview::ShowPageLabel()
{
    const QList<TPage> pages = Pages();
    const TPage page = CurrentPage();
    QString side = GetDefaultText(QStringLiteral("ID_TESTSEITE"));
    if (page == TPage::Front)
        side = GetSectionText(QStringLiteral("TMaster"), QStringLiteral("Vorderseite"));
    else if (page == TPage::Back)
        side = GetSectionText(QStringLiteral("TMaster"), QString::fromUtf8("Rückseite"));
    lblSeite->setText(FormatDefaultText(QStringLiteral("ID_BOGENSEITE"), {side, FPageIndex + 1, int(pages.size())}));
    BtnSeiteZurueck->setEnabled(FPageIndex > 0);
    BtnSeiteWeiter->setEnabled(FPageIndex + 1 < pages.size());
}
