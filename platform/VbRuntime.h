#pragma once
// The few Visual Basic runtime semantics the programs rely on, kept in one place.

#include <QString>
#include <QTime>
#include <QVariant>
#include <cstdint>
#include <optional>

class QTimer;

namespace Vb {

// Val: the number at the start of the text. Blanks, tabs and line feeds are skipped anywhere
// in it; an optional sign, digits, one decimal point and an exponent (E or D) are read;
// "&H" and "&O" read hexadecimal and octal. Anything else ends the number; no number gives 0.
double Val(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour (as CInt, CLng, Round do).
double RoundHalfEven(double value);

// Int: the largest whole number not above the value (Int(-1.5) = -2).
double Int(double value);

// Fix: the whole part, towards zero (Fix(-1.5) = -1).
double Fix(double value);

// Mod: both operands rounded half to even first; the remainder takes the dividend's sign.
// Mod by zero gives 0 (the caller's error is swallowed rather than raised).
int64_t Mod(double dividend, double divisor);

// 16-bit and 32-bit integer ranges.
inline constexpr int Int16Min = -32768;
inline constexpr int Int16Max = 32767;
bool fitsInt16(double value);
// CInt: rounded half to even; no value when the result lies outside the 16-bit range.
std::optional<int16_t> toInt16(double value);
// CLng: rounded half to even; no value outside the 32-bit range.
std::optional<int32_t> toInt32(double value);
// CInt for the callers that want a value in any case: out-of-range gives fallback.
int16_t toInt16Or(double value, int16_t fallback);

// Format of a number with a digit mask: "0" digits are always written, "#" only when
// needed, a "." in the mask gives that many decimals (rounded half away from zero, as
// Format does). Examples: Format(5, "00") = "05", Format(7, "0000") = "0007",
// Format(3.14159, "0.00") = "3.14", Format(1234, "#") = "1234".
QString Format(double value, const QString& mask);

// Format of a clock time: "hh", "h", "nn" or "mm" (minutes), "ss", ":" and other characters
// literal. "hh:mm:ss" gives 24-hour time with two digits per field.
QString FormatTime(const QTime& time, const QString& mask);

// CStr of a variant: booleans "True"/"False", whole doubles without decimals, others as text.
QString CStr(const QVariant& value);

// CBool of a text: "True"/"False" in any case, or a number (non-zero is True).
bool CBool(const QString& text);

// Hex: upper-case hexadecimal without leading zeros.
QString Hex(uint32_t value);

// A timer as a form's Timer control: interval 0 never fires, whatever Enabled says.
void setTimer(QTimer& timer, int intervalMs, bool enabled);

}  // namespace Vb
