#include "support/uCustomIni.h"

#include <QLocale>

#include <algorithm>
#include <limits>

namespace {

QChar &DecimalSeparatorSlot()
{
    static QChar separator = QLocale::system().decimalPoint().isEmpty()
        ? QChar('.') : QLocale::system().decimalPoint().at(0);
    return separator;
}

bool ParseDigits(QStringView digits, int base, bool negative, int &value)
{
    if (digits.isEmpty())
        return false;
    qint64 magnitude = 0;
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    for (const QChar ch : digits) {
        const int d = ch.isDigit() ? ch.digitValue()
            : (base == 16 && ch.toLower() >= 'a' && ch.toLower() <= 'f') ? ch.toLower().unicode() - 'a' + 10
            : -1;
        if (d < 0 || d >= base)
            return false;
        magnitude = magnitude * base + d;
        // Hexadecimal text may spell the full 32-bit pattern ($FFFFFFFF = -1).
        if (magnitude > (base == 16 ? qint64(0xFFFFFFFF) : limit))
            return false;
    }
    if (base == 16 && !negative && magnitude > std::numeric_limits<int>::max())
        magnitude -= qint64(1) << 32;
    value = int(negative ? -magnitude : magnitude);
    return true;
}

bool EndsLine(QChar c)
{
    switch (c.unicode()) {
    case 0x00: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

} // namespace

QString IniLineText(const QString &text)
{
    if (std::none_of(text.cbegin(), text.cend(), EndsLine))
        return text;
    QString line;
    line.reserve(text.size());
    for (const QChar c : text)
        if (!EndsLine(c))
            line += c;
    return line;
}

QChar CurrentDecimalSeparator()
{
    return DecimalSeparatorSlot();
}

TDecimalSeparatorScope::TDecimalSeparatorScope(QChar separator)
    : FPrevious(DecimalSeparatorSlot())
{
    DecimalSeparatorSlot() = separator;
}

TDecimalSeparatorScope::~TDecimalSeparatorScope()
{
    DecimalSeparatorSlot() = FPrevious;
}

bool TryStrToInt(const QString &text, int &value)
{
    QStringView s = QStringView(text).trimmed();
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        return ParseDigits(s.mid(2), 16, false, value);
    bool negative = false;
    if (!s.isEmpty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s = s.mid(1);
    }
    if (!s.isEmpty() && s[0] == '$')
        return ParseDigits(s.mid(1), 16, negative, value);
    return ParseDigits(s, 10, negative, value);
}

bool TryStrToFloat(const QString &text, double &value, QChar decimalSeparator)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return false;
    if (decimalSeparator != '.') {
        // Only the current separator is a decimal point.
        if (s.contains('.'))
            return false;
        s.replace(decimalSeparator, '.');
    }
    for (const QChar ch : s) {
        if (!(ch.isDigit() || ch == '.' || ch == '-' || ch == '+' || ch == 'e' || ch == 'E'))
            return false;
    }
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (ok)
        value = v;
    return ok;
}

int TCustomIniFile::ReadInteger(const QString &section, const QString &ident, int def) const
{
    int value = 0;
    return TryStrToInt(ReadString(section, ident, QString()), value) ? value : def;
}

void TCustomIniFile::WriteInteger(const QString &section, const QString &ident, int value)
{
    WriteString(section, ident, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString &section, const QString &ident, bool def) const
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString &section, const QString &ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString &section, const QString &ident, double def) const
{
    const QString text = ReadString(section, ident, QString());
    double value = 0;
    return TryStrToFloat(text, value, CurrentDecimalSeparator()) ? value : def;
}

void TCustomIniFile::WriteFloat(const QString &section, const QString &ident, double value)
{
    QString text = QString::number(value, 'g', 15);
    if (CurrentDecimalSeparator() != '.')
        text.replace('.', CurrentDecimalSeparator());
    WriteString(section, ident, text);
}

bool TCustomIniFile::SectionExists(const QString &section) const
{
    QStringList keys;
    ReadSection(section, keys);
    return !keys.isEmpty();
}

bool TCustomIniFile::ValueExists(const QString &section, const QString &ident) const
{
    QStringList keys;
    ReadSection(section, keys);
    return keys.contains(ident, Qt::CaseInsensitive);
}
