#pragma once

#include <optional>

#include "mission/input_window.h"
#include "mission/output_sink.h"
#include "takeback/run_records.h"

namespace bosquell {

// The number a count line holding `value` gets when `removed` records are left out, or nothing
// when it would go below zero. The run added `removed` to the count line's old number, so of
// the numbers that it would have turned into `value`, the one with the fewest digits is taken:
// a whole number comes back as it was, and so does a short fraction ("20.1" less 20 is 0.1,
// not the 0.10000000000000142 of a plain subtraction).
std::optional<double> LoweredCount(double value, double removed);

// Copies the mission to the output without the lines that `records` leaves out, and with every
// count line lowered by the number of records left out ("  num_items " and the new number,
// whatever followed the old number dropped, as the run writes count lines). A count line whose
// number would go below zero, or is no finite number, or that is longer than a line head (64 KB)
// stays as it is, and is listed. Every other byte goes out as read, line ends included. Nothing
// is lowered when no record is left out.
//
// `mission` must hold exactly what the records were found in, from its start. Memory does not
// grow with the mission: in a file of CR LF line ends the lines that stay are passed many bytes
// at a time. Throws MissionStreamError when the mission cannot be read or does not hold the
// lines to leave out where they were, or the output cannot be written.
CountLines CopyWithoutRunRecords(InputWindow& mission, OutputSink& output,
                                 const RunRecords& records);

}  // namespace bosquell
