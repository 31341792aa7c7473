#pragma once

#include <QDoubleSpinBox>

// A number field in the program's language: "1,5" and "1.5" both read as
// one and a half. What cannot be read, or lies outside the range, is not
// taken: the field keeps its last value and hasAcceptableInput() is false
// until the text is corrected. The text follows a language switch.
class TNumberBox : public QDoubleSpinBox
{
    Q_OBJECT

public:
    explicit TNumberBox(QWidget *parent);

    QValidator::State validate(QString &text, int &pos) const override;
    double valueFromText(const QString &text) const override;
    QString textFromValue(double value) const override;

signals:
    // The text changed, whether it reads as a number or not.
    void EntryChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    // The text without prefix and suffix.
    QString Number(const QString &text) const;
};
