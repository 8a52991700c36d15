#pragma once

#include <string>
#include <string_view>

namespace bosquell {

// True when the whole text, apart from leading and trailing spaces, is one decimal number:
// an optional sign, digits with an optional point (at least one digit), then optionally
// E or e, an optional sign and at least one digit.
bool TextIsNumeric(std::string_view text);

// The value of the leading decimal number of the text, read from the left. Blanks, tabs and
// line feeds are skipped wherever they stand, so "1 2" reads as 12. Reading stops at the first
// character that cannot continue the number; a text that does not begin with one reads as 0.
// A value beyond the range of a double reads as an infinity of its sign.
double TextValue(std::string_view text);

// Plain decimal text of a value as mission files carry it: shortest round-trip digits, no
// point for a whole value, no leading blank, never "-0"; tiny fractions too ("0.000000256").
// Only values whose magnitude leaves the range of exact integers in a double use an exponent.
std::string NumberText(double value);

// Rounds to the nearest whole number, a half to its even neighbour (1.5 -> 2, 2.5 -> 2).
double RoundHalfEven(double value);

}  // namespace bosquell
