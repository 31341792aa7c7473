#pragma once

#include <QGroupBox>
#include <QList>
#include <QSizeF>

class QCheckBox;
class QLabel;
class QToolButton;
class TDocument;
class TDruckenPage;
class TMMWindow;
class TScaleCanvas;
struct TPrintCorrection;
enum class TPrintSide;

// The sheet as the printer receives it, page by page: the paper, every
// slot's outline in light grey, and the cards drawn by the print view with
// the printer's print-position correction. Zoomable like the card preview;
// nothing of the paper or the outlines is ever printed.
class TSheetPreview : public QGroupBox
{
    Q_OBJECT

public:
    enum class TPage { Front, Back, Test };

    // Correction is the current printer's, read at every paint: the fronts'
    // for the fronts and the test page, the backs' for the backs.
    TSheetPreview(const TDocument &document, const TPrintCorrection &correction, QWidget *parent);

    // Repaints on every change of the page's printer and correction.
    void Follow(const TDruckenPage &page);
    // After a change of the document: the paper may have changed too.
    void Redraw();
    void TextsChanged();

    // The fronts and, for a two-sided card, the backs; or the test page alone.
    QList<TPage> Pages() const;
    int PageIndex() const { return FPageIndex; }
    void SetPageIndex(int index);
    // The fronts' or the backs' page, when the card has that side.
    void ShowSide(TPrintSide side);
    TPage CurrentPage() const;
    // One page on a canvas whose origin is the paper's top-left corner.
    void DrawPage(TScaleCanvas &canvas, TPage page) const;

    QCheckBox *chTestseite;
    QToolButton *BtnSeiteZurueck;
    QLabel *lblSeite;
    QToolButton *BtnSeiteWeiter;
    TMMWindow *Vorschau;

private:
    void ShowPageLabel();

    const TDocument &FDocument;
    const TPrintCorrection &FCorrection;
    int FPageIndex = 0;
    QSizeF FPaper;
};
