#include "ui/uDrawGrid.h"

#include <QAccessibleWidget>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace {

// One named cell of a grid as a list item: its text, where it is, whether it
// is the current cell; pressing it makes it current.
class TGridCellAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    TGridCellAccessible(TDrawGrid *grid, int index)
        : FGrid(grid)
        , FIndex(index)
    {
    }

    bool isValid() const override { return FGrid && !Text().isEmpty(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return FGrid ? FGrid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(FGrid); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? Text() : QString(); }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!FGrid)
            return {};
        const QRect cell = FGrid->CellRect(Col(), Row());
        return {FGrid->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!FGrid)
            return state;
        const bool current = Col() == FGrid->Col() && Row() == FGrid->Row();
        state.focusable = true;
        state.selectable = true;
        state.selected = current;
        state.focused = current && FGrid->hasFocus();
        state.invisible = !FGrid->isVisible();
        state.offscreen = !FGrid->viewport()->rect().intersects(FGrid->CellRect(Col(), Row()));
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &action) override
    {
        if (FGrid && action == pressAction())
            FGrid->SelectCell(Col(), Row());
    }

    int Index() const { return FIndex; }

private:
    int Col() const { return FIndex % FGrid->ColCount(); }
    int Row() const { return FIndex / FGrid->ColCount(); }
    QString Text() const { return FGrid->CellText(Col(), Row()); }

    QPointer<TDrawGrid> FGrid;
    int FIndex;
};

// The grid as a list of its named cells, which come first in cell order.
class TDrawGridAccessible : public QAccessibleWidget
{
public:
    explicit TDrawGridAccessible(TDrawGrid *grid)
        : QAccessibleWidget(grid, QAccessible::List)
    {
    }
    ~TDrawGridAccessible() override
    {
        for (const QAccessible::Id id : FCells)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override
    {
        const TDrawGrid &grid = Grid();
        const int cols = grid.ColCount();
        int count = 0;
        while (count < cols * grid.RowCount() && !grid.CellText(count % cols, count / cols).isEmpty())
            ++count;
        return count;
    }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        // Items keep their identity for the screen reader between questions.
        while (int(FCells.size()) <= index) {
            auto *cell = new TGridCellAccessible(&Grid(), int(FCells.size()));
            FCells.push_back(QAccessible::registerAccessibleInterface(cell));
        }
        return QAccessible::accessibleInterface(FCells[std::size_t(index)]);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *cell = dynamic_cast<const TGridCellAccessible *>(child);
        return cell && cell->Index() < childCount() ? cell->Index() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const TDrawGrid &grid = Grid();
        int col = 0;
        int row = 0;
        if (!grid.CellAt(grid.viewport()->mapFromGlobal(QPoint(x, y)), col, row))
            return nullptr;
        return child(col + row * grid.ColCount());
    }

    QAccessibleInterface *focusChild() const override
    {
        const TDrawGrid &grid = Grid();
        return grid.hasFocus() ? child(grid.Col() + grid.Row() * grid.ColCount()) : nullptr;
    }

private:
    TDrawGrid &Grid() const { return *static_cast<TDrawGrid *>(widget()); }

    mutable std::vector<QAccessible::Id> FCells;
};

QAccessibleInterface *AccessibleGrid(const QString &className, QObject *object)
{
    if (className == QLatin1String("TDrawGrid") && object && object->isWidgetType())
        return new TDrawGridAccessible(static_cast<TDrawGrid *>(object));
    return nullptr;
}

} // namespace

TDrawGrid::TDrawGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    static const bool accessible = (QAccessible::installFactory(AccessibleGrid), true);
    Q_UNUSED(accessible);
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

bool TDrawGrid::SelectCell(int col, int row)
{
    return MoveTo(col, row);
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

bool TDrawGrid::CellAt(const QPoint &pos, int &col, int &row) const
{
    if (pos.x() < 0 || pos.y() < 0)
        return false;
    col = pos.x() / FColWidth;
    row = TopRow() + pos.y() / FRowHeight;
    return col < FColCount && row < FRowCount;
}

QString TDrawGrid::CellText(int col, int row) const
{
    return FDelegate ? FDelegate->CellText(col, row) : QString();
}

QString TDrawGrid::CellTip(int col, int row) const
{
    return FDelegate ? FDelegate->CellTip(col, row) : QString();
}

bool TDrawGrid::MoveTo(int col, int row)
{
    col = std::clamp(col, 0, FColCount - 1);
    row = std::clamp(row, 0, FRowCount - 1);
    if (col == FCol && row == FRow)
        return true;
    if (FDelegate && !FDelegate->SelectCell(col, row))
        return false;
    viewport()->update(CellRect(FCol, FRow));
    FCol = col;
    FRow = row;
    ScrollIntoView();
    viewport()->update(CellRect(FCol, FRow));
    AnnounceCurrentCell();
    return true;
}

void TDrawGrid::AnnounceCurrentCell()
{
    if (!QAccessible::isActive())
        return;
    const int index = FCol + FRow * FColCount;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(index);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
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
            if (FDelegate)
                FDelegate->DrawCell(painter, col, row, CellRect(col, row), {current, current && focused});
        }
    }
}

bool TDrawGrid::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    int col = 0;
    int row = 0;
    const QString tip = CellAt(help->pos(), col, row) ? CellTip(col, row) : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), CellRect(col, row));
    return true;
}

void TDrawGrid::keyPressEvent(QKeyEvent *event)
{
    if (FDelegate && FDelegate->KeyDown(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    const int pageRows = std::max(1, ClientHeight() / FRowHeight);
    switch (event->key()) {
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
    int col = 0;
    int row = 0;
    if (event->button() == Qt::LeftButton && CellAt(event->position().toPoint(), col, row))
        MoveTo(col, row);
}

void TDrawGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    emit Resized();
}

void TDrawGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    // The list took the focus: a screen reader names its current cell.
    AnnounceCurrentCell();
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
