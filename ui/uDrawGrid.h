#pragma once

#include <QAbstractScrollArea>

class QPainter;

struct TGridCellState
{
    bool Selected; // the current cell
    bool Focused;  // the current cell while the grid has the focus
};

// What a draw grid asks of its owner, who knows what the cells hold.
class TDrawGridDelegate
{
public:
    virtual void DrawCell(QPainter &painter, int col, int row, const QRect &rect, TGridCellState state) = 0;
    // Asked before a cell becomes the current one; false refuses it.
    virtual bool SelectCell(int col, int row) = 0;
    // What a screen reader says for a cell; empty for a cell without content.
    virtual QString CellText(int col, int row) const = 0;
    // The tool tip of a cell; empty for none.
    virtual QString CellTip(int col, int row) const = 0;
    // A key before the grid handles it; true when the grid must leave it.
    virtual bool KeyDown(int key, Qt::KeyboardModifiers modifiers) = 0;

protected:
    ~TDrawGridDelegate() = default;
};

// A grid of owner-drawn cells of one size with a current cell, scrolled
// vertically by whole rows. Every change of the current cell asks the
// delegate first, which may refuse it. A screen reader sees a list whose
// items are the cells the delegate names, the current cell selected.
class TDrawGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TDrawGrid(QWidget *parent = nullptr);

    // Null leaves every cell empty and unnamed.
    void SetDelegate(TDrawGridDelegate *delegate) { FDelegate = delegate; }

    int ColCount() const { return FColCount; }
    void SetColCount(int count);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int count);
    int DefaultColWidth() const { return FColWidth; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return FRowHeight; }
    void SetDefaultRowHeight(int height);

    int Col() const { return FCol; }
    int Row() const { return FRow; }
    // Move the current cell when the delegate allows it.
    void SetCol(int col);
    void SetRow(int row);
    // Both at once, so no cell in between is selected on the way.
    bool SelectCell(int col, int row);
    int TopRow() const;

    int ClientWidth() const;
    int ClientHeight() const;
    QRect CellRect(int col, int row) const;
    // The cell holding a point of the viewport; false outside every cell.
    bool CellAt(const QPoint &pos, int &col, int &row) const;

    // What the screen reader says for a cell: the delegate's words.
    QString CellText(int col, int row) const;
    // The cell's tool tip: the delegate's too.
    QString CellTip(int col, int row) const;

signals:
    void Resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    bool MoveTo(int col, int row);
    void UpdateScrollRange();
    void ScrollIntoView();
    // Tells a screen reader which cell is current (and focused).
    void AnnounceCurrentCell();

    TDrawGridDelegate *FDelegate = nullptr;
    int FColCount = 5;
    int FRowCount = 5;
    int FColWidth = 64;
    int FRowHeight = 24;
    int FCol = 0;
    int FRow = 0;
};
