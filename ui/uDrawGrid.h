#pragma once

#include <QAbstractScrollArea>

#include <functional>

class QPainter;

// A grid of owner-drawn cells of one size with a current cell, scrolled
// vertically by whole rows. Every change of the current cell asks
// OnSelectCell first, which may refuse it. A screen reader sees a list whose
// items are the cells OnCellText names, the current cell selected.
class TDrawGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    struct TCellState
    {
        bool Selected; // the current cell
        bool Focused;  // the current cell while the grid has the focus
    };
    using TDrawCellEvent = std::function<void(QPainter &painter, int col, int row, const QRect &rect, TCellState state)>;
    using TSelectCellEvent = std::function<bool(int col, int row)>;
    // May set the key to 0 to skip the grid's own handling.
    using TKeyDownEvent = std::function<void(int &key, Qt::KeyboardModifiers modifiers)>;
    using TNotifyEvent = std::function<void()>;
    // What a screen reader says for a cell; empty for a cell without content.
    using TCellTextEvent = std::function<QString(int col, int row)>;

    explicit TDrawGrid(QWidget *parent = nullptr);

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
    // Move the current cell when OnSelectCell allows it.
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

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TKeyDownEvent OnKeyDown;
    TNotifyEvent OnResize;
    TCellTextEvent OnCellText;

protected:
    void paintEvent(QPaintEvent *event) override;
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

    int FColCount = 5;
    int FRowCount = 5;
    int FColWidth = 64;
    int FRowHeight = 24;
    int FCol = 0;
    int FRow = 0;
};
