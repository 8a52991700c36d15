#pragma once

namespace bosquell {

// Where the scan for unchanged lines stands; see ScanUnchangedLines.
struct LineEndMarks {
  const char* lastCarriageReturn = nullptr;  // the last CR passed, each followed by LF
  const char* lastIdStart = nullptr;         // the last id line known to end in CR LF
  const char* openIdStart = nullptr;         // an id line whose end is not yet seen
};

// The widest step the processor can take: 64 bytes with AVX-512BW, 32 with AVX2, else 16.
int WidestScanStep();

// Pass steps of 32 or 64 bytes from `from` on in which every CR is followed by LF and no line
// starts like a count line, keeping `marks` up to date. They return the first step that needs
// a closer look, or where fewer than a step and 5 bytes are left before `end`. Each is built
// for its instruction set: call it only where WidestScanStep() allows its step.
const char* SkipPlainSteps32(const char* from, const char* end, LineEndMarks& marks);
const char* SkipPlainSteps64(const char* from, const char* end, LineEndMarks& marks);

}  // namespace bosquell
