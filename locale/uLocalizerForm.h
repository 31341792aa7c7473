#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QObject;
class QWidget;

// A form that takes part in translation: its controls are addressed by
// object name, its texts live in the section named after its class
// (`TMaster`), and its own key uses its object name ("Master.Caption").
//
// Used as a second base beside the Qt form class:
//   class TMaster : public QMainWindow, public TLocalizerForm { Q_OBJECT ... };
// The derived constructor builds its controls and then calls Loaded().
class TLocalizerForm
{
public:
    explicit TLocalizerForm(QWidget *form);
    virtual ~TLocalizerForm() = default;
    TLocalizerForm(const TLocalizerForm &) = delete;
    TLocalizerForm &operator=(const TLocalizerForm &) = delete;

    // Registers the form's default texts; called once from Loaded().
    virtual void RegisterDefaultTexts() {}
    // Rebuilds the texts the form composes itself; called after every
    // translation of the form.
    virtual void TextsChanged() {}

    QWidget *Form() const { return FForm; }
    // The form's class name: the section of its texts.
    QString Section() const;

    // A default whose key is the German text itself.
    void AddDefaultText(const QString &text);
    void SetDefaultText(const QString &key, const QString &text);
    QString GetText(const QString &key) const;
    // The text formatted printf-style; unformatted when it does not match the arguments.
    QString FormatText(const QString &key, const QVariantList &args) const;

protected:
    // Registers the defaults, then applies the current language.
    void Loaded();

private:
    QWidget *FForm;
};

// The translatable properties of one control, mapped onto Qt: Caption is
// the text of a button, label, line edit or menu item, the title of a group
// box or menu, the tab text of a tab page and the title of a window; Hint is
// the tool tip; Items are the entries of a combo box.
struct TComponentProperty
{
    QString Name;
    bool IsList;
};

namespace ComponentTexts {

// In alphabetical order of name; empty for a control without texts.
QList<TComponentProperty> Properties(const QObject *component);
QString Read(const QObject *component, const QString &property);
void Write(QObject *component, const QString &property, const QString &text);
QStringList ReadList(const QObject *component, const QString &property);
void WriteList(QObject *component, const QString &property, const QStringList &lines);

// A window of its own (main window, dialog, tool window) rather than a
// control or a popup menu: translated under its own section.
bool IsForm(const QObject *component);

} // namespace ComponentTexts
