#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "run/add_objects_request.h"

namespace bosquell {

// What the user is told about a run's result, line by line, in the words of the window's
// message boxes; `outputPath` is the file the run was to write. Where a message is shown decides
// how its lines end: CR LF in a message box, a newline on a console.
std::vector<std::string> RunMessageLines(const AddObjectsResult& result,
                                         std::string_view outputPath);

// The lines joined into one text, `lineEnd` between them.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd);

// Why a draw under the placement rules stopped: how many of the objects found a place. With
// several layers the text names the layer (counted from 1); 0 names none.
std::string NotAllPlacedText(std::size_t placed, std::size_t count, std::size_t layer = 0);

// Why a fill wrote nothing: more objects fit its area than the `room` the run had left for it.
std::string OverfilledText(std::size_t room, std::size_t layer = 0);

}  // namespace bosquell
