#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bosquell {

// Reads a number the way TextValue does, from text that arrives in pieces of any size, with
// memory that does not grow with the text. Only the first kKeptDigits significant digits are
// kept; the rest are summarised by a marker for "non-zero digits followed" and a count that
// moves the decimal exponent. 767 significant digits decide the nearest double to any decimal
// number, so the value comes out rounded exactly as from the whole text.
class NumberReader {
 public:
  static constexpr int kKeptDigits = 800;

  // Reads the next piece of the text. Returns false once the number has ended: what follows
  // cannot change it.
  bool Feed(std::string_view piece);
  bool Ended() const { return state_ == State::kEnded; }

  // The value of the text read so far, as TextValue gives it for that whole text.
  double Value() const;
  // A short text that TextValue reads as the same value.
  std::string Text() const;

 private:
  enum class State {
    kStart,
    kSign,
    kInteger,
    kFraction,
    kExponentStart,
    kExponentSign,
    kExponent,
    kEnded
  };
  void AddMantissaDigit(char digit, bool inFraction);
  // The significant digits as text and the decimal exponent of their last one; empty digits
  // for a zero.
  std::int64_t DigitsAndExponent(std::string& digits) const;

  State state_ = State::kStart;
  bool negative_ = false;
  bool anyMantissaDigit_ = false;
  char kept_[kKeptDigits] = {};
  int keptCount_ = 0;
  bool droppedNonZero_ = false;
  std::int64_t scale_ = 0;  // decimal exponent of the last kept digit, before the exponent part
  bool exponentNegative_ = false;
  bool anyExponentDigit_ = false;
  std::int64_t exponent_ = 0;  // saturates far beyond any double's range
};

}  // namespace bosquell
