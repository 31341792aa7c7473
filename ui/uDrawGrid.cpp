#include "ui/uDrawGrid.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TDrawGrid::TDrawGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always present, so the client width a caller measures stays the width
    // the cells get whatever the row count.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(1);
    UpdateScrollRange();
}

void TDrawGrid::SetColCount(int count)
{
    FColCount = std::max(1, count);
    FCol = std::min(FCol, FColCount - 1);
    viewport()->update();
}

void TDrawGrid::SetRowCount(int count)
{
    FRowCount = std::max(1, count);
    FRow = std::min(FRow, FRowCount - 1);
    UpdateScrollRange();
    viewport()->update();
}

void TDrawGrid::SetDefaultColWidth(int width)
{
    FColWidth = std::max(1, width);
    viewport()->update();
}

void TDrawGrid::SetDefaultRowHeight(int height)
{
    FRowHeight = std::max(1, height);
    UpdateScrollRange();
    viewport()->update();
}

void TDrawGrid::SetCol(int col)
{
    MoveTo(col, FRow);
}

void TDrawGrid::SetRow(int row)
{
    MoveTo(FCol, row);
}

int TDrawGrid::TopRow() const
{
    return verticalScrollBar()->value();
}

int TDrawGrid::ClientWidth() const
{
    return viewport()->width();
}

int TDrawGrid::ClientHeight() const
{
    return viewport()->height();
}

QRect TDrawGrid::CellRect(int col, int row) const
{
    return {col * FColWidth, (row - TopRow()) * FRowHeight, FColWidth, FRowHeight};
}

bool TDrawGrid::MoveTo(int col, int row)
{
    col = std::clamp(col, 0, FColCount - 1);
    row = std::clamp(row, 0, FRowCount - 1);
    if (col == FCol && row == FRow)
        return true;
    if (OnSelectCell && !OnSelectCell(col, row))
        return false;
    viewport()->update(CellRect(FCol, FRow));
    FCol = col;
    FRow = row;
    ScrollIntoView();
    viewport()->update(CellRect(FCol, FRow));
    return true;
}

void TDrawGrid::UpdateScrollRange()
{
    const int fullRows = std::max(1, ClientHeight() / FRowHeight);
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(fullRows);
    bar->setRange(0, std::max(0, FRowCount - fullRows));
    // Rows or height changed: the current cell stays in view.
    ScrollIntoView();
}

void TDrawGrid::ScrollIntoView()
{
    const int fullRows = std::max(1, ClientHeight() / FRowHeight);
    if (FRow < TopRow())
        verticalScrollBar()->setValue(FRow);
    else if (FRow >= TopRow() + fullRows)
        verticalScrollBar()->setValue(FRow - fullRows + 1);
}

void TDrawGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    const int top = TopRow();
    const int lastRow = std::min(FRowCount - 1, top + ClientHeight() / FRowHeight);
    const bool focused = hasFocus();
    for (int row = top; row <= lastRow; ++row) {
        for (int col = 0; col < FColCount; ++col) {
            const bool current = col == FCol && row == FRow;
            if (OnDrawCell)
                OnDrawCell(painter, col, row, CellRect(col, row), {current, current && focused});
        }
    }
}

void TDrawGrid::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    if (OnKeyDown)
        OnKeyDown(key, event->modifiers());
    const int pageRows = std::max(1, ClientHeight() / FRowHeight);
    switch (key) {
    case 0:
        break;
    case Qt::Key_Left:
        MoveTo(FCol - 1, FRow);
        break;
    case Qt::Key_Right:
        MoveTo(FCol + 1, FRow);
        break;
    case Qt::Key_Up:
        MoveTo(FCol, FRow - 1);
        break;
    case Qt::Key_Down:
        MoveTo(FCol, FRow + 1);
        break;
    case Qt::Key_PageUp:
        MoveTo(FCol, FRow - pageRows);
        break;
    case Qt::Key_PageDown:
        MoveTo(FCol, FRow + pageRows);
        break;
    case Qt::Key_Home:
        MoveTo(0, event->modifiers() & Qt::ControlModifier ? 0 : FRow);
        break;
    case Qt::Key_End:
        MoveTo(FColCount - 1, event->modifiers() & Qt::ControlModifier ? FRowCount - 1 : FRow);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TDrawGrid::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int col = pos.x() / FColWidth;
    const int row = TopRow() + pos.y() / FRowHeight;
    if (event->button() == Qt::LeftButton && col < FColCount && row < FRowCount)
        MoveTo(col, row);
}

void TDrawGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    if (OnResize)
        OnResize();
}

void TDrawGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TDrawGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TDrawGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}
