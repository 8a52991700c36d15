#include "mission/unchanged_lines.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "mission/line_break_scan.h"
#include "mission/mission_lines.h"
#include "mission/unchanged_lines_wide.h"

namespace bosquell {
namespace {

// Where the scan stands: the last CR passed (each followed by LF), the start of the last id line
// known to end in CR LF, and the start of an id line whose end is not yet seen. These are all
// that is needed to place the end of the stretch and its last id line.
struct ScanState : LineEndMarks {
  // A CR LF ends the line before it: an id line there is now known to be whole.
  void PassLineEnd(const char* cr) {
    lastCarriageReturn = cr;
    if (openIdStart != nullptr) lastIdStart = openIdStart;
    openIdStart = nullptr;
  }
};

// The start of the line a CR closes, given the CR before it (or none).
const char* LineStartAfter(const char* begin, const char* previousCarriageReturn) {
  return previousCarriageReturn == nullptr ? begin : previousCarriageReturn + 2;
}

// Visits the CR at `cr`. Returns the end of the stretch when the scan stops here: before the
// line this CR closes when no LF follows it, or before the next line when that is a count line.
const char* VisitCarriageReturn(const char* begin, const char* end, const char* cr,
                                ScanState& state) {
  if (cr + 1 == end || cr[1] != '\n') return LineStartAfter(begin, state.lastCarriageReturn);
  state.PassLineEnd(cr);
  const std::string_view next(cr + 2, static_cast<std::size_t>(end - cr - 2));
  if (next.starts_with(kIdLinePrefix)) state.openIdStart = cr + 2;
  if (next.starts_with(kCountLinePrefix)) return cr + 2;
  return nullptr;
}

#ifdef BOSQUELL_HAVE_SSE2
// Sixteen positions at a time: CRs that no LF follows, and CR LF followed by two blanks and the
// letter that starts "id" or "num_items". Only these need a closer look; an ordinary line costs
// nothing of its own. Returns the end of the stretch, or nullptr with `from` at the first byte
// left for the byte-wise scan.
const char* ScanSixteenAtATime(const char* begin, const char* end, const char*& from,
                               ScanState& state, int widest) {
  const auto load = [](const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  };
  const auto equal = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
  constexpr std::ptrdiff_t kLookahead = 5;  // "\r\n  i": the last byte looked at is 5 further
  for (; end - from >= 16 + kLookahead; from += 16) {
#ifdef BOSQUELL_HAVE_WIDE_SCAN
    // Plain stretches go 64 or 32 bytes at a time; what needs a closer look comes back here.
    if (widest >= 32) {
      from = widest >= 64 ? SkipPlainSteps64(from, end, state) : SkipPlainSteps32(from, end, state);
      if (end - from < 16 + kLookahead) break;
    }
#else
    static_cast<void>(widest);
#endif
    const __m128i cr = equal(load(from), '\r');
    const auto crBits = static_cast<unsigned>(_mm_movemask_epi8(cr));
    if (crBits == 0) continue;
    const __m128i crLf = _mm_and_si128(cr, equal(load(from + 1), '\n'));
    const __m128i blanks =
        _mm_and_si128(_mm_and_si128(crLf, equal(load(from + 2), ' ')), equal(load(from + 3), ' '));
    const __m128i fifth = load(from + 4);
    const __m128i idStart =
        _mm_and_si128(_mm_and_si128(blanks, equal(fifth, 'i')), equal(load(from + 5), 'd'));
    const auto lone = crBits & ~static_cast<unsigned>(_mm_movemask_epi8(crLf));
    const auto countStart = static_cast<unsigned>(_mm_movemask_epi8(equal(fifth, 'n'))) &
                            static_cast<unsigned>(_mm_movemask_epi8(blanks));
    const auto ids = static_cast<unsigned>(_mm_movemask_epi8(idStart));
    if ((lone | countStart) != 0) {
      // Something ends the stretch here, or looks like it: take this block CR by CR.
      for (unsigned bits = crBits; bits != 0; bits &= bits - 1) {
        const char* stop = VisitCarriageReturn(begin, end, from + std::countr_zero(bits), state);
        if (stop != nullptr) return stop;
      }
      continue;
    }
    // Every CR here has its LF. An id line after the last of them is still open; the others
    // end at a later CR of this block.
    const int lastCr = 31 - std::countl_zero(crBits);
    state.PassLineEnd(from + lastCr);
    const unsigned closedIds = ids & ~(1u << lastCr);
    if (closedIds != 0) state.lastIdStart = from + (31 - std::countl_zero(closedIds)) + 2;
    if (ids != closedIds) state.openIdStart = from + lastCr + 2;
  }
  return nullptr;
}
#endif

}  // namespace

int WidestScanStep() {
#ifdef BOSQUELL_HAVE_WIDE_SCAN
  static const int widest = __builtin_cpu_supports("avx512bw") ? 64
                            : __builtin_cpu_supports("avx2")   ? 32
                                                               : 16;
  return widest;
#else
  return 16;
#endif
}

UnchangedLines ScanUnchangedLines(std::string_view bytes) {
  return ScanUnchangedLines(bytes, WidestScanStep());
}

UnchangedLines ScanUnchangedLines(std::string_view bytes, int widest) {
  widest = std::min(widest, WidestScanStep());
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  ScanState state;
  if (bytes.starts_with(kIdLinePrefix)) state.openIdStart = begin;
  const char* stop = bytes.starts_with(kCountLinePrefix) ? begin : nullptr;
  const char* from = begin;
#ifdef BOSQUELL_HAVE_SSE2
  if (stop == nullptr) stop = ScanSixteenAtATime(begin, end, from, state, widest);
#else
  static_cast<void>(widest);
#endif
  while (stop == nullptr) {
    from = FindCarriageReturn(from, end);
    if (from == end) {
      stop = LineStartAfter(begin, state.lastCarriageReturn);  // the last line is unfinished
      break;
    }
    stop = VisitCarriageReturn(begin, end, from, state);
    ++from;
  }

  UnchangedLines run;
  run.length = static_cast<std::size_t>(stop - begin);
  if (state.lastIdStart != nullptr && state.lastIdStart < stop) {
    const auto* idEnd = static_cast<const char*>(
        std::memchr(state.lastIdStart, '\r', static_cast<std::size_t>(stop - state.lastIdStart)));
    run.lastIdLine =
        std::string_view(state.lastIdStart, static_cast<std::size_t>(idEnd - state.lastIdStart));
  }
  return run;
}

}  // namespace bosquell
