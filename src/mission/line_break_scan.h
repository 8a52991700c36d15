#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "mission/mission_lines.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define BOSQUELL_HAVE_SSE2 1
#endif

namespace bosquell {

// The first CR in [from, end), or end. Mission lines are short, so eight bytes are tested at a
// time inline instead of calling memchr for every line.
inline const char* FindCarriageReturn(const char* from, const char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    while (end - from >= 8) {
      std::uint64_t word;
      std::memcpy(&word, from, sizeof word);
      const std::uint64_t x = word ^ (kOnes * '\r');
      // Sets the high bit of the first byte of x that is zero (exact for the lowest one).
      const std::uint64_t zeros = (x - kOnes) & ~x & kHighs;
      if (zeros != 0) return from + std::countr_zero(zeros) / 8;
      from += 8;
    }
  }
  while (from != end && *from != '\r') ++from;
  return from;
}

// Calls visit(position) for each CR in [begin, end) in order, until visit returns false.
// Sixteen bytes are compared at once where the processor has SSE2, which every x86-64 has.
template <typename Visit>
void ForEachCarriageReturn(const char* begin, const char* end, Visit visit) {
  const char* from = begin;
#ifdef BOSQUELL_HAVE_SSE2
  const __m128i carriageReturns = _mm_set1_epi8('\r');
  for (; end - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, carriageReturns)));
    while (found != 0) {
      if (!visit(from + std::countr_zero(found))) return;
      found &= found - 1;
    }
  }
#endif
  for (;;) {
    from = FindCarriageReturn(from, end);
    if (from == end || !visit(from)) return;
    ++from;
  }
}

// Calls visit(position) for each CR and each LF in [begin, end) in order, until visit returns
// false; sixteen bytes at a time where the processor has SSE2.
template <typename Visit>
void ForEachLineBreak(const char* begin, const char* end, Visit visit) {
  const char* from = begin;
#ifdef BOSQUELL_HAVE_SSE2
  const __m128i carriageReturns = _mm_set1_epi8('\r');
  const __m128i lineFeeds = _mm_set1_epi8('\n');
  for (; end - from >= 16; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    auto found = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, carriageReturns), _mm_cmpeq_epi8(bytes, lineFeeds))));
    while (found != 0) {
      if (!visit(from + std::countr_zero(found))) return;
      found &= found - 1;
    }
  }
#endif
  for (; from != end; ++from) {
    if ((*from == '\r' || *from == '\n') && !visit(from)) return;
  }
}

// The first byte in [from, end) that may end a line under `breaks`, or end: a CR, or while the
// breaks are unknown or where an LF ends lines too, a CR or an LF.
inline const char* FindLineEnd(const char* from, const char* end, LineBreaks breaks) {
  if (breaks == LineBreaks::kCarriageReturn) {
    if (from == end) return end;  // memchr must not see the null of an empty view
    const void* found = std::memchr(from, '\r', static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
  }
  const char* found = end;
  ForEachLineBreak(from, end, [&found](const char* at) {
    found = at;
    return false;
  });
  return found;
}

}  // namespace bosquell
