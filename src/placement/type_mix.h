#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "placement/theme_slots.h"

namespace bosquell {

// The types one layer draws from: a built-in theme or own id, picked exactly as the main window
// picks them, or own ids with weights, each picked with probability weight / sum of weights.
// Either way one pick takes one random unit.
class TypeMix {
 public:
  explicit TypeMix(ObjectTypes types) : mix_(std::move(types)) {}

  // Nothing without a type, or for a weight that is not a positive finite number, or weights
  // whose sum is no finite number.
  static std::optional<TypeMix> Weighted(std::vector<std::string> typeTexts,
                                         const std::vector<double>& weights);

  // A theme or own id: Pick of its slots. Weighted: the first type whose cumulative weight
  // exceeds r * sum (the last one should rounding leave none).
  const std::string& Pick(float r) const;

 private:
  struct WeightedTypes {
    std::vector<std::string> typeTexts;
    std::vector<double> cumulative;  // each type's weight added to those before it, in order
  };
  explicit TypeMix(WeightedTypes types) : mix_(std::move(types)) {}

  std::variant<ObjectTypes, WeightedTypes> mix_;
};

}  // namespace bosquell
