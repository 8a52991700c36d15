#pragma once

namespace bosquell {

// Where the scan for unchanged lines stands; see ScanUnchangedLines.
struct LineEndMarks {
  const char* lastCarriageReturn = nullptr;  // the last CR passed, each followed by LF
  const char* lastIdStart = nullptr;         // the last id line known to end in CR LF
  const char* openIdStart = nullptr;         // an id line whose end is not yet seen
};

// True where the processor runs the 32-byte scan below.
bool HaveWideScan();

// Passes 32-byte steps from `from` on in which every CR is followed by LF and no line starts
// like a count line, keeping `marks` up to date. Returns the first step that needs a closer
// look, or where fewer than 37 bytes are left before `end`. Built for AVX2: call it only where
// HaveWideScan() is true.
const char* SkipPlainStepsWide(const char* from, const char* end, LineEndMarks& marks);

}  // namespace bosquell
