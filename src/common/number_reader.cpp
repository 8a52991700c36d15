#include "common/number_reader.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace bosquell {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
// Skipped wherever they stand, even between digits, as TextValue does.
bool IsSkipped(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// An exponent beyond this already takes any value out of a double's range; larger ones are
// held at it, so the arithmetic below cannot overflow.
constexpr std::int64_t kExponentCap = 1'000'000'000'000'000;
// Decimal magnitudes beyond these are an infinity or a zero whatever the digits.
constexpr std::int64_t kMagnitudeAboveRange = 400;
constexpr std::int64_t kMagnitudeBelowRange = -400;

}  // namespace

void NumberReader::AddMantissaDigit(char digit, bool inFraction) {
  anyMantissaDigit_ = true;
  if (keptCount_ == 0 && digit == '0') {
    if (inFraction) --scale_;  // a leading zero of the fraction only moves the point
    return;
  }
  if (keptCount_ < kKeptDigits) {
    kept_[keptCount_++] = digit;
    if (inFraction) --scale_;
    return;
  }
  if (digit != '0') droppedNonZero_ = true;
  if (!inFraction) ++scale_;  // a dropped integer digit still counts for the magnitude
}

bool NumberReader::Feed(std::string_view piece) {
  for (const char c : piece) {
    if (IsSkipped(c)) continue;
    switch (state_) {
      case State::kStart:
        if (c == '+' || c == '-') {
          negative_ = c == '-';
          state_ = State::kSign;
          continue;
        }
        [[fallthrough]];
      case State::kSign:
        if (IsDigit(c)) {
          AddMantissaDigit(c, false);
          state_ = State::kInteger;
        } else if (c == '.') {
          state_ = State::kFraction;
        } else {
          state_ = State::kEnded;
        }
        continue;
      case State::kInteger:
      case State::kFraction:
        if (IsDigit(c)) {
          AddMantissaDigit(c, state_ == State::kFraction);
        } else if (c == '.' && state_ == State::kInteger) {
          state_ = State::kFraction;
        } else if ((c == 'e' || c == 'E') && anyMantissaDigit_) {
          state_ = State::kExponentStart;
        } else {
          state_ = State::kEnded;
        }
        continue;
      case State::kExponentStart:
        if (c == '+' || c == '-') {
          exponentNegative_ = c == '-';
          state_ = State::kExponentSign;
          continue;
        }
        [[fallthrough]];
      case State::kExponentSign:
      case State::kExponent:
        if (IsDigit(c)) {
          anyExponentDigit_ = true;
          if (exponent_ < kExponentCap) exponent_ = exponent_ * 10 + (c - '0');
          state_ = State::kExponent;
        } else {
          state_ = State::kEnded;
        }
        continue;
      case State::kEnded:
        return false;
    }
  }
  return state_ != State::kEnded;
}

std::int64_t NumberReader::DigitsAndExponent(std::string& digits) const {
  digits.assign(kept_, static_cast<std::size_t>(keptCount_));
  std::int64_t exponent = scale_;
  if (droppedNonZero_) {
    // Any digit past the kept ones that is not zero puts the value strictly between the kept
    // digits and the next number of as many digits; a final 1 does the same.
    digits += '1';
    --exponent;
  }
  if (anyExponentDigit_) exponent += exponentNegative_ ? -exponent_ : exponent_;
  return exponent;
}

double NumberReader::Value() const {
  if (!anyMantissaDigit_) return 0.0;
  std::string digits;
  const std::int64_t exponent = DigitsAndExponent(digits);
  double value = 0;
  if (!digits.empty()) {
    const std::int64_t magnitude = exponent + static_cast<std::int64_t>(digits.size()) - 1;
    if (magnitude > kMagnitudeAboveRange) {
      value = std::numeric_limits<double>::infinity();
    } else if (magnitude >= kMagnitudeBelowRange) {
      char text[24];
      const auto end = std::to_chars(text, text + sizeof text, exponent).ptr;
      digits += 'e';
      digits.append(text, end);
      const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
      if (result.ec == std::errc::result_out_of_range) {
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
      }
    }
  }
  return negative_ ? -value : value;
}

std::string NumberReader::Text() const {
  if (!anyMantissaDigit_) return "";
  std::string digits;
  const std::int64_t exponent = DigitsAndExponent(digits);
  std::string text = negative_ ? "-" : "";
  if (digits.empty()) return text + "0";
  char exponentText[24];
  const auto end = std::to_chars(exponentText, exponentText + sizeof exponentText, exponent).ptr;
  return text + digits + 'e' + std::string(exponentText, end);
}

}  // namespace bosquell
