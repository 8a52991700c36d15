// Taking a run back from a mission that an editor has saved since, and from one that never held
// the run.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "mission/mission_rewrite.h"
#include "string_sink.h"
#include "takeback/take_back.h"
#include "test_support.h"

namespace bosquell {
namespace {

// The lines a run writes after the facing line, with LF line ends, as an editor saves them.
std::string FixedLines() {
  std::string lines = testing::kBlockTail;
  lines = lines.substr(0, lines.find("end item"));
  for (std::size_t at; (at = lines.find('\r')) != std::string::npos;) lines.erase(at, 1);
  return lines;
}

// A tree's record as the run writes it, with LF line ends.
std::string Tree(int number, const std::string& type, const std::string& position,
                 const std::string& facing) {
  return "begin item " + std::to_string(number) + "\n  id " + std::to_string(number + 1) +
         "\n  type_id " + type + "\n  position " + position + " 0\n  facing " + facing + " 0\n" +
         FixedLines() + "end item\n";
}

// The number of the line that `text` starts in `file`.
std::uint64_t LineOf(const std::string& file, const std::string& text) {
  const std::string before = file.substr(0, file.find(text));
  return 1 + static_cast<std::uint64_t>(std::count(before.begin(), before.end(), '\n'));
}

// The report on taking the run back, and the output: the same for windows of any size.
std::vector<std::string> ReportOf(const std::string& mission,
                                  const std::vector<DrawnObject>& objects, std::string& output,
                                  const TakeBackOptions& options = {}) {
  std::stringbuf input(mission);
  testing::StringSink sink;
  const TakeBackReport report = RemoveObjects(input, sink, objects, options);
  output = sink.text;
  for (const std::size_t chunkSize : {3, 17, 200}) {
    std::stringbuf firstRead(mission);
    TakeBackReport inWindows;
    inWindows.records = FindRunRecords(firstRead, objects, options, chunkSize);
    std::stringbuf secondRead(mission);
    testing::StringSink written;
    if (inWindows.records.removed > 0) {
      inWindows.countLines =
          WriteWithoutRunRecords(secondRead, written, inWindows.records, chunkSize);
    }
    EXPECT_EQ(TakeBackReportLines(inWindows), TakeBackReportLines(report)) << chunkSize;
    EXPECT_EQ(written.text, output) << chunkSize;
  }
  return TakeBackReportLines(report);
}

const std::vector<DrawnObject> kRun = {
    {"1055", 90, 100, 200},     // moved in the editor
    {"1055", 0, -300, 50},      // given another type
    {"2001", 45, 700, 700},     // copied
    {"1055", 10, 5000, 5000},   // renumbered and moved up the file
    {"2001", 3, 1.5, 2},        // as the run wrote it
    {"1034", 180, 9000, 9000},  // deleted
    {"1055", 270, 640, -640},   // turned
};

TEST(TakeBackEdited, RemovesTheRunsRecordsAndListsTheChangedOnes) {
  const std::string header = "begin header\n  title Edited\nend header\n\nbegin objects\n";
  const std::string rest =
      "end objects\n\nbegin item 0\n  id 1\n  type_id 77\n  position 0 0 0\nend item\n\n";
  const std::string others = "begin others\n  num_items 2\nend others\n";
  const std::string renumbered = Tree(1, "1055", "5000 5000", "10");
  const std::string copied = Tree(2, "2001", "700 700", "45");
  const std::string kept = Tree(3, "1055", "200 200", "90") + "\n" +
                           Tree(4, "1055", "50000 50000", "90") + "\n" +
                           Tree(5, "2001", "-300 50", "0") + "\n";
  const std::string unchanged = Tree(6, "2001", "1.5 2", "3");
  const std::string turned = Tree(7, "1055", "640 -640", "271");
  const std::string copy = Tree(8, "2001", "700 700", "45");
  const std::string mission = header + "  num_items 0012\n" + rest + renumbered + "\n" + copied +
                              "\n" + kept + unchanged + "\n" + turned + "\n" + copy + "\n" + others;

  std::string output;
  EXPECT_EQ(ReportOf(mission, kRun, output),
            (std::vector<std::string>{
                "3 of 7 removed, 1 not found, 3 changed and kept",
                "changed and kept: id 4 (line " + std::to_string(LineOf(mission, "begin item 3")) +
                    "), the run's object 1: moved",
                "changed and kept: id 6 (line " + std::to_string(LineOf(mission, "begin item 5")) +
                    "), the run's object 2: another type",
                "changed and kept: id 8 (line " + std::to_string(LineOf(mission, "begin item 7")) +
                    "), the run's object 7: turned",
                "repeated and kept: id 3 (line " + std::to_string(LineOf(mission, "begin item 2")) +
                    "), the run's object 3",
                "count line " + std::to_string(LineOf(mission, "  num_items 2")) +
                    " left as it was, it would go below zero: \"  num_items 2\"",
            }));
  // Between two lines with text that the records stood between, one empty line stays.
  EXPECT_EQ(output,
            header + "  num_items 9\n" + rest + copied + "\n" + kept + turned + "\n" + others);
}

TEST(TakeBackEdited, WritesNothingWhenNoRecordIsTheRuns) {
  const std::string mission = "begin objects\r\n  num_items 3\r\nend objects\r\n\r\n" +
                              Tree(0, "1055", "100 201", "90") + Tree(1, "1056", "1 1", "1");
  std::string output = "untouched";
  EXPECT_EQ(ReportOf(mission, kRun, output),
            (std::vector<std::string>{"0 of 7 removed, 7 not found, 0 changed and kept"}));
  EXPECT_EQ(output, "");
}

TEST(TakeBackEdited, ListsARecordAsChangedOnlyWhenItResemblesTheRunsObject) {
  const std::vector<DrawnObject> run = {{"1055", 90, 1000, 1000}};
  struct Case {
    std::string tree;
    double movedWithin;
    std::string listed;  // how the record is listed as changed; empty for not at all
  };
  const std::string listed = "changed and kept: id 1 (line 1), the run's object 1: ";
  const Case cases[] = {
      {Tree(0, "1055", "2024 -24", "90"), kMovedWithin, listed + "moved"},
      {Tree(0, "1055", "2025 1000", "90"), kMovedWithin, ""},
      {Tree(0, "1055", "1100 1000", "90"), 0, ""},
      {Tree(0, "1056", "1000 1000", "90"), kMovedWithin, listed + "another type"},
      {Tree(0, "1055", "1000 1000", "91"), kMovedWithin, listed + "turned"},
      {Tree(0, "1056", "1000 1000", "91"), kMovedWithin, ""},
      {Tree(0, "1055", "1000.0 1000", "90"), kMovedWithin, listed + "its lines differ"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.tree);
    std::string output;
    std::vector<std::string> expected = {"0 of 1 removed, 1 not found, 0 changed and kept"};
    if (!test.listed.empty()) {
      expected = {"0 of 1 removed, 0 not found, 1 changed and kept", test.listed};
    }
    EXPECT_EQ(ReportOf(test.tree, run, output, {test.movedWithin}), expected);
  }
}

TEST(TakeBackEdited, ListsTheCountLinesItLeavesAsTheyWere) {
  const std::string tree = Tree(0, "2001", "1.5 2", "3");
  const std::string longLine = "  num_items 1" + std::string(70 * 1024, '0');
  struct Case {
    std::string countLine;
    std::string why;
  };
  const Case cases[] = {
      {"  num_items 0", "it would go below zero"},
      {"  num_items 1e999", "its number is too large"},
      {longLine, "it is too long"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    std::string output;
    const std::vector<std::string> report =
        ReportOf(test.countLine + "\n" + tree, {kRun[4]}, output);
    EXPECT_EQ(report.back(), "count line 1 left as it was, " + test.why + ": \"" +
                                 test.countLine.substr(0, 64) + "\"");
    EXPECT_EQ(output, test.countLine + "\n");
  }
}

TEST(TakeBackEdited, RefusesToWriteAMissionThatChangedSinceItWasRead) {
  const std::string tree = Tree(0, "2001", "1.5 2", "3");
  std::stringbuf firstRead("a\n" + tree);
  const RunRecords records = FindRunRecords(firstRead, std::span(&kRun[4], 1));
  ASSERT_EQ(records.removed, 1u);
  for (const std::string& changed : {"ab\n" + tree, "a\n" + tree + "b\n"}) {
    std::stringbuf secondRead(changed);
    testing::StringSink output;
    EXPECT_THROW(WriteWithoutRunRecords(secondRead, output, records), MissionStreamError);
  }
}

// A record takes the empty lines the run wrote around it, except that lines with text that an
// empty line kept apart stay apart.
TEST(TakeBackEdited, LeavesOutTheEmptyLinesAroundARecord) {
  struct Case {
    std::string mission;
    std::string after;
  };
  std::string block =
      "begin item 9\r\n  id 10\r\n  type_id 2001\r\n  position 1.5 2 0\r\n"
      "  facing 3 0\r\n" +
      std::string(testing::kBlockTail);
  block.resize(block.size() - 2);  // without the empty line after it
  const Case cases[] = {
      {"a\r\n\r\n" + block + "\r\nc\r\n", "a\r\n\r\nc\r\n"},
      {"a\r\n" + block + "c\r\n", "a\r\nc\r\n"},
      {"a\r\n\r\n\r\n" + block + "\r\nc", "a\r\n\r\nc"},
      {block + "\r\nc\r\n", "c\r\n"},
      {"a\r\n\r\n" + block + "\r\n" + block + "\r\nc\r\n", "a\r\n\r\nc\r\n"},
      {"a\r\n\r\n" + block + "\r\n\r\n" + block + "\r\n", "a\r\n"},
  };
  const std::vector<DrawnObject> twice = {kRun[4], kRun[4]};
  for (const Case& test : cases) {
    SCOPED_TRACE(test.mission);
    std::stringbuf input(test.mission);
    testing::StringSink output;
    RemoveObjects(input, output, twice);
    EXPECT_EQ(output.text, test.after);
  }
}

}  // namespace
}  // namespace bosquell
