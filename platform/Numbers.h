#pragma once
// Number helpers shared by every subsystem: rounding as the program expects
// it, MulDiv for pixel scaling, and the conversions between reals and the
// texts the learner reads and types (locale decimal separator).

#include <QChar>
#include <QString>

#include <cstdint>

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// NaN, infinities and values outside 64 bits raise ERangeError.
int64_t Round(long double value);
// Towards zero, with the same range check as Round.
int64_t Trunc(long double value);

// a * b / c computed in 64 bits and rounded half away from zero; -1 when c is
// 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

// The decimal separator used by FloatToStrG and StrToFloat. It starts as the
// system locale's and may be changed (tests fix it).
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);

// General format with `digits` significant digits: fixed notation when
// 1E-5 <= |value| and the integer part has at most `digits` digits, otherwise
// scientific ("1.2246E-16", "1.2346E5"); trailing zeros removed. Infinities
// and NaN give "INF", "-INF" and "NAN".
QString FloatToStrG(long double value, int digits);

// Text to real, blanks around the number allowed, the decimal separator as
// above. StrToFloat raises EConvertError ("'x' is not a valid floating point
// value"); TryStrToFloat reports failure instead.
bool TryStrToFloat(const QString& text, long double& value);
long double StrToFloat(const QString& text);

// Decimal integer text (blanks around allowed, optional sign); `fallback`
// when it is not one or does not fit in 32 bits.
int StrToIntDef(const QString& text, int fallback);
