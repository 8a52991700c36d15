#pragma once

#include <ostream>

#include "recipe/recipe.h"
#include "run/take_back_run.h"

namespace bosquell {

// --remove-run: takes the run of `request` back and tells how it went, the report on `out` when
// the output is written, on `err` when not. Returns the exit status.
int RemoveRunCommand(const TakeBackRequest& request, std::ostream& out, std::ostream& err);

// --replace-run: takes the run back and plants `newRecipe` (its seed set) in its place, then
// tells how both went, the new run's seed last. Returns the exit status.
int ReplaceRunCommand(const TakeBackRequest& request, const Recipe& newRecipe, std::ostream& out,
                      std::ostream& err);

}  // namespace bosquell
