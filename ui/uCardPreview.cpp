#include "ui/uCardPreview.h"

#include "model/uDocument.h"
#include "render/uDefaultView.h"
#include "ui/uAccessibleTexts.h"

#include <QAccessibleWidget>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionFocusRect>

namespace {

// A screen reader waits this long after the last change before it is told.
constexpr int AnnounceDelay = 500; // ms

class TCardPreviewAccessible : public QAccessibleWidget
{
public:
    explicit TCardPreviewAccessible(TCardPreview *preview)
        : QAccessibleWidget(preview, QAccessible::Graphic)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const auto *preview = static_cast<const TCardPreview *>(widget());
        if (t == QAccessible::Name)
            return preview->AccessibleName();
        if (t == QAccessible::Description)
            return preview->AccessibleDescription();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *AccessiblePreview(const QString &className, QObject *object)
{
    if (className == QLatin1String("TCardPreview") && object && object->isWidgetType())
        return new TCardPreviewAccessible(static_cast<TCardPreview *>(object));
    return nullptr;
}

} // namespace

TCardPreview::TCardPreview(const TDocument &document, QWidget *parent)
    : TMMWindow(parent)
    , FDocument(document)
{
    static const bool accessible = (QAccessible::installFactory(AccessiblePreview), true);
    Q_UNUSED(accessible);
    // Reached by Tab; a click leaves the focus in the field being typed in.
    setFocusPolicy(Qt::TabFocus);
    AddZoomKeys(QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(Qt::CTRL | Qt::Key_Equal),
                &TCardPreview::ZoomIn);
    AddZoomKeys(QKeySequence::keyBindings(QKeySequence::ZoomOut), &TCardPreview::ZoomOut);
    AddZoomKeys({QKeySequence(Qt::CTRL | Qt::Key_0)}, &TCardPreview::FitAll);

    FAnnounce.setSingleShot(true);
    FAnnounce.setInterval(AnnounceDelay);
    connect(&FAnnounce, &QTimer::timeout, this, [this] {
        QAccessibleEvent name(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        QAccessibleEvent description(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&description);
    });
}

void TCardPreview::AddZoomKeys(const QList<QKeySequence> &keys, void (TCardPreview::*zoom)())
{
    auto *shortcut = new QShortcut(this);
    shortcut->setKeys(keys);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, zoom);
}

void TCardPreview::ZoomIn()
{
    SetZoom(Zoom() * WheelZoomFactor);
}

void TCardPreview::ZoomOut()
{
    SetZoom(Zoom() / WheelZoomFactor);
}

QString TCardPreview::AccessibleName() const
{
    return AccessibleText(FDocument.MitRueckseite() ? QStringLiteral("ID_VORSCHAU2") : QStringLiteral("ID_VORSCHAU1"));
}

QString TCardPreview::AccessibleDescription() const
{
    const TBaseView view;
    const QStringList front = view.SideTexts(FDocument, false, FDocument.Kartenlayout());
    if (!FDocument.MitRueckseite())
        return front.join(QLatin1Char('\n'));
    // The captions the preview writes under the two sides.
    const QString frontCaption = AccessibleText(QStringLiteral("Vorderseite"));
    const QString backCaption = AccessibleText(QStringLiteral("Rückseite"));
    const QStringList back = view.SideTexts(FDocument, true, FDocument.Kartenlayout());
    return (QStringList{frontCaption + QLatin1Char(':')} + front + QStringList{backCaption + QLatin1Char(':')} + back)
        .join(QLatin1Char('\n'));
}

void TCardPreview::CardChanged()
{
    if (QAccessible::isActive())
        FAnnounce.start();
}

void TCardPreview::paintEvent(QPaintEvent *event)
{
    TMMWindow::paintEvent(event);
    if (!hasFocus())
        return;
    // The keyboard's place is seen on the preview too.
    QPainter painter(viewport());
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = viewport()->rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void TCardPreview::focusInEvent(QFocusEvent *event)
{
    TMMWindow::focusInEvent(event);
    viewport()->update();
}

void TCardPreview::focusOutEvent(QFocusEvent *event)
{
    TMMWindow::focusOutEvent(event);
    viewport()->update();
}
