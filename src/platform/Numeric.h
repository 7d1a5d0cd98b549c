#pragma once

#include <QString>

#include <cstdint>

// The runtime's numeric rules: conversions to integers round half to even, random draws take the floor.
namespace Numeric {

// Nearest integer, halves to the even neighbour; error 6 when the result leaves the 32-bit range.
int32_t Round(double value);
// Nearest 16-bit integer, halves to even; error 6 outside -32768..32767.
int16_t RoundToInteger(double value);
// Largest integer not above the value; error 6 outside the 32-bit range.
int32_t Floor(double value);

// The standard conversion of a text to a number: surrounding blanks allowed, a decimal point,
// an exponent and "&H" hexadecimal accepted; an empty or non-numeric text raises error 13.
double ToDouble(const QString& text);
// ToDouble, then Round (error 13 or 6).
int32_t ToLong(const QString& text);
// ToDouble, then RoundToInteger.
int16_t ToInteger(const QString& text);

}  // namespace Numeric
