#include "locale/uNumberText.h"

#include "locale/ulocalize.h"

#include <cmath>

QLocale NumberLocale()
{
    QLocale locale(QLatin1String(LanguageTable[Localizer().LanguageIndex()].QtLanguage));
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString NumberText(double value, int decimals)
{
    // No "-0" for a value that rounds to nothing.
    if (std::nearbyint(value * std::pow(10.0, decimals)) == 0)
        value = 0;
    const QLocale locale = NumberLocale();
    QString text = locale.toString(value, 'f', decimals);
    const QString point = locale.decimalPoint();
    if (decimals > 0 && text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

TNumberReading ReadNumber(const QString &text, int decimals)
{
    const QString number = text.trimmed();
    qsizetype pos = 0;
    bool negative = false;
    if (!number.isEmpty() && (number[0] == '-' || number[0] == '+' || number[0] == QChar(0x2212))) {
        negative = number[0] != '+';
        ++pos;
    }
    QString whole;
    QString fraction;
    int separators = 0;
    for (; pos < number.size(); ++pos) {
        const char16_t ch = number[pos].unicode();
        if (ch >= '0' && ch <= '9')
            (separators == 0 ? whole : fraction) += QChar(ch);
        else if (ch == '.' || ch == ',')
            ++separators;
        else
            return {};
    }
    // Shown for the user to correct rather than guessed at.
    if (separators > 1 || whole.size() + fraction.size() == 0)
        return {QValidator::Intermediate, 0};
    for (qsizetype i = decimals; i < fraction.size(); ++i)
        if (fraction[i] != '0')
            return {};
    bool ok = false;
    const double value = (whole.isEmpty() ? QStringLiteral("0") : whole)
                             .append('.')
                             .append(fraction.isEmpty() ? QStringLiteral("0") : fraction)
                             .toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return {};
    return {QValidator::Acceptable, negative ? -value : value};
}
