// Compiled for AVX2 and called only where the processor has it. Nothing here may be shared with
// other files (no inline functions of any header but the intrinsics'), so that no code built for
// AVX2 can be picked by the linker for a caller on a processor without it.
#include "mission/unchanged_lines_wide.h"

#include <immintrin.h>

namespace bosquell {

const char* SkipPlainSteps32(const char* from, const char* end, LineEndMarks& marks) {
  constexpr int kLookahead = 5;  // "\r\n  i": the last byte looked at is 5 further
  const auto load = [](const char* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  };
  const auto equal = [](__m256i bytes, char c) {
    return _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c));
  };
  const auto bits = [](__m256i mask) { return static_cast<unsigned>(_mm256_movemask_epi8(mask)); };
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
  for (; end - from >= 32 + kLookahead; from += 32) {
    const __m256i cr = equal(load(from), '\r');
    const unsigned crBits = bits(cr);
    if (crBits == 0) continue;
    const __m256i crLf = _mm256_and_si256(cr, equal(load(from + 1), '\n'));
    const __m256i blanks = _mm256_and_si256(_mm256_and_si256(crLf, equal(load(from + 2), ' ')),
                                            equal(load(from + 3), ' '));
    const __m256i fifth = load(from + 4);
    const unsigned lone = crBits & ~bits(crLf);
    const unsigned countStart = bits(equal(fifth, 'n')) & bits(blanks);
    if ((lone | countStart) != 0) return done(from);
    const unsigned ids = bits(
        _mm256_and_si256(_mm256_and_si256(blanks, equal(fifth, 'i')), equal(load(from + 5), 'd')));
    // Every CR here has its LF. An id line after the last of them is still open; the others
    // end at a later CR of this step.
    const int lastCr = 31 - __builtin_clz(crBits);
    lastCarriageReturn = from + lastCr;
    if (openIdStart != nullptr) lastIdStart = openIdStart;
    openIdStart = nullptr;
    const unsigned closedIds = ids & ~(1u << lastCr);
    if (closedIds != 0) lastIdStart = from + (31 - __builtin_clz(closedIds)) + 2;
    if (ids != closedIds) openIdStart = from + lastCr + 2;
  }
  return done(from);
}

}  // namespace bosquell
