#pragma once

#include "locale/uLocalizerForm.h"
#include "ui/FMasterControls.h"
#include "ui/uCardDataSaver.h"
#include "ui/uCardPreview.h"
#include "ui/uDrawGrid.h"

#include <QEvent>
#include <QMainWindow>

#include <chrono>
#include <memory>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TBogenlayout;
class TDIB;
class TDocument;
class TElidedLabel;
class TFitMarks;
class TFontComboBox;
class TKartenlayout;
class THelpWindow;
class TMainView;
class TLogoDrop;
class TMasterMenu;
class TPrintPage;
class TScaleCanvas;
class TSheetPreview;

// The text without one final CR LF pair.
QString StripTrailingLineBreak(const QString &text);

// The program's main window: a wizard of five pages with a shared card
// preview beside each page. Every edit goes into the document at once and
// redraws the preview and the layout thumbnails; the card data reach the
// settings once the edits pause for `cardDataDelay`, and when it closes.
class TMaster : public QMainWindow, public TLocalizerForm, protected TMasterControls, private TDrawGridDelegate
{
    Q_OBJECT
    // The menu commands act on the window as its own handlers would.
    friend class TMasterMenu;

public:
    // Posted to itself on the first activation; shows the assistant.
    static constexpr QEvent::Type ShowAssistantEvent = QEvent::Type(QEvent::User + 1);

    explicit TMaster(QWidget *parent = nullptr,
                     std::chrono::milliseconds cardDataDelay = TCardDataSaver::DefaultDelay);
    ~TMaster() override;

    TDocument &Document() const { return *FDocument; }
    THelpWindow &Assistant() const { return *FAssistant; }
    TCardPreview &Preview() const { return *FPreview; }

    // Loads a card-data file (errors are reported by the document) and shows it.
    void OpenCardFile(const QString &path);
    // Imports a contact of a vCard file as the menu does, after the save question.
    void ImportContactFile(const QString &path);
    // Closes without the question whether to save to the card's file: the
    // system ends the program (logout, shutdown) and cannot answer.
    void CloseAtRequestToEnd();
    // Fills every control from the document.
    void DocumentToControls();
    void RedrawPreviews();

    void RegisterDefaultTexts() override;
    void TextsChanged() override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The window goes once the card data are stored, or the user gave them
    // up; a card with a file asks first whether its edits go there.
    void closeEvent(QCloseEvent *event) override;

private:
    // FormCreate steps
    void FitOntoScreen();
    void LoadAdvertPictures();
    void CreateRuntimeControls();
    // The sheet as printed, beside the page "Drucken"'s groups.
    void CreateSheetPreview();
    void FillPrinterList();
    void ConnectControls();
    QList<QLabel *> AdvertImages() const;

    // Page flow
    void FormActivate();
    void WMShowAssistant();
    void pcMainChange();
    // The folding card's extra texts, or the advert in their place.
    void ShowFoldingGroups();
    void BtnWeiterClick();
    void BtnZurueckClick();
    int VisibleTabIndex() const;
    void imgWerbungClick();
    // The print job; runs when "Drucken" is pressed on the last page.
    void PrintCards();

    // Editing
    void textchange();
    bool LimitMemoLines(QPlainTextEdit *memo, int key, int limit);
    void rbStandardkarteClick();
    void rbKlappvisitenkarteClick();
    void SetKartentyp(int kartentyp);
    void BogenGewaehlt(const TBogenlayout &sheet);
    void rbEinseitigClick();
    void rbBeidseitigClick();
    void SetTwoSided(bool value);
    void ReloadLayouts();
    void LoadLogo(TDIB &logo);
    // The picture file becomes the logo, as if chosen through its button.
    void InsertLogo(TDIB &logo, const QString &path);
    void ClearLogo(TDIB &logo);
    void ShowLogoName(const TDIB &logo, TElidedLabel *label, QPushButton *remove);
    void chLinienClick();
    void cbTextZentrierenRueckseiteClick();
    void cbSchriftartChange();
    void gbQRCodeChange();

    // Layout chooser
    void ArrangeLayoutGrid();
    // The grid's cells are the layouts' thumbnails; choosing one applies it.
    void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridCellState state) override;
    bool SelectCell(int col, int row) override;
    QString CellText(int col, int row) const override;
    QString CellTip(int col, int row) const override;
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers) override;
    // The preview shows the whole card, or both sides, in the sheet's card size.
    void FitPreview();
    void ApplyLayoutSelection();
    void SelectDocumentLayout();

    // Preview
    // The card data reach the settings after the pause; the title shows
    // whether the card has unsaved changes.
    void DocumentChanged();
    void PreviewPaint(TScaleCanvas &canvas);
    void DrawSideLabel(TScaleCanvas &canvas, const QString &key, bool rotated);
    void DrawInnerFrames(TScaleCanvas &canvas, bool rotated);

    // The memos and the lines each takes, by design.
    struct TMemoLimit
    {
        QPlainTextEdit *Memo;
        int Limit;
    };
    std::vector<TMemoLimit> FMemoLimits;
    bool FUpdating = false;
    bool FEndRequested = false;
    std::unique_ptr<TDocument> FDocument;
    TCardDataSaver *FCardDataSaver = nullptr;
    std::unique_ptr<TMainView> FMainView;
    TCardPreview *FPreview = nullptr;
    // Marks the figures whose lines do not fit; a child of the preview.
    TFitMarks *FFitMarks = nullptr;
    // Takes logos while a page with a logo group is shown.
    TLogoDrop *FPreviewLogoDrop = nullptr;
    TFontComboBox *FFontBox = nullptr;
    bool FFirstActivate = false;
    THelpWindow *FAssistant = nullptr;
    TMasterMenu *FMenu = nullptr;
    // The page "Drucken" and the print job; a child of the window.
    TPrintPage *FPrintPage = nullptr;
    TSheetPreview *FSheetPreview = nullptr;
};
