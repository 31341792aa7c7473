#include "ui/uNumberBox.h"

#include "locale/uNumberText.h"

#include <QEvent>
#include <QLineEdit>

TNumberBox::TNumberBox(QWidget *parent) : QDoubleSpinBox(parent)
{
    connect(lineEdit(), &QLineEdit::textChanged, this, &TNumberBox::EntryChanged);
}

QValidator::State TNumberBox::validate(QString &text, int &) const
{
    const TNumberReading reading = ReadNumber(Number(text), decimals());
    if (reading.State != QValidator::Acceptable)
        return reading.State;
    return reading.Value >= minimum() && reading.Value <= maximum() ? QValidator::Acceptable
                                                                    : QValidator::Intermediate;
}

double TNumberBox::valueFromText(const QString &text) const
{
    return ReadNumber(Number(text), decimals()).Value;
}

QString TNumberBox::textFromValue(double value) const
{
    return NumberText(value, decimals());
}

void TNumberBox::changeEvent(QEvent *event)
{
    QDoubleSpinBox::changeEvent(event);
    // Shown again with the new language's decimal separator.
    if (event->type() == QEvent::LanguageChange)
        setValue(value());
}

QString TNumberBox::Number(const QString &text) const
{
    QString number = text.trimmed();
    const QString before = prefix().trimmed();
    const QString after = suffix().trimmed();
    if (!before.isEmpty() && number.startsWith(before))
        number.remove(0, before.size());
    if (!after.isEmpty() && number.endsWith(after))
        number.chop(after.size());
    return number;
}
