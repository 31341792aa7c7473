#pragma once

#include "render/uMMWindow.h"

#include <QTimer>

class TDocument;

// The main window's card preview. Ctrl+Plus, Ctrl+Minus and Ctrl+0 zoom it
// in, out and to the whole card from anywhere in the window; Tab reaches it,
// and the arrow keys then scroll a card zoomed larger than the window. A
// screen reader hears which sides it shows and what they say, worked out
// only when it asks: the preview redraws on every keystroke.
class TCardPreview : public TMMWindow
{
    Q_OBJECT

public:
    TCardPreview(const TDocument &document, QWidget *parent);

    // "Vorschau der Vorderseite", or of both sides for a two-sided card.
    QString AccessibleName() const;
    // The card's texts as drawn; with both sides shown, each introduced.
    QString AccessibleDescription() const;
    // The card changed: a screen reader is told once the typing pauses.
    void CardChanged();

    void ZoomIn();
    void ZoomOut();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void AddZoomKeys(const QList<QKeySequence> &keys, void (TCardPreview::*zoom)());

    const TDocument &FDocument;
    QTimer FAnnounce;
};
