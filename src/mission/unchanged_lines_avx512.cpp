// Compiled for AVX-512BW and called only where the processor has it. Nothing here may be shared
// with other files (no inline functions of any header but the intrinsics'), so that no code built
// for AVX-512 can be picked by the linker for a caller on a processor without it.
#include <immintrin.h>

#include "mission/unchanged_lines_wide.h"

namespace bosquell {

const char* SkipPlainSteps64(const char* from, const char* end, LineEndMarks& marks) {
  constexpr int kLookahead = 5;  // "\r\n  i": the last byte looked at is 5 further
  using Mask = unsigned long long;
  const auto equal = [](const char* at, char c) -> Mask {
    return _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(at), _mm512_set1_epi8(c));
  };
  // Kept in locals: the bytes read may alias anything, which would tie the marks to memory.
  const char* lastCarriageReturn = marks.lastCarriageReturn;
  const char* lastIdStart = marks.lastIdStart;
  const char* openIdStart = marks.openIdStart;
  const auto done = [&](const char* at) {
    marks.lastCarriageReturn = lastCarriageReturn;
    marks.lastIdStart = lastIdStart;
    marks.openIdStart = openIdStart;
    return at;
  };
  for (; end - from >= 64 + kLookahead; from += 64) {
    const Mask cr = equal(from, '\r');
    if (cr == 0) continue;
    const Mask crLf = cr & equal(from + 1, '\n');
    const Mask blanks = crLf & equal(from + 2, ' ') & equal(from + 3, ' ');
    const Mask lone = cr & ~crLf;
    const Mask countStart = blanks & equal(from + 4, 'n');
    if ((lone | countStart) != 0) return done(from);
    const Mask ids = blanks & equal(from + 4, 'i') & equal(from + 5, 'd');
    // Every CR here has its LF. An id line after the last of them is still open; the others
    // end at a later CR of this step.
    const int lastCr = 63 - __builtin_clzll(cr);
    lastCarriageReturn = from + lastCr;
    if (openIdStart != nullptr) lastIdStart = openIdStart;
    openIdStart = nullptr;
    const Mask closedIds = ids & ~(Mask{1} << lastCr);
    if (closedIds != 0) lastIdStart = from + (63 - __builtin_clzll(closedIds)) + 2;
    if (ids != closedIds) openIdStart = from + lastCr + 2;
  }
  return done(from);
}

}  // namespace bosquell
