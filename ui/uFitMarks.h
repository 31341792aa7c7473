#pragma once

#include "model/uGeometry.h"
#include "render/uTextFit.h"

#include <QObject>

class QPainter;

class TMMWindow;
class TScaleCanvas;

// The card preview's marks on text figures that lose lines and on a card
// whose layout leaves its logo out: a thin red outline, and a tool tip
// saying what is lost. Only ever drawn on screen.
class TFitMarks : public QObject
{
    Q_OBJECT

public:
    explicit TFitMarks(TMMWindow &preview);

    // Forgets the marks of the last paint.
    void Clear();
    // Outlines the figures of one side at the canvas's current offsets.
    void Draw(TScaleCanvas &canvas, const QList<TTextFit> &fits, bool back);
    // Outlines the card of that side, Width x Height mm at the canvas's
    // current offsets, whose layout shows no logo.
    void DrawDroppedLogo(TScaleCanvas &canvas, float width, float height, bool back);
    // The tips of the marks under a point of the preview's viewport, one a
    // line; empty where there is none.
    QString TipAt(const QPoint &point) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Mark(TScaleCanvas &canvas, const TSingleRect &box, const QString &tip);

    struct TMark
    {
        TSingleRect Box; // mm, the canvas's offsets added
        QString Tip;
    };

    TMMWindow &FPreview;
    QList<TMark> FMarks;
};

// A small warning sign whose top-right corner is at the point.
void DrawFitWarning(QPainter &painter, const QPoint &topRight);
