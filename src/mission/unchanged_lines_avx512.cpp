// Built for AVX-512BW; see plain_steps.inc for why nothing here may be shared with other files.
#include <immintrin.h>

#include "mission/unchanged_lines_wide.h"
// Included after the declarations it uses.
#include "mission/plain_steps.inc"

namespace bosquell {

const char* SkipPlainSteps64(const char* from, const char* end, LineEndMarks& marks) {
  // The comparisons give masks of one bit a byte straight away.
  const auto equal = [](const char* at, char c) {
    return static_cast<unsigned long long>(
        _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(at), _mm512_set1_epi8(c)));
  };
  const auto bits = [](unsigned long long mask) { return mask; };
  return SkipPlainSteps<64>(from, end, marks, equal, bits);
}

}  // namespace bosquell
