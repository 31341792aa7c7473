#include "ui/FMaster.h"

#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "render/uMMWindow.h"
#include "render/uRGBHSL.h"
#include "render/uScaler.h"
#include "render/uTextFit.h"
#include "ui/uAccessibleTexts.h"
#include "ui/uCardPages.h"
#include "ui/uFitMarks.h"
#include "ui/uSheetPreview.h"

#include <QImage>
#include <QPainter>

namespace {

// One face of the document's card as a standard card: a thumbnail shows the
// face in the chosen card size, whatever the card type.
TCardFormat StandardFace(const TDocument &document)
{
    TCardFormat face{document.Bogenlayout(), false};
    if (document.Kartentyp() == TDocument::Klappkarte)
        face.Sheet.CardWidth /= 2;
    return face;
}

// Switches a widget's painting off and, at the end, on again with a repaint.
class TRedrawOff
{
public:
    explicit TRedrawOff(QWidget &widget)
        : FWidget(widget)
    {
        FWidget.setUpdatesEnabled(false);
    }
    ~TRedrawOff()
    {
        FWidget.setUpdatesEnabled(true);
        FWidget.update();
    }
    TRedrawOff(const TRedrawOff &) = delete;
    TRedrawOff &operator=(const TRedrawOff &) = delete;

private:
    QWidget &FWidget;
};

} // namespace

void TMaster::ArrangeLayoutGrid()
{
    TDrawGrid &grid = *tsLayout->dgLayouts;
    grid.SetRowCount(100);
    const int colWidth = std::max(1, grid.ClientWidth() / 2);
    grid.SetDefaultColWidth(colWidth);
    const int count = FDocument->Layouts().Count();
    grid.SetRowCount((count - 1) / 2 + 1);
    const int height = grid.ClientHeight();
    int shown = std::max(1, (height - 1) / colWidth);
    // A grid too low for one square row tries rows a little flatter.
    if (shown == 1 && colWidth > 25)
        shown = std::max(1, (height - 1) / (colWidth - 25));
    shown = std::min(shown, grid.RowCount());
    grid.SetDefaultRowHeight(height / shown);
}

void TMaster::DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridCellState state)
{
    TDrawGrid &grid = *tsLayout->dgLayouts;
    const int p = col + row * grid.ColCount();
    const TKartenlayoutList &layouts = FDocument->Layouts();
    if (p >= layouts.Count()) {
        painter.fillRect(rect, grid.palette().base());
        return;
    }
    const QPalette &colours = grid.palette();
    QColor fill = colours.color(QPalette::Base);
    if (state.Selected)
        fill = state.Focused ? colours.color(QPalette::Highlight) : MixColors(colours.color(QPalette::Highlight), fill);
    QImage bitmap(rect.size(), QImage::Format_RGB888);
    bitmap.fill(fill);
    // Measured on the card as it prints, not on the thumbnail's stand-in face.
    const bool loses = !FitCard(*FDocument, layouts.Items(p)).isEmpty() ||
                       LayoutDropsLogo(*FDocument, layouts.Items(p), false) ||
                       LayoutDropsLogo(*FDocument, layouts.Items(p), true);
    {
        const TCardFormat face = StandardFace(*FDocument);
        QPainter surface(&bitmap);
        TScaleCanvas canvas(surface);
        canvas.SetupForDevice(TScaleDevice::sdScreen);
        const TBogenlayout &sheet = face.Sheet;
        const TKartenlayout &layout = layouts.Items(p);
        const int side = std::min(rect.width(), rect.height());
        // The card's longer side fits the cell, also on a portrait slot.
        const float longer = std::max(sheet.CardWidth, sheet.CardHeight);
        canvas.SetZoom(float(side - 11) / float(canvas.MMToLength(longer)));
        int cardWidth = canvas.MMToLength(sheet.CardWidth);
        int cardHeight = canvas.MMToLength(sheet.CardHeight);
        if (IsLayoutRotated(layout, sheet))
            std::swap(cardWidth, cardHeight);
        canvas.SetScrollX(-((rect.width() - cardWidth) / 2));
        canvas.SetScrollY(-((rect.height() - cardHeight) / 2));
        FMainView->DrawLayoutSide(canvas, *FDocument, face, false, layout);
        if (loses)
            DrawFitWarning(surface, QPoint(rect.width() - 3, 3));
        if (state.Focused) {
            surface.setBrush(Qt::NoBrush);
            surface.setPen(QPen(Qt::black, 1, Qt::DotLine));
            surface.drawRect(QRect(QPoint(0, 0), rect.size()).adjusted(0, 0, -1, -1));
        }
    }
    painter.drawImage(rect.topLeft(), bitmap);
}

bool TMaster::SelectCell(int col, int row)
{
    TDrawGrid &grid = *tsLayout->dgLayouts;
    const int p = col + row * grid.ColCount();
    if (p >= FDocument->Layouts().Count())
        return false;
    const TKartenlayout &chosen = FDocument->Layouts().Items(p);
    // The grid also selects again what the document already shows.
    if (!FUpdating && chosen.Name != FDocument->Kartenlayout().Name)
        FDocument->SetModified(true);
    FDocument->SelectLayout(chosen);
    FitPreview();
    return true;
}

void TMaster::FitPreview()
{
    // Layout, card type, sheet and sides end here.
    DocumentChanged();
    TRedrawOff redraw(*FPreview->viewport());
    const TBogenlayout &sheet = FDocument->Bogenlayout();
    const bool rotated = IsLayoutRotated(FDocument->Kartenlayout(), sheet);
    const float across = rotated ? sheet.CardHeight : sheet.CardWidth;
    const float down = rotated ? sheet.CardWidth : sheet.CardHeight;
    // Two-sided: room for the back 1.1 card heights away and the side captions.
    const bool twoSided = FDocument->MitRueckseite();
    const float worldWidth = twoSided && rotated ? across * 2.15f : across;
    const float worldHeight = twoSided && !rotated ? down * 2.15f : down;
    FPreview->SetWorldWidth(worldWidth);
    FPreview->SetWorldHeight(worldHeight);
    FPreview->SetTemplateWidth(worldWidth);
    FPreview->SetTemplateHeight(worldHeight);
    FPreview->FitAll();
    // The sheet shows the new layout, card type or sides as well.
    if (FSheetPreview)
        FSheetPreview->Redraw();
}

bool TMaster::KeyDown(int key, Qt::KeyboardModifiers)
{
    TDrawGrid &grid = *tsLayout->dgLayouts;
    const int cols = grid.ColCount();
    const int rows = grid.RowCount();
    const int col = grid.Col();
    const int row = grid.Row();
    const int lastCol = (FDocument->Layouts().Count() - 1) % cols;
    // One step to the new cell, through SelectCell so the layout follows; a
    // cell on the way would be applied and announced in vain.
    auto wrap = [&](int toCol, int toRow) {
        TRedrawOff redraw(*grid.viewport());
        grid.SelectCell(toCol, toRow);
        return true;
    };
    if (key == Qt::Key_Left && col == 0 && row > 0)
        return wrap(cols - 1, row - 1);
    if (key == Qt::Key_Right && col == cols - 1 && row < rows - 1)
        return wrap(0, row + 1);
    if (key == Qt::Key_Down && row == rows - 2 && col > lastCol)
        return wrap(lastCol, row + 1); // the cell below is empty: the last layout instead
    return false;
}

QString TMaster::CellText(int col, int row) const
{
    const int p = col + row * tsLayout->dgLayouts->ColCount();
    const TKartenlayoutList &layouts = FDocument->Layouts();
    return p < layouts.Count() ? LayoutCaption(layouts.Items(p), p + 1) : QString();
}

QString TMaster::CellTip(int col, int row) const
{
    const int p = col + row * tsLayout->dgLayouts->ColCount();
    const TKartenlayoutList &layouts = FDocument->Layouts();
    return p < layouts.Count() ? CardFitSentence(*FDocument, layouts.Items(p)) : QString();
}

void TMaster::ApplyLayoutSelection()
{
    TDrawGrid &grid = *tsLayout->dgLayouts;
    SelectCell(grid.Col(), grid.Row());
}

void TMaster::SelectDocumentLayout()
{
    TDrawGrid &grid = *tsLayout->dgLayouts;
    const int p = FDocument->Layouts().IndexOfName(FDocument->Kartenlayout().Name);
    if (p < 0)
        return;
    const int cols = grid.ColCount();
    grid.SetRow(0);
    grid.SetCol(p % cols);
    grid.SetRow(p / cols);
    ApplyLayoutSelection();
}
