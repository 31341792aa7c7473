#include "ui/uElidedLabel.h"

#include <QEvent>
#include <QFontMetrics>

QString ShortenPath(const QFontMetrics &metrics, const QString &path, int width)
{
    const int room = width - 1;
    if (metrics.horizontalAdvance(path) <= room)
        return path;
    const QString ellipsis = QStringLiteral("...");
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const QString tail = cut >= 0 ? path.mid(cut) : QString();
    QString head = cut >= 0 ? path.left(cut) : path;
    while (!head.isEmpty()) {
        head.chop(1);
        const QString candidate = head + ellipsis + tail;
        if (metrics.horizontalAdvance(candidate) <= room)
            return candidate;
    }
    // Not even the file name fits: it loses its end.
    return metrics.elidedText(ellipsis + tail, Qt::ElideRight, room);
}

TElidedLabel::TElidedLabel(TElision elision, QWidget *parent)
    : QLabel(parent)
    , FElision(elision)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TElidedLabel::SetFullText(const QString &text)
{
    FFullText = text;
    Elide();
}

QSize TElidedLabel::minimumSizeHint() const
{
    // Room for the ellipsis alone; the rest is elided.
    return {fontMetrics().horizontalAdvance(QStringLiteral("...")), QLabel::minimumSizeHint().height()};
}

void TElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    Elide();
}

void TElidedLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    Elide();
}

void TElidedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Elide();
}

void TElidedLabel::Elide()
{
    // Until it is shown the label has no width of its own to fit into.
    if (!isVisible()) {
        setText(FFullText);
        setToolTip(QString());
        return;
    }
    const int room = contentsRect().width();
    const QFontMetrics metrics = fontMetrics();
    const QString shown = FElision == ElidePath ? ShortenPath(metrics, FFullText, room)
                                                : metrics.elidedText(FFullText, Qt::ElideRight, room);
    setText(shown);
    setToolTip(shown == FFullText ? QString() : FFullText);
}
