#pragma once

#include <QComboBox>
#include <QStringList>
#include <QWidget>

// A combo box that reports when its list closes and sizes itself to its font.
class TComboBoxEx : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboBoxEx(QWidget *parent = nullptr);

    void showPopup() override;
    void hidePopup() override;

signals:
    void DropDown();
    void CloseUp();

protected:
    void changeEvent(QEvent *event) override;
};

// The preview beside the open font list: the highlighted family's name and a
// sample text in that family. It never takes focus or mouse input.
class TFontFlyout : public QWidget
{
    Q_OBJECT

public:
    explicit TFontFlyout(QWidget *owner);

    QString Text() const { return FText; }
    // Shows text in the family; the width follows the text, the height stays.
    void ShowFamily(const QString &family, const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString FText;
};

// The installed outline font families, each with a small double-T symbol,
// and a flyout previewing the highlighted family while the list is open.
class TFontComboBox : public TComboBoxEx
{
    Q_OBJECT
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(QString PreviewText READ PreviewText WRITE SetPreviewText)

public:
    explicit TFontComboBox(QWidget *parent = nullptr);
    ~TFontComboBox() override;

    // The selected family, or empty when nothing is selected.
    QString FontName() const;
    // Selects the family (ignoring case); selects nothing for an unknown name.
    void SetFontName(const QString &name);
    // Selects the family, or when it is not installed the family that text
    // in it is drawn in.
    void ShowFont(const QString &name);

    QString PreviewText() const { return FPreviewText; }
    void SetPreviewText(const QString &text) { FPreviewText = text; }

    TFontFlyout *Flyout() const { return FFlyout; }

    void showPopup() override;
    void hidePopup() override;

    // Scalable outline families that write Latin text, each once by its
    // plain name, sorted without regard to case; no generic aliases.
    static QStringList OutlineFamilies();
    // The family without the foundry Qt adds to tell same-named ones apart:
    // "Nimbus Sans" for "Nimbus Sans [urw]".
    static QString PlainFamily(const QString &family);

private:
    void FontsChanged();
    void ItemHighlighted(int index);

    QStringList FFontList;
    QString FPreviewText = QStringLiteral("AaBbCc 01234 XxYyZz");
    TFontFlyout *FFlyout;
};
