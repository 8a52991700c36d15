#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace bosquell {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
// TextIsNumeric trims spaces only: a tab around an own id would otherwise reach the file.
bool IsBlank(char c) {
  return c == ' ';
}
// TextValue skips these wherever they stand, even between digits.
bool IsSkipped(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// Digits of a number gathered into a form std::from_chars reads: "[-]digits[.digits][e[-]digits]".
struct NumberParts {
  bool negative = false;
  std::string integer;
  std::string fraction;
  bool exponentNegative = false;
  std::string exponent;
};

// The decimal exponent of the leading significant digit, to tell an overflow from an underflow
// when the value leaves the range of a double.
long long MagnitudeOf(const NumberParts& parts) {
  long long exponent = 0;
  for (char c : parts.exponent) {
    exponent = exponent * 10 + (c - '0');
    if (exponent > 1'000'000'000) break;  // far beyond any double; stop before it overflows
  }
  if (parts.exponentNegative) exponent = -exponent;
  const auto firstSignificant = parts.integer.find_first_not_of('0');
  if (firstSignificant != std::string::npos) {
    return exponent + static_cast<long long>(parts.integer.size() - firstSignificant) - 1;
  }
  const auto leadingZeros = parts.fraction.find_first_not_of('0');
  if (leadingZeros == std::string::npos) return std::numeric_limits<long long>::min();  // zero
  return exponent - static_cast<long long>(leadingZeros) - 1;
}

double ValueOf(const NumberParts& parts) {
  std::string text = parts.integer.empty() ? "0" : parts.integer;
  if (!parts.fraction.empty()) text += '.' + parts.fraction;
  if (!parts.exponent.empty()) text += (parts.exponentNegative ? "e-" : "e") + parts.exponent;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    value = MagnitudeOf(parts) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return parts.negative ? -value : value;
}

// A magnitude below 1e-6 in plain decimal: the shortest round-trip digits of the exponent form
// ("2.56e-07"), moved behind the point and its leading zeros ("0.000000256").
std::string TinyFractionText(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t exponentAt = text.find('e');
  int exponent = 0;
  std::from_chars(text.data() + exponentAt + 1, text.data() + text.size(), exponent);
  std::string digits;
  for (char c : text.substr(0, exponentAt)) {
    if (IsDigit(c)) digits += c;
  }
  std::string plain = value < 0 ? "-0." : "0.";
  plain.append(static_cast<std::size_t>(-exponent - 1), '0');
  return plain + digits;
}

}  // namespace

bool TextIsNumeric(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::size_t i = 0;
  const auto digitsFrom = [&] {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - start;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t mantissaDigits = digitsFrom();
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissaDigits += digitsFrom();
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digitsFrom() == 0) return false;
  }
  return i == text.size();
}

double TextValue(std::string_view text) {
  std::size_t i = 0;
  // Next character that is not skipped, or '\0' at the end.
  const auto peek = [&]() -> char {
    while (i < text.size() && IsSkipped(text[i])) ++i;
    return i < text.size() ? text[i] : '\0';
  };
  NumberParts parts;
  if (const char c = peek(); c == '+' || c == '-') {
    parts.negative = c == '-';
    ++i;
  }
  while (IsDigit(peek())) parts.integer += text[i++];
  if (peek() == '.') {
    ++i;
    while (IsDigit(peek())) parts.fraction += text[i++];
  }
  if (parts.integer.empty() && parts.fraction.empty()) return 0.0;

  if (const char c = peek(); c == 'e' || c == 'E') {
    // The exponent counts only with at least one digit; otherwise the number ends before the E.
    ++i;
    bool negative = false;
    if (const char sign = peek(); sign == '+' || sign == '-') {
      negative = sign == '-';
      ++i;
    }
    while (IsDigit(peek())) parts.exponent += text[i++];
    parts.exponentNegative = negative && !parts.exponent.empty();
  }
  return ValueOf(parts);
}

std::string NumberText(double value) {
  if (value == 0 || std::isnan(value)) return "0";  // also turns -0 into 0
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  // Beyond 2^53 whole numbers are no longer exact: they take the exponent form. Everything
  // else is plain decimal with the shortest digits that read back to the same value.
  constexpr double kLargestExact = 9007199254740992.0;
  const double magnitude = std::fabs(value);
  if (magnitude < 1e-6) return TinyFractionText(value);
  char buffer[64];
  const auto result =
      magnitude < kLargestExact
          ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
          : std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double difference = value - lower;
  if (difference < 0.5) return lower;
  if (difference > 0.5) return lower + 1;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace bosquell
