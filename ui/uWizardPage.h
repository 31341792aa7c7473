#pragma once

#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

// Controls are made under their component names, so the language texts find them.
template <class T>
T *MakeControl(QWidget *parent, const char *name)
{
    auto *widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

template <class T>
T *MakeControl(QWidget *parent, const char *name, const QString &text)
{
    auto *widget = new T(text, parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A push button that Enter in an edit field does not press.
QPushButton *MakeButton(QWidget *parent, const char *name, const QString &text);
// A memo showing that many lines; Tab leaves it.
QPlainTextEdit *MakeMemo(QWidget *parent, const char *name, int visibleLines);
// A label that breaks its text into lines to fit its width.
QLabel *MakeWrappedLabel(QWidget *parent, const char *name, const QString &text = QString());

// The caption left of an input field: it wraps within the designed column
// width and is wider only for a word longer than that.
class TFieldLabel : public QLabel
{
    Q_OBJECT

public:
    static constexpr int DesignWidth = 90;

    TFieldLabel(const QString &text, QWidget *parent);

    QSize sizeHint() const override;
};

// The left half of a wizard page: group boxes one below the other, where a
// hidden box takes no room, and the page's advertising image at the bottom.
// Lower than its contents it scrolls, always showing the control with the
// focus; it is as wide as its widest box needs, at least the designed width.
class TPagePanel : public QScrollArea
{
    Q_OBJECT

public:
    static constexpr int DesignWidth = 370;
    static constexpr int AdvertWidth = 333;
    static constexpr int AdvertHeight = 198;

    TPagePanel(QWidget *page, const char *name);

    // The widget the boxes belong to.
    QWidget *Contents() const { return widget(); }
    void AddBox(QWidget *box, int stretch = 0);
    // The page's clickable advertising image, hidden until it has a picture.
    QLabel *AddAdvert(const char *name);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int NeededWidth() const;

    QVBoxLayout *FBoxes;
};

// One page of the wizard: its panel on the left, and on the right the card
// preview that all pages share and that moves to the page shown.
class TWizardPage : public QWidget
{
    Q_OBJECT

public:
    TWizardPage(const char *name, const char *panelName);

    TPagePanel *Panel() const { return FPanel; }
    // Puts the shared preview beside this page's panel.
    void TakePreview(QWidget *preview);

private:
    TPagePanel *FPanel;
};

// The wizard's tab row. Ctrl+Tab and Ctrl+Shift+Tab step through the pages
// whose tabs are shown, passing over hidden ones as over disabled ones. The
// row takes the focus, not the box of pages around it.
class TPageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit TPageControl(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
