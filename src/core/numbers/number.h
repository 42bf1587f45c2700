// Number handling shared by every calculation and every window: the value that may be unset,
// reading a number from the text of an input box, and writing one into a message.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ventora {

// A working number of a calculation. Unset until a step gives it a value; an unset value counts
// as 0 in arithmetic and comparisons and is written as the empty text.
using number = std::optional<double>;

// The value an unset number stands for in arithmetic.
constexpr double value_or_zero(const number& n) { return n.value_or(0.0); }

// Reads the text of an input box as a decimal number.
//
// Accepted: blanks around it, an optional sign, digits with an optional decimal point (at least one
// digit on either side of the point), and an optional exponent (e or E, optional sign, digits).
// Full-width forms typed with a Chinese input method (０-９, ．, ＋, －, ｅ, Ｅ and the
// ideographic blank) read like their ASCII counterparts.
// Anything else (the empty text, letters, group separators, a decimal comma) gives unset.
// A magnitude beyond the double range gives unset; a magnitude below the smallest double reads
// as 0 with its sign.
number parse_number(std::string_view text);

// Writes a double-precision value the way a message shows it: the shortest general decimal form
// with up to 15 significant digits, no group separators, no trailing zeros and no decimal point
// for whole values (8610, 1500.7, 10533.2059624493). Magnitudes of 1E+15 and above or below
// 0.0001 are written in exponent form with a signed exponent of at least two digits (1E+15,
// 1.5E-07), as the general format of the original platform does. Unset gives the empty text.
// Negative zero is written 0.
std::string format_double(const number& value);

// The same for a single-precision value: up to 7 significant digits, exponent form from 1E+07
// (6.28 for the single nearest 6.28, 1.234568E+07).
std::string format_single(const std::optional<float>& value);

// Rounds a double to single precision, as storing into a single-precision variable does.
// Unset when the magnitude is beyond the single range (the store overflows).
std::optional<float> to_single(double value);

}  // namespace ventora
