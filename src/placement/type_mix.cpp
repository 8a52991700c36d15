#include "placement/type_mix.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace bosquell {

std::optional<TypeMix> TypeMix::Weighted(std::vector<std::string> typeTexts,
                                         const std::vector<double>& weights) {
  if (typeTexts.empty() || typeTexts.size() != weights.size()) return std::nullopt;
  WeightedTypes types{std::move(typeTexts), {}};
  double sum = 0;
  for (const double weight : weights) {
    if (!(weight > 0) || !std::isfinite(weight)) return std::nullopt;
    sum += weight;
    types.cumulative.push_back(sum);
  }
  if (!std::isfinite(sum)) return std::nullopt;
  return TypeMix(std::move(types));
}

const std::string& TypeMix::Pick(float r) const {
  if (const auto* types = std::get_if<ObjectTypes>(&mix_)) {
    return bosquell::Pick(types->Slots(), types->TopSlot(), r);
  }
  const auto& weighted = std::get<WeightedTypes>(mix_);
  const double drawn = static_cast<double>(r) * weighted.cumulative.back();
  const auto first =
      std::upper_bound(weighted.cumulative.begin(), weighted.cumulative.end(), drawn);
  const auto index = std::min<std::size_t>(
      static_cast<std::size_t>(first - weighted.cumulative.begin()), weighted.typeTexts.size() - 1);
  return weighted.typeTexts[index];
}

}  // namespace bosquell
