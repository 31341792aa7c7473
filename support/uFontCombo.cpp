#include "support/uFontCombo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int FlyoutPadding = 20;  // added to the sample text's height
constexpr int FlyoutMargin = 25;   // added to the sample text's width
constexpr int SymbolWidth = 20;    // room left of the family name

// The double-T outline-font symbol: a "T" 8 pixels wide and 9 high at (x, y).
void DrawT(QPainter &painter, int x, int y)
{
    painter.drawLine(x, y, x + 7, y);
    painter.drawLine(x, y, x, y + 2);
    painter.drawLine(x + 7, y, x + 7, y + 2);
    painter.drawPoint(x + 1, y + 1);
    painter.drawPoint(x + 6, y + 1);
    painter.drawLine(x + 3, y, x + 3, y + 7);
    painter.drawLine(x + 4, y, x + 4, y + 7);
    painter.drawLine(x + 1, y + 8, x + 6, y + 8);
}

class TFontItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QPalette &palette = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        const bool enabled = option.state & QStyle::State_Enabled;
        painter->save();
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        if (!index.isValid()) {
            painter->restore();
            return;
        }
        const QColor text = !enabled ? palette.color(QPalette::Disabled, QPalette::Text)
                                     : (selected ? palette.highlightedText().color() : palette.text().color());
        painter->setPen(text);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(SymbolWidth, 0, 0, 0), Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());

        const QColor grey = palette.color(QPalette::Disabled, QPalette::Text);
        const int left = option.rect.left();
        const int top = option.rect.top() + (option.rect.height() - 13) / 2;
        painter->setPen(enabled ? palette.button().color() : grey);
        DrawT(*painter, left + 3, top + 1);
        painter->setPen(enabled ? QColor(Qt::black) : grey);
        DrawT(*painter, left + 7, top + 4);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(text, 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }
};

// Symbol fonts and fonts without Latin letters cannot set a card's texts.
bool WritesText(const QString &family)
{
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    return systems.contains(QFontDatabase::Latin) && !systems.contains(QFontDatabase::Symbol);
}

// Names the font configuration gives to whatever family it picks, not families.
bool IsGenericAlias(const QString &family)
{
    static const QStringList aliases = {
        QStringLiteral("Sans Serif"), QStringLiteral("Sans"),    QStringLiteral("Serif"),
        QStringLiteral("Monospace"),  QStringLiteral("Mono"),    QStringLiteral("sans-serif"),
        QStringLiteral("cursive"),    QStringLiteral("fantasy"), QStringLiteral("system-ui"),
    };
    return aliases.contains(family, Qt::CaseInsensitive);
}

QFont FlyoutFont(const QString &family)
{
    QFont font(family);
    font.setPointSize(20);
    return font;
}

} // namespace

TComboBoxEx::TComboBoxEx(QWidget *parent) : QComboBox(parent)
{
    setFixedHeight(25);
}

void TComboBoxEx::showPopup()
{
    QComboBox::showPopup();
    emit DropDown();
}

void TComboBoxEx::hidePopup()
{
    QComboBox::hidePopup();
    emit CloseUp();
}

void TComboBoxEx::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        setFixedHeight(fontMetrics().height() + 6);
    QComboBox::changeEvent(event);
}

TFontFlyout::TFontFlyout(QWidget *owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                         | Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFont(FlyoutFont(QStringLiteral("Arial")));
    // Fixed once: a family with tall glyphs must not make the flyout jump.
    setFixedHeight(QFontMetrics(font()).height() + FlyoutPadding);
}

void TFontFlyout::ShowFamily(const QString &family, const QString &text)
{
    FText = text;
    const QFont font = FlyoutFont(family);
    setFont(font);
    setFixedWidth(QFontMetrics(font).horizontalAdvance(text) + FlyoutMargin);
    update();
}

void TFontFlyout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, FText);
}

TFontComboBox::TFontComboBox(QWidget *parent)
    : TComboBoxEx(parent), FFontList(OutlineFamilies()), FFlyout(new TFontFlyout(this))
{
    setItemDelegate(new TFontItemDelegate(this));
    addItems(FFontList);
    if (!FFontList.isEmpty())
        setCurrentIndex(0);
    connect(this, &QComboBox::highlighted, this, &TFontComboBox::ItemHighlighted);
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, &TFontComboBox::FontsChanged);
}

TFontComboBox::~TFontComboBox() = default;

QStringList TFontComboBox::OutlineFamilies()
{
    QStringList families;
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::isSmoothlyScalable(family) && !QFontDatabase::isBitmapScalable(family)
            && WritesText(family) && !IsGenericAlias(family))
            families << PlainFamily(family);
    }
    std::sort(families.begin(), families.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    families.erase(std::unique(families.begin(), families.end(),
                               [](const QString &a, const QString &b) {
                                   return a.compare(b, Qt::CaseInsensitive) == 0;
                               }),
                   families.end());
    return families;
}

QString TFontComboBox::PlainFamily(const QString &family)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return QString(family).remove(foundry);
}

QString TFontComboBox::FontName() const
{
    return currentIndex() < 0 ? QString() : currentText();
}

void TFontComboBox::SetFontName(const QString &name)
{
    setCurrentIndex(findText(name, Qt::MatchFixedString));
}

void TFontComboBox::ShowFont(const QString &name)
{
    SetFontName(name);
    if (currentIndex() < 0)
        SetFontName(PlainFamily(QFontInfo(QFont(name)).family()));
}

void TFontComboBox::showPopup()
{
    TComboBoxEx::showPopup();
    FFlyout->move(mapToGlobal(QPoint(width() - 1, height())));
    ItemHighlighted(view()->currentIndex().row());
    FFlyout->show();
}

void TFontComboBox::hidePopup()
{
    FFlyout->hide();
    TComboBoxEx::hidePopup();
}

void TFontComboBox::FontsChanged()
{
    const QString current = FontName();
    FFontList = OutlineFamilies();
    {
        // Refilling passes through "no selection"; only the outcome matters.
        const QSignalBlocker blocker(this);
        clear();
        addItems(FFontList);
        const int index = findText(current, Qt::MatchFixedString);
        setCurrentIndex(index >= 0 ? index : (FFontList.isEmpty() ? -1 : 0));
    }
    if (FontName() != current)
        emit currentIndexChanged(currentIndex());
}

void TFontComboBox::ItemHighlighted(int index)
{
    if (index < 0 || index >= count())
        return;
    const QString family = itemText(index);
    FFlyout->ShowFamily(family, family + QStringLiteral(" - ") + FPreviewText);
}
