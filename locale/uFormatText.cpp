#include "locale/uFormatText.h"

#include "locale/uNumberText.h"

#include <cmath>

#include <optional>

namespace {

// Texts come from language files: a width or precision beyond this is a
// broken placeholder, not a request for megabytes of padding.
constexpr int MaxFieldSize = 1024;

struct TPlaceholder
{
    bool LeftAlign = false;
    bool PlusSign = false;
    bool SpaceSign = false;
    bool ZeroPad = false;
    int Width = 0;
    int Precision = -1;
    QChar Conversion;
};

bool IsWholeNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool IsNumber(const QVariant &value)
{
    return IsWholeNumber(value) || value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

bool IsUnsigned(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// Reads flags, width, precision and conversion after a "%"; pos ends after
// the conversion character.
std::optional<TPlaceholder> ParsePlaceholder(const QString &format, qsizetype &pos)
{
    TPlaceholder placeholder;
    for (; pos < format.size(); ++pos) {
        const QChar ch = format.at(pos);
        if (ch == '-')
            placeholder.LeftAlign = true;
        else if (ch == '+')
            placeholder.PlusSign = true;
        else if (ch == ' ')
            placeholder.SpaceSign = true;
        else if (ch == '0')
            placeholder.ZeroPad = true;
        else
            break;
    }
    auto readNumber = [&](int &number) {
        number = 0;
        for (; pos < format.size() && format.at(pos).isDigit(); ++pos) {
            number = number * 10 + format.at(pos).digitValue();
            if (number > MaxFieldSize)
                return false;
        }
        return true;
    };
    if (!readNumber(placeholder.Width))
        return std::nullopt;
    if (pos < format.size() && format.at(pos) == '.') {
        ++pos;
        if (!readNumber(placeholder.Precision))
            return std::nullopt;
    }
    // C length modifiers carry no meaning for values that know their type.
    while (pos < format.size() && (format.at(pos) == 'l' || format.at(pos) == 'h'))
        ++pos;
    if (pos >= format.size())
        return std::nullopt;
    placeholder.Conversion = format.at(pos++);
    return placeholder;
}

QString Pad(const TPlaceholder &placeholder, const QString &sign, const QString &body, bool numeric)
{
    const qsizetype fill = placeholder.Width - sign.size() - body.size();
    if (fill <= 0)
        return sign + body;
    if (placeholder.LeftAlign)
        return sign + body + QString(fill, ' ');
    if (numeric && placeholder.ZeroPad)
        return sign + QString(fill, '0') + body;
    return QString(fill, ' ') + sign + body;
}

QString SignOf(bool negative, const TPlaceholder &placeholder)
{
    if (negative)
        return QStringLiteral("-");
    if (placeholder.PlusSign)
        return QStringLiteral("+");
    if (placeholder.SpaceSign)
        return QStringLiteral(" ");
    return {};
}

std::optional<QString> FormatWhole(const TPlaceholder &placeholder, const QVariant &value)
{
    if (!IsWholeNumber(value))
        return std::nullopt;
    const char conversion = placeholder.Conversion.toLatin1();
    QString body;
    bool negative = false;
    if (conversion == 'd' || conversion == 'i') {
        if (IsUnsigned(value)) {
            body = QString::number(value.toULongLong());
        } else {
            const qlonglong v = value.toLongLong();
            negative = v < 0;
            body = QString::number(v).remove('-');
        }
    } else {
        // Unsigned views of a signed value keep its own width, as in C.
        qulonglong v = value.toULongLong();
        if (!IsUnsigned(value) && value.toLongLong() < 0 && value.typeId() != QMetaType::LongLong
            && value.typeId() != QMetaType::Long)
            v = quint32(value.toLongLong());
        body = conversion == 'u' ? QString::number(v) : QString::number(v, 16);
        if (conversion == 'X')
            body = body.toUpper();
    }
    TPlaceholder padding = placeholder;
    if (placeholder.Precision >= 0) {
        if (body.size() < placeholder.Precision)
            body.prepend(QString(placeholder.Precision - body.size(), '0'));
        padding.ZeroPad = false;
    }
    const bool signedConversion = conversion == 'd' || conversion == 'i';
    return Pad(padding, signedConversion ? SignOf(negative, placeholder) : QString(), body, true);
}

std::optional<QString> FormatReal(const TPlaceholder &placeholder, const QVariant &value)
{
    if (!IsNumber(value))
        return std::nullopt;
    const double v = value.toDouble();
    const char conversion = placeholder.Conversion.toLatin1();
    const int precision = placeholder.Precision >= 0 ? placeholder.Precision : 6;
    QString body = QString::number(qAbs(v), conversion, conversion == 'g' || conversion == 'G' ? qMax(precision, 1) : precision);
    const QString point = NumberLocale().decimalPoint();
    if (!point.isEmpty() && point != QStringLiteral("."))
        body.replace('.', point);
    return Pad(placeholder, SignOf(v < 0 || (v == 0 && std::signbit(v)), placeholder), body, qIsFinite(v));
}

std::optional<QString> FormatString(const TPlaceholder &placeholder, const QVariant &value)
{
    QString text;
    if (value.typeId() == QMetaType::QString)
        text = value.toString();
    else if (value.typeId() == QMetaType::QChar)
        text = value.toChar();
    else
        return std::nullopt;
    if (placeholder.Precision >= 0)
        text.truncate(placeholder.Precision);
    return Pad(placeholder, {}, text, false);
}

std::optional<QString> FormatChar(const TPlaceholder &placeholder, const QVariant &value)
{
    if (value.typeId() == QMetaType::QChar)
        return Pad(placeholder, {}, value.toChar(), false);
    if (IsWholeNumber(value) && value.toLongLong() >= 0 && value.toLongLong() <= 0xFFFF)
        return Pad(placeholder, {}, QChar(char16_t(value.toLongLong())), false);
    return std::nullopt;
}

std::optional<QString> FormatValue(const TPlaceholder &placeholder, const QVariant &value)
{
    switch (placeholder.Conversion.toLatin1()) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
        return FormatWhole(placeholder, value);
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        return FormatReal(placeholder, value);
    case 's':
        return FormatString(placeholder, value);
    case 'c':
        return FormatChar(placeholder, value);
    default:
        return std::nullopt;
    }
}

} // namespace

bool TryFormatText(const QString &format, const QVariantList &args, QString &result)
{
    QString out;
    out.reserve(format.size());
    qsizetype argIndex = 0;
    qsizetype pos = 0;
    while (pos < format.size()) {
        const QChar ch = format.at(pos++);
        if (ch != '%') {
            out += ch;
            continue;
        }
        if (pos < format.size() && format.at(pos) == '%') {
            out += '%';
            ++pos;
            continue;
        }
        const std::optional<TPlaceholder> placeholder = ParsePlaceholder(format, pos);
        if (!placeholder || argIndex >= args.size())
            return false;
        const std::optional<QString> text = FormatValue(*placeholder, args.at(argIndex++));
        if (!text)
            return false;
        out += *text;
    }
    result = out;
    return true;
}

QString FormatOrKeep(const QString &format, const QVariantList &args)
{
    QString result;
    return TryFormatText(format, args, result) ? result : format;
}
