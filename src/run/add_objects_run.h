#pragma once

#include <cstddef>
#include <exception>

#include "placement/random_source.h"
#include "placement/recipe_draw.h"
#include "run/add_objects_request.h"

namespace bosquell {

// One Add Objects run: writes the output as a copy of the mission with its count lines raised
// and the requested objects appended, drawn from `random` as it stands (the caller starts its
// sequence). The mission is only ever read, and the output appears whole or not at all. Whatever
// goes wrong is in the result; nothing is thrown.
AddObjectsResult AddObjects(const AddObjectsRequest& request, RandomSource& random);

// The result of a run whose layers fell short as `drawn` did, out of `layerCount` layers.
AddObjectsResult FellShort(const DrawnLayers& drawn, std::size_t layerCount);

// The result of a run that threw `failure`: nothing was written.
AddObjectsResult FailedRun(const std::exception& failure);

}  // namespace bosquell
