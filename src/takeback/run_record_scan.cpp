#include "takeback/run_record_scan.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "mission/mission_rewrite.h"
#include "mission/output_buffer.h"
#include "takeback/mission_line_walker.h"
#include "takeback/passable_lines.h"
#include "takeback/run_object_index.h"

namespace bosquell {
namespace {

constexpr char kBeginItem[] = "begin item";
constexpr char kEndItem[] = "end item";
// The keys of a block's first lines after "begin item", in the order the run writes them; a
// blank follows each.
enum Leading { kId, kType, kPosition, kFacing, kLeadingCount };
constexpr std::size_t kLeadingKeyLengths[] = {4, 9, 10, 8};
// No more of a line is looked at, however long it is (a run's lines are far shorter).
constexpr std::size_t kHeadLength = 64 * 1024;
// No more of an id is listed.
constexpr std::size_t kListedIdLength = 64;

// True when the line is the key itself or the key followed by a blank. The key's length is
// known when compiling, which turns the comparison into a few loads.
template <std::size_t N>
bool StartsWithKey(std::string_view line, const char (&key)[N]) {
  constexpr std::size_t kLength = N - 1;
  return line.size() >= kLength && std::memcmp(line.data(), key, kLength) == 0 &&
         (line.size() == kLength || line[kLength] == ' ' || line[kLength] == '\t');
}

// Which leading key a line starts with, told apart by its third byte; kLeadingCount for none.
int LeadingKeyOf(std::string_view line) {
  if (line.size() < 4 || line[0] != ' ' || line[1] != ' ') return kLeadingCount;
  switch (line[2]) {
    case 'i':
      return StartsWithKey(line, "  id") ? kId : kLeadingCount;
    case 't':
      return StartsWithKey(line, "  type_id") ? kType : kLeadingCount;
    case 'p':
      return StartsWithKey(line, "  position") ? kPosition : kLeadingCount;
    case 'f':
      return StartsWithKey(line, "  facing") ? kFacing : kLeadingCount;
    default:
      return kLeadingCount;
  }
}

// Whether two short texts are equal, with a few word compares instead of a call: the lines of a
// block are 8 to 24 bytes long, and every line of every tree in a mission is compared.
bool EqualLines(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const std::size_t size = a.size();
  if (size < 8 || size > 24) return a == b;
  const auto word = [](std::string_view text, std::size_t at) {
    std::uint64_t value;
    std::memcpy(&value, text.data() + at, sizeof value);
    return value;
  };
  const std::size_t middle = size > 16 ? 8 : size - 8;
  return word(a, 0) == word(b, 0) && word(a, middle) == word(b, middle) &&
         word(a, size - 8) == word(b, size - 8);
}

// The lines every block holds after its facing line, up to its "end item", and that last line:
// as the block writer writes them, so that the two cannot disagree.
struct BlockTail {
  std::vector<std::string> fixedLines;
  std::string endLine;
  // The fixed lines as they stand in a file, each with its line end: CR LF, or LF.
  std::string withCarriageReturns;
  std::string withLineFeeds;
};

BlockTail TailOfBlocks() {
  std::stringbuf text;
  {
    OutputBuffer buffer(text);
    WriteItemBlock(buffer, 1, "0", 0, 0, 0);
    buffer.Flush();
  }
  std::vector<std::string> lines;
  std::istringstream split(text.str());
  for (std::string line; std::getline(split, line, '\n');) {
    if (line.ends_with('\r')) line.pop_back();
    lines.push_back(std::move(line));
  }
  // An empty line, "begin item", the leading lines, the fixed lines, "end item", an empty line.
  BlockTail tail;
  const auto firstFixed = lines.begin() + 2 + kLeadingCount;
  const auto end = std::find(firstFixed, lines.end(), std::string_view(kEndItem));
  tail.fixedLines.assign(firstFixed, end);
  tail.endLine = end != lines.end() ? *end : std::string(kEndItem);
  for (const std::string& line : tail.fixedLines) {
    tail.withCarriageReturns += line + "\r\n";
    tail.withLineFeeds += line + "\n";
  }
  return tail;
}

// A line's text that a record may still need after the window has moved on.
struct HeldText {
  bool present = false;
  std::string_view text;
  std::string storage;

  void Keep() {
    if (present && text.data() != storage.data()) {
      storage.assign(text);
      text = storage;
    }
  }
};

// A record that is an object's block, as long as it is not known whether it is left out.
struct BlockRecord {
  std::uint32_t group = 0;
  std::uint64_t beginOffset = 0;
  std::uint64_t beginLine = 0;
  std::uint64_t endOffset = 0;  // after the line end of its "end item"
  std::uint64_t endLine = 0;
  bool hasBlankBefore = false;  // the line before it is empty
  std::uint64_t blankBeforeOffset = 0;
  bool blankPrecededByText = false;  // the line before that empty line has text
  bool precededByText = false;       // the line before it has text
  bool hasBlankAfter = false;        // the line after it is empty
  std::uint64_t blankAfterEnd = 0;
  bool followedByText = false;  // the line after it, or after the empty line after it, has text
  std::string id;
};

// A record that resembles some of the run's objects.
struct ResemblingRecord {
  std::string id;
  std::uint64_t line = 0;
  std::size_t resemblancesBegin = 0;
  std::size_t resemblancesEnd = 0;
  MapPoint at;
};

// Lines left out together, as they are gathered.
struct OpenStretch {
  LeftOutLines lines;
  bool startsWithBlank = false;
  std::uint64_t firstRecordOffset = 0;
  bool precededByText = false;
  bool endsWithBlank = false;
  std::uint64_t lastRecordEnd = 0;
  bool followedByText = false;
};

class RecordScan final : public WindowListener {
 public:
  RecordScan(const RunObjectIndex& index, std::size_t objectCount)
      : index_(index), objectCount_(objectCount), tail_(TailOfBlocks()) {}

  // Inline: it runs for every line of the mission.
  void Take(const MissionLine& line) {
    ++lineNumber_;
    if (after_ != After::kNothing) NoteLineAfterBlock(line);
    const std::string_view text = line.head;
    if (!text.empty() && text.front() == 'b' && StartsWithKey(text, kBeginItem)) {
      StartRecord(line);
    } else if (inRecord_) {
      if (!text.empty() && text.front() == 'e' && StartsWithKey(text, kEndItem)) {
        EndRecord(line);
      } else {
        FeedRecord(line);
      }
    }
    beforePreviousEmpty_ = previousEmpty_;
    previousEmpty_ = line.Empty();
    previousOffset_ = line.offset;
  }
  // Whether the lines from here on may be passed without taking them one by one: outside any
  // record, with nothing left to note about the last block.
  bool CanPass() const { return !inRecord_ && after_ == After::kNothing; }
  // Passes lines the caller has passed, which start at `offset`.
  void Pass(const PassableLines& passed, std::uint64_t offset);
  // Whether the record has followed a block up to its facing line: its fixed lines, next, may
  // be compared at once.
  bool ExpectsFixedLines() const {
    return inRecord_ && step_ == kLeadingCount && !fixedLinesTried_;
  }
  // The length of the fixed lines at the start of `ahead`, line ends included, or 0 when they
  // are not there whole; a record that has them goes on after them.
  std::size_t TakeFixedLines(std::string_view ahead, LineBreaks breaks);
  void Leaving(std::uint64_t, std::string_view) override {
    if (!inRecord_) return;
    for (HeldText& text : leading_) text.Keep();
  }
  RunRecords Result();

 private:
  void StartRecord(const MissionLine& line);
  void FeedRecord(const MissionLine& line);
  void EndRecord(const MissionLine& line);
  void NoteLineAfterBlock(const MissionLine& line);
  std::string ListedId() const;
  void LeaveOut(const std::vector<bool>& leftOut, RunRecords& result) const;

  const RunObjectIndex& index_;
  const std::size_t objectCount_;
  const BlockTail tail_;
  std::uint64_t lineNumber_ = 0;
  // The two lines before the current one (none before the first line): whether they are empty,
  // and where the last one starts (needed only when it is empty). Kept apart, as plain values,
  // since they change every line.
  bool previousEmpty_ = false;
  bool beforePreviousEmpty_ = false;
  std::uint64_t previousOffset_ = 0;

  bool inRecord_ = false;
  std::uint64_t recordOffset_ = 0;
  std::uint64_t recordLine_ = 0;
  bool blankBefore_ = false;  // the line before the record is empty
  std::uint64_t blankBeforeOffset_ = 0;
  bool blankPrecededByText_ = false;  // the line before that has text
  bool precededByText_ = false;       // the line before the record has text
  std::size_t step_ = 0;              // the next line of a block the record can match, or kBroken
  static constexpr std::size_t kBroken = static_cast<std::size_t>(-1);
  HeldText leading_[kLeadingCount];
  bool leadingCut_ = false;
  bool fixedLinesTried_ = false;

  std::vector<BlockRecord> blocks_;
  enum class After { kNothing, kEndLine, kBlankLine } after_ = After::kNothing;
  std::vector<ResemblingRecord> resembling_;
  std::vector<RunObjectIndex::Resemblance> resemblances_;
};

void RecordScan::Pass(const PassableLines& passed, std::uint64_t offset) {
  if (passed.lines == 0) return;
  lineNumber_ += passed.lines;
  beforePreviousEmpty_ = passed.lines > 1 ? passed.beforeLastEmpty : previousEmpty_;
  previousEmpty_ = passed.lastEmpty;
  previousOffset_ = offset + passed.lastStart;
}

std::size_t RecordScan::TakeFixedLines(std::string_view ahead, LineBreaks breaks) {
  std::size_t length = 0;
  if (ahead.starts_with(tail_.withCarriageReturns)) {
    length = tail_.withCarriageReturns.size();
  } else if (breaks == LineBreaks::kLineFeed && ahead.starts_with(tail_.withLineFeeds)) {
    length = tail_.withLineFeeds.size();
  }
  fixedLinesTried_ = true;  // if they are not there, the record's lines are taken one by one
  if (length == 0) return 0;
  lineNumber_ += tail_.fixedLines.size();
  step_ += tail_.fixedLines.size();
  previousEmpty_ = false;
  beforePreviousEmpty_ = false;
  return length;
}

void RecordScan::StartRecord(const MissionLine& line) {
  inRecord_ = true;
  recordOffset_ = line.offset;
  recordLine_ = lineNumber_;
  // The record's line is counted already: a line before it exists from the second line on.
  const bool previousExists = lineNumber_ > 1;
  const bool beforePreviousExists = lineNumber_ > 2;
  blankBefore_ = previousExists && previousEmpty_;
  blankBeforeOffset_ = previousOffset_;
  blankPrecededByText_ = beforePreviousExists && !beforePreviousEmpty_;
  precededByText_ = previousExists && !previousEmpty_;
  step_ = 0;
  for (HeldText& text : leading_) text.present = false;
  leadingCut_ = false;
  fixedLinesTried_ = false;
}

void RecordScan::FeedRecord(const MissionLine& line) {
  const std::string_view text = line.head;
  const bool whole = !line.Cut();
  const int key = LeadingKeyOf(text);
  const std::size_t valueAt = key < kLeadingCount ? kLeadingKeyLengths[key] + 1 : 0;
  // Does the record still follow a block, line by line?
  if (step_ != kBroken) {
    bool follows = false;
    if (step_ < kLeadingCount) {
      follows = whole && key == static_cast<int>(step_) && text.size() >= valueAt &&
                text[valueAt - 1] == ' ';
    } else if (step_ - kLeadingCount < tail_.fixedLines.size()) {
      follows = whole && EqualLines(text, tail_.fixedLines[step_ - kLeadingCount]);
    }
    step_ = follows ? step_ + 1 : kBroken;
  }
  // The first id, type_id, position and facing line, wherever they stand in the record.
  if (key == kLeadingCount || leading_[key].present) return;
  leading_[key].present = true;
  leading_[key].text = text.substr(std::min(text.size(), valueAt));
  if (!whole) {
    // A cut line's head lasts only until the next cut line.
    leadingCut_ = true;
    leading_[key].Keep();
  }
}

void RecordScan::EndRecord(const MissionLine& line) {
  inRecord_ = false;
  const HeldText& type = leading_[kType];
  const HeldText& position = leading_[kPosition];
  const HeldText& facing = leading_[kFacing];
  if (!type.present || !position.present || !facing.present || leadingCut_) return;
  const bool wholeBlock =
      step_ == kLeadingCount + tail_.fixedLines.size() && !line.Cut() && line.head == tail_.endLine;
  const std::size_t begin = resemblances_.size();
  const std::optional<std::uint32_t> group =
      index_.Find(type.text, position.text, facing.text, wholeBlock, resemblances_);
  if (group) {
    BlockRecord block;
    block.group = *group;
    block.beginOffset = recordOffset_;
    block.beginLine = recordLine_;
    block.endOffset = line.End();
    block.endLine = lineNumber_;
    block.hasBlankBefore = blankBefore_;
    block.blankBeforeOffset = blankBeforeOffset_;
    block.blankPrecededByText = blankPrecededByText_;
    block.precededByText = precededByText_;
    block.id = ListedId();
    blocks_.push_back(std::move(block));
    after_ = After::kEndLine;
  } else if (resemblances_.size() > begin) {
    // A record resembles an object only when its position reads as two numbers.
    const MapPoint at = PositionValue(position.text).value_or(MapPoint{});
    resembling_.push_back({ListedId(), recordLine_, begin, resemblances_.size(), at});
  }
}

void RecordScan::NoteLineAfterBlock(const MissionLine& line) {
  BlockRecord& block = blocks_.back();
  if (after_ == After::kEndLine && line.Empty()) {
    block.hasBlankAfter = true;
    block.blankAfterEnd = line.End();
    after_ = After::kBlankLine;
    return;
  }
  block.followedByText = !line.Empty();
  after_ = After::kNothing;
}

std::string RecordScan::ListedId() const {
  const HeldText& id = leading_[kId];
  return id.present ? std::string(id.text.substr(0, kListedIdLength)) : std::string();
}

void RecordScan::LeaveOut(const std::vector<bool>& leftOut, RunRecords& result) const {
  std::optional<OpenStretch> open;
  const auto close = [&result](OpenStretch& stretch) {
    // Two lines with text that an empty line kept apart keep one between them.
    if (stretch.precededByText && stretch.followedByText &&
        (stretch.startsWithBlank || stretch.endsWithBlank)) {
      if (stretch.startsWithBlank) {
        stretch.lines.from = stretch.firstRecordOffset;
        ++stretch.lines.firstLine;
      } else {
        stretch.lines.to = stretch.lastRecordEnd;
        --stretch.lines.lastLine;
      }
    }
    result.leftOut.push_back(stretch.lines);
  };
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    if (!leftOut[i]) continue;
    const BlockRecord& block = blocks_[i];
    // The empty line before goes with the record unless the record before took it already.
    const bool blankBefore =
        block.hasBlankBefore && (!open || block.blankBeforeOffset >= open->lines.to);
    const std::uint64_t from = blankBefore ? block.blankBeforeOffset : block.beginOffset;
    const std::uint64_t to = block.hasBlankAfter ? block.blankAfterEnd : block.endOffset;
    const std::uint64_t lastLine = block.endLine + (block.hasBlankAfter ? 1 : 0);
    if (open && from == open->lines.to) {
      open->lines.to = to;
      open->lines.lastLine = lastLine;
    } else {
      if (open) close(*open);
      open.emplace();
      open->lines = {from, to, block.beginLine - (blankBefore ? 1 : 0), lastLine};
      open->startsWithBlank = blankBefore;
      open->firstRecordOffset = block.beginOffset;
      open->precededByText = blankBefore ? block.blankPrecededByText : block.precededByText;
    }
    open->endsWithBlank = block.hasBlankAfter;
    open->lastRecordEnd = block.endOffset;
    open->followedByText = block.followedByText;
  }
  if (open) close(*open);
}

RunRecords RecordScan::Result() {
  RunRecords result;
  result.fates.assign(objectCount_, ObjectFate::kNotFound);
  result.lineCount = lineNumber_;

  // The last blocks of each group are the run's, as many as it has members.
  std::vector<std::uint32_t> found(index_.GroupCount(), 0);
  std::vector<bool> leftOut(blocks_.size(), false);
  for (std::size_t i = blocks_.size(); i-- > 0;) {
    const std::uint32_t group = blocks_[i].group;
    if (found[group] < index_.Members(group).size()) {
      leftOut[i] = true;
      ++found[group];
      ++result.removed;
    }
  }
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    if (leftOut[i]) continue;
    const BlockRecord& block = blocks_[i];
    result.repeated.push_back({block.id, block.beginLine, index_.Members(block.group)[0], 0, {}});
  }
  LeaveOut(leftOut, result);

  // Each object not found gets the first record that resembles it, if any.
  std::vector<std::uint32_t> changed(index_.GroupCount(), 0);
  for (const ResemblingRecord& record : resembling_) {
    for (std::size_t i = record.resemblancesBegin; i < record.resemblancesEnd; ++i) {
      const RunObjectIndex::Resemblance resemblance = resemblances_[i];
      const auto members = index_.Members(resemblance.group);
      const std::size_t taken = found[resemblance.group] + changed[resemblance.group];
      if (taken == members.size()) continue;
      ++changed[resemblance.group];
      result.changed.push_back(
          {record.id, record.line, members[taken], resemblance.differences, record.at});
      break;
    }
  }
  for (std::uint32_t group = 0; group < index_.GroupCount(); ++group) {
    const auto members = index_.Members(group);
    for (std::size_t i = 0; i < found[group]; ++i) result.fates[members[i]] = ObjectFate::kRemoved;
  }
  for (const KeptRecord& record : result.changed) {
    result.fates[record.object] = ObjectFate::kChanged;
  }
  return result;
}

}  // namespace

std::size_t RunRecords::NotFound() const {
  return static_cast<std::size_t>(std::count(fates.begin(), fates.end(), ObjectFate::kNotFound));
}

RunRecords ScanForRunRecords(InputWindow& mission, std::span<const DrawnObject> objects,
                             const TakeBackOptions& options) {
  const RunObjectIndex index(objects, options.movedWithin);
  RecordScan scan(index, objects.size());
  MissionLineWalker walker(mission, std::max(kHeadLength, index.LongestLine() + 1), &scan);
  MissionLine line;
  // Lines between records that cannot be a run's object are passed many at a time, and a tree's
  // fixed lines compared at once, as they stand in the window. The other lines are taken from
  // the window one by one, until there is something to pass again; the line that crosses the
  // window's end comes through Next, which moves the window on.
  for (;;) {
    if (scan.CanPass()) {
      const PassableLines passed = ScanPassableLines(walker.Ahead(), walker.Breaks());
      scan.Pass(passed, walker.Position());
      walker.SkipTo(walker.Position() + passed.length);
    }
    if (scan.ExpectsFixedLines()) {
      walker.SkipTo(walker.Position() + scan.TakeFixedLines(walker.Ahead(), walker.Breaks()));
    }
    const bool stopped = walker.TakeWholeLines([&](const MissionLine& whole) {
      scan.Take(whole);
      return !scan.CanPass() && !scan.ExpectsFixedLines();
    });
    if (stopped) continue;
    if (!walker.Next(line)) break;
    scan.Take(line);
  }
  if (mission.Failed()) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read");
  }
  RunRecords result = scan.Result();
  result.inputLength = walker.Position();
  result.breaks = walker.Breaks();
  return result;
}

}  // namespace bosquell
