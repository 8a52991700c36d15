#include "takeback/copy_without_records.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <system_error>

#include "common/number_text.h"
#include "mission/mission_lines.h"
#include "mission/mission_rewrite.h"
#include "takeback/mission_line_walker.h"

namespace bosquell {
namespace {

// No more of a line is read: a count line longer than this stays as it is.
constexpr std::size_t kHeadLength = 64 * 1024;
// No more of a count line that stays is listed.
constexpr std::size_t kListedTextLength = 64;
// Enough significant digits to tell any two doubles apart.
constexpr int kMostDigits = 17;

// Hands the input's bytes to the output in long stretches, and leaves out what it is told to.
class StretchCopier final : public WindowListener {
 public:
  explicit StretchCopier(OutputSink& output) : output_(output) {}

  void Attach(const MissionLineWalker& walker) { walker_ = &walker; }
  // Copies what is not yet copied or left out, up to `to`, which must still be in the window.
  void CopyUpTo(std::uint64_t to) {
    if (to <= copiedTo_) return;
    output_.CopyFromInput(copiedTo_, walker_->Bytes(copiedTo_, to));
    copiedTo_ = to;
  }
  void LeaveOutUpTo(std::uint64_t to) { copiedTo_ = std::max(copiedTo_, to); }
  void Leaving(std::uint64_t offset, std::string_view bytes) override {
    const std::uint64_t end = offset + bytes.size();
    if (end <= copiedTo_) return;
    output_.CopyFromInput(copiedTo_, bytes.substr(static_cast<std::size_t>(copiedTo_ - offset)));
    copiedTo_ = end;
  }

 private:
  OutputSink& output_;
  const MissionLineWalker* walker_ = nullptr;
  std::uint64_t copiedTo_ = 0;  // the first byte neither copied nor left out
};

[[noreturn]] void ThrowMissionChanged() {
  throw MissionStreamError(MissionStreamError::Side::kInput,
                           "the file changed while it was being read");
}

}  // namespace

std::optional<double> LoweredCount(double value, double removed) {
  const double lowered = value - removed;
  if (!(lowered >= 0)) return std::nullopt;
  if (lowered == std::floor(lowered) && lowered + removed == value) return lowered;
  char digits[64];
  for (int precision = 0; precision < kMostDigits; ++precision) {
    const auto written = std::to_chars(digits, digits + sizeof digits, lowered,
                                       std::chars_format::scientific, precision);
    double candidate = 0;
    std::from_chars(digits, written.ptr, candidate);
    if (candidate >= 0 && candidate + removed == value) return candidate;
  }
  return lowered;
}

CountLines CopyWithoutRunRecords(InputWindow& mission, OutputSink& output,
                                 const RunRecords& records) {
  StretchCopier copier(output);
  MissionLineWalker walker(mission, kHeadLength, &copier);
  copier.Attach(walker);
  const auto removed = static_cast<double>(records.removed);
  CountLines counts;

  const auto lowerCountLine = [&](const MissionLine& line, std::uint64_t lineNumber) {
    CountLineLeft left{lineNumber, std::string(line.head.substr(0, kListedTextLength)),
                       CountLineLeft::Reason::kTooLong};
    if (!line.Cut()) {
      const double value = TextValue(line.head.substr(kCountLinePrefix.size()));
      const std::optional<double> lowered =
          std::isfinite(value) ? LoweredCount(value, removed) : std::nullopt;
      if (lowered) {
        copier.CopyUpTo(line.offset);
        output.Write(kCountLinePrefix);
        output.Write(" ");
        output.Write(NumberText(*lowered));
        copier.LeaveOutUpTo(line.offset + line.length);
        ++counts.lowered;
        return;
      }
      left.reason = std::isfinite(value) ? CountLineLeft::Reason::kBelowZero
                                         : CountLineLeft::Reason::kNotFinite;
    }
    counts.left.push_back(std::move(left));
  };

  std::uint64_t lineNumber = 0;
  std::size_t next = 0;  // the next stretch of lines to leave out
  MissionLine line;
  for (;;) {
    std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
    if (next < records.leftOut.size()) {
      const LeftOutLines& stretch = records.leftOut[next];
      const std::uint64_t at = walker.Position();
      if (at > stretch.from) ThrowMissionChanged();
      if (at == stretch.from) {
        copier.CopyUpTo(at);
        copier.LeaveOutUpTo(stretch.to);
        walker.SkipTo(stretch.to);
        lineNumber = stretch.lastLine;
        ++next;
        continue;
      }
      limit = stretch.from;
    }
    lineNumber += walker.SkipUnchangedLines(limit);
    walker.TakeWholeLines(
        [&](const MissionLine& whole) {
          ++lineNumber;
          if (removed > 0 && KindOfLine(whole.head) == LineKind::kCount) {
            lowerCountLine(whole, lineNumber);
          }
          return true;
        },
        limit);
    if (walker.Position() == limit) continue;
    if (!walker.Next(line)) break;
    ++lineNumber;
    if (removed > 0 && KindOfLine(line.head) == LineKind::kCount) lowerCountLine(line, lineNumber);
    if (output.Failed()) break;
  }
  walker.Finish();
  if (mission.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read");
  }
  if (output.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kOutput, "the file could not be written");
  }
  if (next < records.leftOut.size() || walker.Position() != records.inputLength) {
    ThrowMissionChanged();
  }
  return counts;
}

}  // namespace bosquell
