#include "takeback/take_back.h"

#include <ios>

#include "mission/input_window.h"
#include "mission/mission_rewrite.h"
#include "takeback/copy_without_records.h"
#include "takeback/run_object_index.h"
#include "takeback/run_record_scan.h"

namespace bosquell {
namespace {

std::string DifferenceText(unsigned differences) {
  if ((differences & kDifferentText) != 0) return "its lines differ";
  std::string text;
  const auto add = [&text](const char* what) {
    if (!text.empty()) text += ", ";
    text += what;
  };
  if ((differences & kDifferentType) != 0) add("another type");
  if ((differences & kDifferentPosition) != 0) add("moved");
  if ((differences & kDifferentFacing) != 0) add("turned");
  return text;
}

std::string RecordText(const KeptRecord& record) {
  return "id " + record.id + " (line " + std::to_string(record.line) + "), the run's object " +
         std::to_string(record.object + 1);
}

const char* ReasonText(CountLineLeft::Reason reason) {
  switch (reason) {
    case CountLineLeft::Reason::kBelowZero:
      return "it would go below zero";
    case CountLineLeft::Reason::kNotFinite:
      return "its number is too large";
    case CountLineLeft::Reason::kTooLong:
      return "it is too long";
  }
  return "";
}

}  // namespace

RunRecords FindRunRecords(std::streambuf& mission, std::span<const DrawnObject> objects,
                          const TakeBackOptions& options, std::size_t chunkSize) {
  StreamWindow window(mission, chunkSize);
  return ScanForRunRecords(window, objects, options);
}

CountLines WriteWithoutRunRecords(std::streambuf& mission, OutputSink& output,
                                  const RunRecords& records, std::size_t chunkSize) {
  StreamWindow window(mission, chunkSize);
  return CopyWithoutRunRecords(window, output, records);
}

TakeBackReport RemoveObjects(std::streambuf& mission, OutputSink& output,
                             std::span<const DrawnObject> objects, const TakeBackOptions& options) {
  TakeBackReport report;
  report.records = FindRunRecords(mission, objects, options);
  if (report.records.removed == 0) return report;
  if (mission.pubseekpos(0, std::ios::in) != std::streampos(0)) {
    throw MissionStreamError(MissionStreamError::Side::kInput, "the file could not be read again");
  }
  report.countLines = WriteWithoutRunRecords(mission, output, report.records);
  return report;
}

std::vector<std::string> TakeBackReportLines(const TakeBackReport& report) {
  const RunRecords& records = report.records;
  std::vector<std::string> lines;
  lines.push_back(std::to_string(records.removed) + " of " + std::to_string(records.fates.size()) +
                  " removed, " + std::to_string(records.NotFound()) + " not found, " +
                  std::to_string(records.Changed()) + " changed and kept");
  for (const KeptRecord& record : records.changed) {
    lines.push_back("changed and kept: " + RecordText(record) + ": " +
                    DifferenceText(record.differences));
  }
  for (const KeptRecord& record : records.repeated) {
    lines.push_back("repeated and kept: " + RecordText(record));
  }
  for (const CountLineLeft& left : report.countLines.left) {
    lines.push_back("count line " + std::to_string(left.line) + " left as it was, " +
                    ReasonText(left.reason) + ": \"" + left.text + "\"");
  }
  return lines;
}

}  // namespace bosquell
