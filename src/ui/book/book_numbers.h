// How the book prints numbers: one rule for every page. The accounts carry every value at full
// precision (ventora-calc --steps gives them as data); the book prints a value as an engineer
// writes it, with a few significant digits and its whole part always complete, and gives a step
// more digits only where a checker who recomputes the step from its printed values would
// otherwise not reach its printed result. A result the regulation rounds (向下取整) is printed
// exactly as the message shows it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "account/account.h"

namespace ventora::book {

// The significant digits a value gets unless its step needs more.
inline constexpr int book_digits = 5;

// `value` with `digits` significant digits, never fewer than its whole part has (96531.137 at 5
// digits is 96531), written as a message writes a number (no trailing zeros, 1.5E-07).
std::string rounded_text(double value, int digits);

// Every number of a free text (a conclusion, a note) that carries more than book_digits
// significant digits, rounded to book_digits; shorter numbers stay as written.
std::string shortened(std::string_view text);

// The value of an arithmetic expression in the account notation (numbers, + − · × /, ^{…},
// parentheses, √(…), sin(…), ln(…), lg(…) and π); nothing when the text is not one (a symbol, a
// word).
std::optional<double> evaluate(std::string_view expression);

// A step's substitution and result as the book prints them.
struct printed_step {
    std::string substituted;
    std::string value;
    // The significant digits its substituted values needed (its results have book_digits); 0 when
    // no precision reaches the result and the step is printed as the account wrote it.
    int digits = book_digits;
};
printed_step printed(const account::step& s);

}  // namespace ventora::book
