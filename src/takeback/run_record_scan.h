#pragma once

#include <span>

#include "mission/input_window.h"
#include "placement/placement.h"
#include "takeback/run_records.h"

namespace bosquell {

// Reads the mission once, line by line, and finds the records of the run's objects.
//
// A record ("begin item" ... "end item") is an object's block when, whatever its id and the
// number after "begin item", it holds exactly the lines the run writes for the object: the id,
// the object's type_id, position and facing lines with the numbers written as the run writes
// them, then the run's fixed lines, in that order and nothing else; its line ends may be any.
// Where the mission holds more such records than the run wrote, the last ones are the run's
// (a run appends), and the ones before are kept and listed as repeats.
//
// A record that is no block of the run's, but has type_id, position and facing lines that
// resemble an object whose block is not found (RunObjectIndex::Find), is kept and
// listed as the object changed; each such object is listed once, with the first such record.
//
// A left-out record takes along the empty line right before it and the one right after it,
// which the run writes around each block; its neighbour, if left out too, shares them. Where
// that would bring two lines with text together that an empty line kept apart, the first empty
// line stays.
//
// Memory holds the run's objects, what is listed, and one record's few lines. Throws
// MissionStreamError when the mission cannot be read.
RunRecords ScanForRunRecords(InputWindow& mission, std::span<const DrawnObject> objects,
                             const TakeBackOptions& options);

}  // namespace bosquell
