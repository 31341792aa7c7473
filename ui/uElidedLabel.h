#pragma once

#include <QLabel>

class QFontMetrics;

// The path shortened in the middle with "..." so that it fits width - 1
// pixels; the file name is kept whole as long as it fits by itself.
QString ShortenPath(const QFontMetrics &metrics, const QString &path, int width);

// A label for a name (a file path, a printer's location) that may be longer
// than the room it gets: it shows as much as fits, marked with "...", and the
// whole name as its tool tip. It never widens its page.
class TElidedLabel : public QLabel
{
    Q_OBJECT

public:
    enum TElision { ElideEnd, ElidePath };

    explicit TElidedLabel(TElision elision, QWidget *parent = nullptr);

    void SetFullText(const QString &text);
    QString FullText() const { return FFullText; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Elide();

    TElision FElision;
    QString FFullText;
};
