#pragma once

#include <cstddef>
#include <span>
#include <streambuf>
#include <string>
#include <vector>

#include "mission/output_sink.h"
#include "placement/placement.h"
#include "takeback/run_records.h"

namespace bosquell {

// Taking a run back: the mission without the objects a run added, drawn again from the run's
// request and seed, whatever the mission editor has done to the file since.
//
// It takes two reads of the mission. The count lines stand before the records, but how much to
// lower them is known only once every record has been seen; and a window shows what was found
// before anything is written. The first read finds the run's records (FindRunRecords), the
// second writes the mission without them (WriteWithoutRunRecords).

// Reads the mission from where `mission` stands and finds the run's records (see
// ScanForRunRecords for what counts as one). Throws MissionStreamError when it cannot be read.
RunRecords FindRunRecords(std::streambuf& mission, std::span<const DrawnObject> objects,
                          const TakeBackOptions& options = {}, std::size_t chunkSize = 256 * 1024);

// Writes the mission read again from its start, which must be the one the records were found
// in, without the records found (see CopyWithoutRunRecords). Throws MissionStreamError.
CountLines WriteWithoutRunRecords(std::streambuf& mission, OutputSink& output,
                                  const RunRecords& records, std::size_t chunkSize = 256 * 1024);

// Both, on a mission that can be read again from its start (pubseekpos): writes nothing when
// no record of the run is found. Throws MissionStreamError.
TakeBackReport RemoveObjects(std::streambuf& mission, OutputSink& output,
                             std::span<const DrawnObject> objects,
                             const TakeBackOptions& options = {});

// What the user reads about a run taken back: "N of M removed, K not found, L changed and
// kept", then a line for each changed record, each repeat kept, and each count line not lowered.
std::vector<std::string> TakeBackReportLines(const TakeBackReport& report);

}  // namespace bosquell
