#include "locale/uLocalizerForm.h"

#include "locale/ulocalize.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

TLocalizerForm::TLocalizerForm(QWidget *form)
    : FForm(form)
{
}

QString TLocalizerForm::Section() const
{
    return QLatin1String(FForm->metaObject()->className());
}

void TLocalizerForm::AddDefaultText(const QString &text)
{
    Localizer().SetDefault(Section(), text, text);
}

void TLocalizerForm::SetDefaultText(const QString &key, const QString &text)
{
    Localizer().SetDefault(Section(), key, text);
}

QString TLocalizerForm::GetText(const QString &key) const
{
    return Localizer().GetText(Section(), key);
}

QString TLocalizerForm::FormatText(const QString &key, const QVariantList &args) const
{
    return FormatOrKeep(GetText(key), args);
}

void TLocalizerForm::Loaded()
{
    RegisterDefaultTexts();
    Localizer().TranslateForm(FForm);
    TextsChanged();
}

namespace ComponentTexts {

namespace {

const QString Caption = QStringLiteral("Caption");
const QString Hint = QStringLiteral("Hint");
const QString Items = QStringLiteral("Items");
const QString Text = QStringLiteral("Text");

// The tab widget whose page the widget is, with its tab index.
QTabWidget *TabOfPage(const QWidget *page, int &index)
{
    auto *stack = qobject_cast<QStackedWidget *>(page->parentWidget());
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    index = tabs ? tabs->indexOf(const_cast<QWidget *>(page)) : -1;
    return index >= 0 ? tabs : nullptr;
}

bool HasCaption(const QObject *component)
{
    if (qobject_cast<const QAction *>(component))
        return true;
    const auto *widget = qobject_cast<const QWidget *>(component);
    if (!widget)
        return false;
    int index = 0;
    return IsForm(widget) || TabOfPage(widget, index) || qobject_cast<const QGroupBox *>(widget)
        || qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLabel *>(widget)
        || qobject_cast<const QMenu *>(widget);
}

} // namespace

bool IsForm(const QObject *component)
{
    if (dynamic_cast<const TLocalizerForm *>(component))
        return true;
    const auto *widget = qobject_cast<const QWidget *>(component);
    if (!widget || !widget->isWindow())
        return false;
    switch (widget->windowType()) {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
        return false;
    default:
        return true;
    }
}

QList<TComponentProperty> Properties(const QObject *component)
{
    QList<TComponentProperty> properties;
    if (HasCaption(component))
        properties.append({Caption, false});
    if (qobject_cast<const QWidget *>(component) || qobject_cast<const QAction *>(component))
        properties.append({Hint, false});
    if (qobject_cast<const QComboBox *>(component))
        properties.append({Items, true});
    if (qobject_cast<const QLineEdit *>(component))
        properties.append({Text, false});
    return properties;
}

QString Read(const QObject *component, const QString &property)
{
    if (const auto *action = qobject_cast<const QAction *>(component))
        return property == Caption ? action->text() : property == Hint ? action->toolTip() : QString();
    const auto *widget = qobject_cast<const QWidget *>(component);
    if (!widget)
        return {};
    if (property == Hint)
        return widget->toolTip();
    if (property == Text) {
        const auto *edit = qobject_cast<const QLineEdit *>(widget);
        return edit ? edit->text() : QString();
    }
    if (property != Caption)
        return {};
    int index = 0;
    if (IsForm(widget))
        return widget->windowTitle();
    if (QTabWidget *tabs = TabOfPage(widget, index))
        return tabs->tabText(index);
    if (const auto *box = qobject_cast<const QGroupBox *>(widget))
        return box->title();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *menu = qobject_cast<const QMenu *>(widget))
        return menu->title();
    return {};
}

void Write(QObject *component, const QString &property, const QString &text)
{
    if (auto *action = qobject_cast<QAction *>(component)) {
        if (property == Caption)
            action->setText(text);
        else if (property == Hint)
            action->setToolTip(text);
        return;
    }
    auto *widget = qobject_cast<QWidget *>(component);
    if (!widget)
        return;
    if (property == Hint) {
        widget->setToolTip(text);
        return;
    }
    if (property == Text) {
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->setText(text);
        return;
    }
    if (property != Caption)
        return;
    int index = 0;
    if (IsForm(widget))
        widget->setWindowTitle(text);
    else if (QTabWidget *tabs = TabOfPage(widget, index))
        tabs->setTabText(index, text);
    else if (auto *box = qobject_cast<QGroupBox *>(widget))
        box->setTitle(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(text);
    else if (auto *menu = qobject_cast<QMenu *>(widget))
        menu->setTitle(text);
}

QStringList ReadList(const QObject *component, const QString &property)
{
    QStringList lines;
    if (const auto *combo = qobject_cast<const QComboBox *>(component); combo && property == Items) {
        for (int i = 0; i < combo->count(); ++i)
            lines << combo->itemText(i);
    }
    return lines;
}

void WriteList(QObject *component, const QString &property, const QStringList &lines)
{
    auto *combo = qobject_cast<QComboBox *>(component);
    if (!combo || property != Items)
        return;
    // Entries keep their data and the selection; only texts change.
    for (int i = 0; i < lines.size(); ++i) {
        if (i < combo->count())
            combo->setItemText(i, lines.at(i));
        else
            combo->addItem(lines.at(i));
    }
}

} // namespace ComponentTexts
