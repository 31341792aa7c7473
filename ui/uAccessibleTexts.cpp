#include "ui/uAccessibleTexts.h"

#include "locale/uFormatText.h"
#include "locale/ulocalize.h"
#include "model/uKartenlayout.h"

#include <QEvent>
#include <QStringList>
#include <QWidget>

#include <algorithm>

namespace {

const QString Section = QStringLiteral("TMaster");

struct TDefaultText
{
    const char *Key;
    const char *Text;
};

constexpr TDefaultText AccessibleDefaults[] = {
    {"ID_VORSCHAU1", "Vorschau der Vorderseite"},
    {"ID_VORSCHAU2", "Vorschau der Vorder- und Rückseite"},
    {"ID_LAYOUTNR", "Layout %d: %s"},
    {"ID_QUERFORMAT", "Querformat"},
    {"ID_HOCHFORMAT", "Hochformat"},
    {"ID_TEXTLINKS", "Text linksbündig"},
    {"ID_TEXTZENTRIERT", "Text zentriert"},
    {"ID_TEXTRECHTS", "Text rechtsbündig"},
    {"ID_LOGOOBENLINKS", "Logo oben links"},
    {"ID_LOGOOBENMITTE", "Logo oben in der Mitte"},
    {"ID_LOGOOBENRECHTS", "Logo oben rechts"},
    {"ID_LOGOUNTENLINKS", "Logo unten links"},
    {"ID_LOGOUNTENMITTE", "Logo unten in der Mitte"},
    {"ID_LOGOUNTENRECHTS", "Logo unten rechts"},
    {"ID_LOGOHINTERGRUND", "Logo im Hintergrund"},
    {"ID_KEINLOGO", "ohne Logo"},
};

// By horizontal alignment: left, centred, right.
const char *const TextKeys[] = {"ID_TEXTLINKS", "ID_TEXTZENTRIERT", "ID_TEXTRECHTS"};
// By upper and lower half, then by third from the left.
const char *const LogoKeys[2][3] = {{"ID_LOGOOBENLINKS", "ID_LOGOOBENMITTE", "ID_LOGOOBENRECHTS"},
                                    {"ID_LOGOUNTENLINKS", "ID_LOGOUNTENMITTE", "ID_LOGOUNTENRECHTS"}};

QString Text(const char *key)
{
    return AccessibleText(QLatin1String(key));
}

// The text that carries the name stands for the headings; any text does
// when none carries it.
const TTextFigure *Headings(const TFigureList &front)
{
    const TTextFigure *first = nullptr;
    for (int i = 0; i < front.Count(); ++i) {
        const auto *text = dynamic_cast<const TTextFigure *>(&front.Items(i));
        if (!text)
            continue;
        if (text->DataFields.contains(QStringLiteral("Name"), Qt::CaseInsensitive))
            return text;
        if (!first)
            first = text;
    }
    return first;
}

const TPictureFigure *Logo(const TFigureList &front)
{
    for (int i = 0; i < front.Count(); ++i) {
        if (const auto *picture = dynamic_cast<const TPictureFigure *>(&front.Items(i)))
            return picture;
    }
    return nullptr;
}

// Where the logo lands: its box's edge or middle as it is aligned, placed
// among thirds across the card and halves down it.
QString LogoPlace(const TPictureFigure &logo, float width, float height)
{
    if (logo.Watermark)
        return Text("ID_LOGOHINTERGRUND");
    const float anchor = logo.HAlign == 1 ? (logo.Left + logo.Right) / 2 : logo.HAlign == 2 ? logo.Right : logo.Left;
    const int third = anchor < width / 3 ? 0 : anchor > width * 2 / 3 ? 2 : 1;
    const bool top = (logo.Top + logo.Bottom) / 2 < height / 2;
    return Text(LogoKeys[top ? 0 : 1][third]);
}

class THintAsName : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ToolTipChange) {
            auto *control = static_cast<QWidget *>(watched);
            control->setAccessibleName(control->toolTip());
        }
        return false;
    }
};

} // namespace

void NameByHint(QWidget *control, const QString &hint)
{
    control->installEventFilter(new THintAsName(control));
    control->setToolTip(hint);
}

void RegisterAccessibleTexts()
{
    for (const TDefaultText &text : AccessibleDefaults)
        RegisterSectionDefault(Section, QString::fromUtf8(text.Key), QString::fromUtf8(text.Text));
}

QString AccessibleText(const QString &key)
{
    return GetSectionText(Section, key);
}

QString LayoutCaption(const TKartenlayout &layout, int number)
{
    QStringList parts{Text(layout.IsPortrait() ? "ID_HOCHFORMAT" : "ID_QUERFORMAT")};
    if (const TTextFigure *headings = Headings(layout.Elements))
        parts << Text(TextKeys[std::min<int>(headings->HAlign, 2)]);
    const TPictureFigure *logo = Logo(layout.Elements);
    parts << (logo ? LogoPlace(*logo, layout.DesignWidth, layout.DesignHeight) : Text("ID_KEINLOGO"));
    return FormatOrKeep(Text("ID_LAYOUTNR"), {number, parts.join(QStringLiteral(", "))});
}
