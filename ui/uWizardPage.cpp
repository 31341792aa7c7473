#include "ui/uWizardPage.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int Margin = 8;
// Below this the panel scrolls rather than squeezing its boxes.
constexpr int MinimumPanelHeight = 240;

} // namespace

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = MakeControl<QPushButton>(parent, name, text);
    button->setAutoDefault(false);
    return button;
}

QPlainTextEdit *MakeMemo(QWidget *parent, const char *name, int visibleLines)
{
    auto *memo = MakeControl<QPlainTextEdit>(parent, name);
    memo->setTabChangesFocus(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    const int margins = 2 * memo->frameWidth() + 2 * int(memo->document()->documentMargin());
    memo->setFixedHeight(memo->fontMetrics().lineSpacing() * visibleLines + margins);
    return memo;
}

QLabel *MakeWrappedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = MakeControl<QLabel>(parent, name, text);
    label->setWordWrap(true);
    return label;
}

TFieldLabel::TFieldLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setWordWrap(true);
}

QSize TFieldLabel::sizeHint() const
{
    const int width = std::max(DesignWidth, minimumSizeHint().width());
    return {width, heightForWidth(width)};
}

TPagePanel::TPagePanel(QWidget *page, const char *name)
    : QScrollArea(page)
{
    setObjectName(QLatin1String(name));
    setFrameShape(QFrame::NoFrame);
    // The boxes take the focus, not the panel holding them.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    auto *contents = new QWidget;
    FBoxes = new QVBoxLayout(contents);
    FBoxes->setContentsMargins(Margin, Margin, Margin, Margin);
    FBoxes->setSpacing(Margin);
    // Makes the panel the contents' event filter too.
    setWidget(contents);
    setWidgetResizable(true);
    // A control that takes the focus, by Tab, mnemonic or code, comes into
    // view: all of it where it fits, else its top.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || !Contents()->isAncestorOf(now))
            return;
        const QRect place(now->mapTo(Contents(), QPoint(0, 0)), now->size());
        ensureVisible(place.center().x(), place.center().y(), place.width() / 2 + Margin,
                      place.height() / 2 + Margin);
    });
}

void TPagePanel::AddBox(QWidget *box, int stretch)
{
    FBoxes->addWidget(box, stretch);
}

QLabel *TPagePanel::AddAdvert(const char *name)
{
    // Whatever room the boxes leave stays above the image.
    FBoxes->addStretch(1);
    auto *image = MakeControl<QLabel>(Contents(), name);
    image->setFixedSize(AdvertWidth, AdvertHeight);
    image->setCursor(Qt::PointingHandCursor);
    image->hide();
    FBoxes->addWidget(image, 0, Qt::AlignHCenter);
    return image;
}

int TPagePanel::NeededWidth() const
{
    // The scroll bar's room is kept free, so a page that starts to scroll
    // does not squeeze its boxes.
    const int contents = Contents()->minimumSizeHint().width() + verticalScrollBar()->sizeHint().width();
    return std::max(DesignWidth, contents + 2 * frameWidth());
}

QSize TPagePanel::sizeHint() const
{
    return {NeededWidth(), Contents()->sizeHint().height()};
}

QSize TPagePanel::minimumSizeHint() const
{
    return {NeededWidth(), MinimumPanelHeight};
}

bool TPagePanel::eventFilter(QObject *watched, QEvent *event)
{
    // New texts may need a wider panel.
    if (watched == Contents() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

TWizardPage::TWizardPage(const char *name, const char *panelName)
{
    setObjectName(QLatin1String(name));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    FPanel = new TPagePanel(this, panelName);
    row->addWidget(FPanel);
}

void TWizardPage::TakePreview(QWidget *preview)
{
    auto *row = static_cast<QBoxLayout *>(layout());
    if (row->indexOf(preview) >= 0)
        return;
    if (QWidget *previous = preview->parentWidget(); previous && previous->layout())
        previous->layout()->removeWidget(preview);
    preview->setParent(this);
    row->addWidget(preview, 1);
    preview->show();
}

TPageControl::TPageControl(QWidget *parent)
    : QTabWidget(parent)
{
    // It hands the focus to the tab row anyway; as a focusable box without a
    // name of its own it only puzzles a screen reader.
    setFocusPolicy(Qt::NoFocus);
}

void TPageControl::keyPressEvent(QKeyEvent *event)
{
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!tab || !(event->modifiers() & Qt::ControlModifier)) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    const int step = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier) ? -1 : 1;
    for (int i = 1; i < count(); ++i) {
        const int index = (currentIndex() + step * i + count()) % count();
        if (isTabVisible(index) && isTabEnabled(index)) {
            setCurrentIndex(index);
            return;
        }
    }
}
