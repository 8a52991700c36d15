// Built for AVX2; see plain_steps.inc for why nothing here may be shared with other files.
#include <immintrin.h>

#include "mission/unchanged_lines_wide.h"
// Included after the declarations it uses.
#include "mission/plain_steps.inc"

namespace bosquell {
namespace {

// 32 lanes of a comparison, combined as vectors before they are turned into bits.
struct Lanes {
  __m256i lanes;
  Lanes operator&(Lanes other) const { return {_mm256_and_si256(lanes, other.lanes)}; }
};

}  // namespace

const char* SkipPlainSteps32(const char* from, const char* end, LineEndMarks& marks) {
  const auto equal = [](const char* at, char c) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    return Lanes{_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c))};
  };
  const auto bits = [](Lanes lanes) {
    return static_cast<unsigned>(_mm256_movemask_epi8(lanes.lanes));
  };
  return SkipPlainSteps<32>(from, end, marks, equal, bits);
}

}  // namespace bosquell
