#include "ui/FMaster.h"

#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "render/uScaleCanvasHelp.h"
#include "render/uScaler.h"
#include "support/uFontCombo.h"
#include "render/uTextFit.h"
#include "ui/uCardPages.h"
#include "ui/uDruckenPage.h"
#include "ui/uFitMarks.h"
#include "ui/uPrintPage.h"
#include "ui/uSheetPreview.h"
#include "ui/uCardPreview.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

namespace {

// Characters of a family name the font box shows before cutting it.
constexpr int FontNameLength = 16;

} // namespace

void TMaster::CreateRuntimeControls()
{
    FPreview = new TCardPreview(*FDocument, panVorschau);
    FPreview->setObjectName(QStringLiteral("MMWin"));
    panVorschau->layout()->addWidget(FPreview);
    connect(FPreview, &TMMWindow::OnPaint, this, [this](TScaleCanvas &canvas) { PreviewPaint(canvas); });
    FPreview->SetWorldWidth(85);
    FPreview->SetWorldHeight(55);
    FPreview->SetTemplateWidth(85.0f);
    FPreview->SetTemplateHeight(55.0f);
    FPreview->viewport()->setBackgroundRole(panVorschau->backgroundRole());
    FFitMarks = new TFitMarks(*FPreview);
    // After the page's controls, before the window's buttons.
    setTabOrder(FPreview, BtnZurueck);
    setTabOrder(BtnZurueck, BtnWeiter);

    FFontBox = new TFontComboBox(tsLayout->gbLayoutDetails);
    FFontBox->setObjectName(QStringLiteral("cbFont"));
    // A long family name is cut in the box rather than widening the page.
    FFontBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FFontBox->setMinimumContentsLength(FontNameLength);
    tsLayout->PlaceFontBox(FFontBox);
    connect(FFontBox, &QComboBox::currentIndexChanged, this, [this] { cbSchriftartChange(); });
}

void TMaster::CreateSheetPreview()
{
    FSheetPreview = new TSheetPreview(*FDocument, FPrintPage->Correction(), tsDrucken);
    FSheetPreview->Follow(*tsDrucken);
    FSheetPreview->setMinimumWidth(panContainerVorschau->minimumWidth());
    tsDrucken->TakePreview(FSheetPreview);
    // Read after the page's groups, where the card preview stands elsewhere.
    setTabOrder(FPreview, FSheetPreview->BtnSeiteZurueck);
    setTabOrder(FSheetPreview->BtnSeiteZurueck, FSheetPreview->BtnSeiteWeiter);
    setTabOrder(FSheetPreview->BtnSeiteWeiter, FSheetPreview->chTestseite);
    setTabOrder(FSheetPreview->chTestseite, BtnZurueck);
}

void TMaster::DocumentChanged()
{
    if (FCardDataSaver)
        FCardDataSaver->Changed();
    setWindowModified(FDocument->Modified());
}

void TMaster::RedrawPreviews()
{
    DocumentChanged();
    tsLayout->dgLayouts->viewport()->update();
    FPreview->viewport()->update();
    if (FSheetPreview)
        FSheetPreview->Redraw();
    FPreview->CardChanged();
}

void TMaster::PreviewPaint(TScaleCanvas &canvas)
{
    const QPixmap logo = imgOrnak->pixmap();
    if (!logo.isNull())
        canvas.Canvas().drawPixmap(FPreview->viewport()->width() - logo.width() - 10, 10, logo);

    FFitMarks->Clear();
    const TKartenlayout &layout = FDocument->Kartenlayout();
    const QList<TTextFit> fits = FitCard(*FDocument, layout);
    const TBogenlayout &sheet = FDocument->Bogenlayout();
    const bool rotated = IsLayoutRotated(layout, sheet);
    const auto drawSide = [&](bool back) {
        FMainView->DrawSide(canvas, *FDocument, back);
        FFitMarks->Draw(canvas, fits, back);
        if (LayoutDropsLogo(*FDocument, layout, back))
            FFitMarks->DrawDroppedLogo(canvas, rotated ? sheet.CardHeight : sheet.CardWidth,
                                       rotated ? sheet.CardWidth : sheet.CardHeight, back);
    };
    drawSide(false);
    if (!FDocument->MitRueckseite())
        return;
    DrawSideLabel(canvas, QStringLiteral("Vorderseite"), rotated);

    // The back stands a tenth of a card beside or below the front.
    if (rotated)
        canvas.SetOffsetX(sheet.CardHeight * 1.1f);
    else
        canvas.SetOffsetY(sheet.CardHeight * 1.1f);
    drawSide(true);
    DrawInnerFrames(canvas, rotated);
    DrawSideLabel(canvas, QStringLiteral("Rückseite"), rotated);
}

void TMaster::DrawSideLabel(TScaleCanvas &canvas, const QString &key, bool rotated)
{
    // The caption's grey is the caption's only: the card texts after it are black.
    const QColor cardTexts = canvas.FontColor();
    QFont captionFont = font();
    captionFont.setFamily(QStringLiteral("Arial"));
    canvas.SetFont(captionFont);
    canvas.SetFontColor(QColor(128, 128, 128));
    canvas.SetBrushStyle(Qt::NoBrush);
    const TBogenlayout &sheet = FDocument->Bogenlayout();
    const float across = rotated ? sheet.CardHeight : sheet.CardWidth;
    const float down = rotated ? sheet.CardWidth : sheet.CardHeight;
    TextOutAligned(canvas, GetText(key), across / 2, down + 0.5f, 1, 0);
    canvas.SetFontColor(cardTexts);
}

void TMaster::DrawInnerFrames(TScaleCanvas &canvas, bool rotated)
{
    const TBogenlayout &sheet = FDocument->Bogenlayout();
    QPainter &painter = canvas.Canvas();
    painter.save();
    painter.setPen(QPen(QColor(224, 224, 224), 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    const float corner = canvas.MMToLength(2.0f) / 2.0f;
    // A frame 6 mm inside the short edges and 5 mm inside the long ones of a
    // face; a folding card has one per half, the fold being a short edge.
    auto frame = [&](float from, float to) {
        const QRect face = rotated ? canvas.MMRectToDevice(5, from + 6, sheet.CardHeight - 5, to - 6)
                                   : canvas.MMRectToDevice(from + 6, 5, to - 6, sheet.CardHeight - 5);
        painter.drawRoundedRect(face, corner, corner);
    };
    if (FDocument->Kartentyp() == TDocument::Klappkarte) {
        frame(0, sheet.CardWidth / 2);
        frame(sheet.CardWidth / 2, sheet.CardWidth);
    } else {
        frame(0, sheet.CardWidth);
    }
    painter.restore();
}
