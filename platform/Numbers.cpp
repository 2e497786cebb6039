#include "platform/Numbers.h"

#include "platform/Exceptions.h"

#include <QLocale>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

QChar& Separator()
{
    static QChar separator = QLocale::system().decimalPoint().isEmpty()
                                 ? QChar('.')
                                 : QLocale::system().decimalPoint().at(0);
    return separator;
}

void CheckInt64Range(long double value)
{
    // 2^63 is exactly representable in long double; anything at or beyond it
    // (and NaN) cannot be converted.
    constexpr long double limit = 9223372036854775808.0L;
    if (!(value > -limit - 1.0L && value < limit))
        throw ERangeError("Invalid floating point operation");
}

} // namespace

int64_t Round(long double value)
{
    CheckInt64Range(value);
    const long double floor = std::floor(value);
    const long double diff = value - floor;
    long double result = floor;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(floor, 2.0L) != 0.0L))
        result = floor + 1.0L;
    CheckInt64Range(result);
    return static_cast<int64_t>(result);
}

int64_t Trunc(long double value)
{
    CheckInt64Range(value);
    return static_cast<int64_t>(value);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    int64_t quotient = product / c;
    const int64_t remainder = product % c;
    // Round half away from zero: compare twice the remainder with the divisor.
    if (std::llabs(remainder) * 2 >= std::llabs(static_cast<int64_t>(c)))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(quotient);
}

QChar DecimalSeparator() { return Separator(); }
void SetDecimalSeparator(QChar separator) { Separator() = separator; }

QString FloatToStrG(long double value, int digits)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    digits = std::max(1, std::min(digits, 18));
    if (value == 0.0L)
        return QStringLiteral("0");

    // %Le rounds correctly to `digits` significant digits and tells the
    // decimal exponent of the rounded value.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", digits - 1, value);
    const QString text = QString::fromLatin1(buffer);
    const int ePos = text.indexOf(QLatin1Char('e'));
    const int exponent = text.mid(ePos + 1).toInt();
    const bool negative = text.startsWith(QLatin1Char('-'));
    QString mantissa = text.left(ePos);
    mantissa.remove(QLatin1Char('-'));
    mantissa.remove(QLatin1Char('.'));
    while (mantissa.size() > 1 && mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);

    QString result;
    if (exponent >= -5 && exponent < digits) {
        if (exponent >= 0) {
            QString whole = mantissa.left(exponent + 1);
            whole = whole.leftJustified(exponent + 1, QLatin1Char('0'));
            const QString fraction = mantissa.mid(exponent + 1);
            result = fraction.isEmpty() ? whole : whole + Separator() + fraction;
        } else {
            result = QStringLiteral("0") + Separator() + QString(-exponent - 1, QLatin1Char('0')) + mantissa;
        }
    } else {
        result = mantissa.left(1);
        if (mantissa.size() > 1)
            result += Separator() + mantissa.mid(1);
        result += QStringLiteral("E") + QString::number(exponent);
    }
    return negative ? QStringLiteral("-") + result : result;
}

bool TryStrToFloat(const QString& text, long double& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    // Accept exactly: [sign] digits [sep digits] [E [sign] digits], with at
    // least one digit in the mantissa; the separator is the locale's only.
    QByteArray ascii;
    int i = 0;
    const int n = trimmed.size();
    auto digitsFrom = [&](int& pos) {
        const int start = pos;
        while (pos < n && trimmed.at(pos).isDigit() && trimmed.at(pos).unicode() < 128)
            ascii.append(char(trimmed.at(pos++).unicode()));
        return pos - start;
    };
    if (i < n && (trimmed.at(i) == QLatin1Char('+') || trimmed.at(i) == QLatin1Char('-')))
        ascii.append(char(trimmed.at(i++).unicode()));
    int mantissaDigits = digitsFrom(i);
    if (i < n && trimmed.at(i) == Separator()) {
        ascii.append('.');
        ++i;
        mantissaDigits += digitsFrom(i);
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (trimmed.at(i) == QLatin1Char('e') || trimmed.at(i) == QLatin1Char('E'))) {
        ascii.append('e');
        ++i;
        if (i < n && (trimmed.at(i) == QLatin1Char('+') || trimmed.at(i) == QLatin1Char('-')))
            ascii.append(char(trimmed.at(i++).unicode()));
        if (digitsFrom(i) == 0)
            return false;
    }
    if (i != n)
        return false;
    value = std::strtold(ascii.constData(), nullptr);
    return true;
}

long double StrToFloat(const QString& text)
{
    long double value = 0;
    if (!TryStrToFloat(text, value))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

int StrToIntDef(const QString& text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}
