#include "ui/uFitMarks.h"

#include "render/uMMWindow.h"
#include "render/uScaler.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>

TFitMarks::TFitMarks(TMMWindow &preview)
    : QObject(&preview), FPreview(preview)
{
    FPreview.viewport()->installEventFilter(this);
}

void TFitMarks::Clear()
{
    FMarks.clear();
}

void TFitMarks::Draw(TScaleCanvas &canvas, const QList<TTextFit> &fits, bool back)
{
    for (const TTextFit &fit : fits)
        if (fit.Back == back)
            Mark(canvas, fit.Box, TextFitTip(fit));
}

void TFitMarks::DrawDroppedLogo(TScaleCanvas &canvas, float width, float height, bool back)
{
    Mark(canvas, {0, 0, width, height}, DroppedLogoTip(back));
}

void TFitMarks::Mark(TScaleCanvas &canvas, const TSingleRect &box, const QString &tip)
{
    const QPen pen = canvas.Pen();
    const QBrush brush = canvas.Brush();
    canvas.SetPenColor(Qt::red);
    canvas.SetPenWidth(0);
    canvas.SetBrushStyle(Qt::NoBrush);
    canvas.Rectangle(box.Left, box.Top, box.Right, box.Bottom);
    canvas.SetPen(pen);
    canvas.SetBrush(brush);
    const float dx = canvas.TotalOffsetX();
    const float dy = canvas.TotalOffsetY();
    FMarks.append({{box.Left + dx, box.Top + dy, box.Right + dx, box.Bottom + dy}, tip});
}

QString TFitMarks::TipAt(const QPoint &point) const
{
    const TScaler &canvas = FPreview.Scaler();
    const float x = canvas.XToMM(point.x()) + canvas.TotalOffsetX();
    const float y = canvas.YToMM(point.y()) + canvas.TotalOffsetY();
    QStringList tips;
    for (const TMark &mark : FMarks)
        if (x >= mark.Box.Left && x <= mark.Box.Right && y >= mark.Box.Top && y <= mark.Box.Bottom)
            tips.append(mark.Tip);
    return tips.join(QLatin1Char('\n'));
}

bool TFitMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QString tip = TipAt(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, FPreview.viewport());
    return true;
}

void DrawFitWarning(QPainter &painter, const QPoint &topRight)
{
    constexpr int Size = 16;
    const int left = topRight.x() - Size;
    const int top = topRight.y();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x80, 0x50, 0x00), 1));
    painter.setBrush(QColor(0xFF, 0xC0, 0x00));
    painter.drawPolygon(QPolygon({QPoint(left + Size / 2, top), QPoint(left + Size, top + Size - 1),
                                  QPoint(left, top + Size - 1)}));
    // The exclamation mark: a stroke and a dot.
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPoint(left + Size / 2, top + 5), QPoint(left + Size / 2, top + Size - 7));
    painter.drawPoint(QPoint(left + Size / 2, top + Size - 4));
    painter.restore();
}
