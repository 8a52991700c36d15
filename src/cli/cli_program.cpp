#include "cli/cli_program.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>

#include "cli/command_line.h"
#include "cli/plot_background.h"
#include "cli/recipe_overrides.h"
#include "cli/svg_plot.h"
#include "cli/take_back_program.h"
#include "common/same_file.h"
#include "common/utf8_path.h"
#include "files/atomic_text_file.h"
#include "form/form_inputs.h"
#include "map/map_picture.h"
#include "map/mission_density.h"
#include "map/picture_reader.h"
#include "mission/output_path.h"
#include "placement/random_source.h"
#include "placement/recipe_draw.h"
#include "placement/tree_themes.h"
#include "recipe/background_image_path.h"
#include "recipe/recipe_reader.h"
#include "recipe/recipe_text.h"
#include "run/add_objects_run.h"
#include "run/run_messages.h"

namespace bosquell {
namespace {

constexpr std::string_view kProgram = "bosquell-cli: ";
// The longest theme name and a blank.
constexpr std::size_t kThemeNameColumn = 12;

void ListThemes(std::ostream& out) {
  for (std::string_view name : ThemeListOrder()) {
    out << name;
    for (std::size_t pad = name.size(); pad < kThemeNameColumn; ++pad) out << ' ';
    if (const TreeTheme* theme = FindTreeTheme(name)) {
      for (std::size_t i = 0; i < theme->typeIds.size(); ++i) {
        out << (i == 0 ? "" : " ") << theme->typeIds[i];
      }
    }
    out << '\n';
  }
}

// The options' texts as the form's inputs for one mission; with neither a theme nor an id no
// theme is chosen, and the checks answer that as they answer the window.
RunInputs InputsFor(const CommandLine& line, const std::string& missionPath) {
  RunInputs inputs;
  if (line.theme) inputs.themeText = *line.theme;
  inputs.ownIdText = line.ownId.value_or("");
  inputs.centerXText = line.centerXText;
  inputs.rangeYText = line.rangeYText;
  inputs.centerYText = line.centerYText;
  inputs.rangeXText = line.rangeXText;
  inputs.countText = line.countText;
  inputs.keepClearText = line.keepClearText;
  inputs.spacingText = line.spacingText;
  inputs.missionPath = missionPath;
  inputs.outputPath = line.outputPath.value_or(OutputPathFor(missionPath));
  return inputs;
}

// Refuses file names that would make the run or the plot overwrite the mission, or the plot
// overwrite the output, and a mission with no output name to derive. Returns the reason, or ""
// when the names are fine.
std::string ConflictingPaths(const CommandLine& line, const RunInputs& inputs) {
  if (!line.outputPath && !HasMissionExtension(inputs.missionPath)) {
    return "the mission file " + inputs.missionPath +
           " does not end in .mis, so it has no output name to derive; name one with -o";
  }
  const std::filesystem::path mission = PathFromUtf8(inputs.missionPath);
  const std::filesystem::path output = PathFromUtf8(inputs.outputPath);
  // Given or derived, and also when one is a link to the other.
  if (NamesSameFile(mission, output)) {
    return "the output file " + inputs.outputPath +
           " is the mission file itself; the mission file is never changed";
  }
  if (line.plotPath) {
    const std::filesystem::path plot = PathFromUtf8(*line.plotPath);
    if (NamesSameFile(plot, mission)) {
      return "the plot file " + *line.plotPath + " is the mission file itself";
    }
    if (NamesSameFile(plot, output)) {
      return "the plot file " + *line.plotPath + " is the output file " + inputs.outputPath;
    }
  }
  return {};
}

// The picture of a plot, in pixels.
constexpr int kPlotWidth = 960;
constexpr int kPlotHeight = 720;
constexpr double kPlotMargin = 40;

// Draws the finished run over the objects the mission held before, as the map window would
// show it, over the recipe's background picture when `backgroundImage` is where it lies.
// Returns "" on success.
std::string WritePlot(const std::string& plotPath, const AddObjectsRequest& request,
                      const AddObjectsResult& result, std::uint32_t seed,
                      const std::optional<std::string>& backgroundImage) {
  const std::optional<MissionDensity> existing = MissionDensity::Read(request.missionPath);
  if (!existing) return "cannot read " + request.missionPath + " again for its objects";

  MapPicture picture;
  picture.existing = &*existing;
  // The picture frames every layer's area; the rules' circles stand for one layer's distances.
  auto compiled = CompileLayers(request.recipe.layers);
  const auto* layers = std::get_if<std::vector<CompiledLayer>>(&compiled);
  if (layers == nullptr || layers->empty()) return "the recipe has no layer to draw";
  MapRectangle area = layers->front().DrawArea();
  for (const CompiledLayer& layer : *layers) {
    const MapRectangle more = layer.DrawArea();
    area = {std::min(area.left, more.left), std::min(area.bottom, more.bottom),
            std::max(area.right, more.right), std::max(area.top, more.top)};
  }
  picture.area = area;
  if (layers->size() == 1) {
    picture.keepClear = layers->front().rules.keepClear;
    picture.spacing = layers->front().rules.spacing;
  }
  picture.objects = &result.objects;
  picture.objectsAsDots = true;
  picture.title = Utf8FromPath(PathFromUtf8(request.outputPath).filename()) + ": " +
                  std::to_string(result.objects.size()) + " objects added, seed " +
                  std::to_string(seed);
  MapViewport viewport;
  viewport.Resize(kPlotWidth, kPlotHeight);
  viewport.Fit(WholePicture(picture.existing, picture.area), kPlotMargin);
  std::optional<SvgImage> under;
  if (backgroundImage && request.recipe.background) {
    under = PlotImage(*request.recipe.background, *backgroundImage, plotPath, viewport);
  }
  return WriteFileAtomically(PathFromUtf8(plotPath),
                             SvgPlot(DrawMapScene(picture, viewport), picture.title, under));
}

// WritePlot, with anything unexpected as its failure too: the mission output has been written
// by then, and the net for the unexpected would say that nothing was.
std::string TryWritePlot(const std::string& plotPath, const AddObjectsRequest& request,
                         const AddObjectsResult& result, std::uint32_t seed,
                         const std::optional<std::string>& backgroundImage) {
  try {
    return WritePlot(plotPath, request, result, seed, backgroundImage);
  } catch (const std::bad_alloc&) {
    return "not enough memory";
  } catch (const std::exception& failure) {
    return failure.what();
  } catch (...) {
    return "an unexpected failure";
  }
}

// The form's checks on the options' texts, then the run. The message of the first failing
// check, or what was asked for and what came of it; an exception is the run's failure too.
struct CheckedRun {
  std::optional<std::string> failedCheck;
  std::optional<AddObjectsRequest> request;
  AddObjectsResult result;
};

CheckedRun CheckAndRun(const RunInputs& inputs, const std::optional<Recipe>& recipe,
                       RandomSource& random) {
  CheckedRun run;
  try {
    if (recipe) {
      run.request.emplace();
      run.request->recipe = *recipe;
      run.request->missionPath = inputs.missionPath;
      run.request->outputPath = inputs.outputPath;
    } else {
      auto checked = CheckRunInputs(inputs);
      if (std::string* message = std::get_if<std::string>(&checked)) {
        run.failedCheck = std::move(*message);
        return run;
      }
      run.request = std::move(std::get<AddObjectsRequest>(checked));
    }
    run.result = AddObjects(*run.request, random);
  } catch (const std::exception& failure) {
    run.result = FailedRun(failure);
  }
  return run;
}

// What a written run adds to its message: how many objects each fill placed.
std::vector<std::string> FillLines(const CheckedRun& run) {
  std::vector<std::string> lines;
  const std::vector<Layer>& layers = run.request->recipe.layers;
  for (std::size_t i = 0; i < layers.size() && i < run.result.layerCounts.size(); ++i) {
    if (!layers[i].fill) continue;
    lines.push_back("Layer " + std::to_string(i + 1) + " filled its area with " +
                    std::to_string(run.result.layerCounts[i]) + " objects.");
  }
  return lines;
}

// The lines as one, a blank between them unless the line before ends in one.
std::string OneLine(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty() && text.back() != ' ') text += ' ';
    text += line;
  }
  return text;
}

// The recipe every mission of the invocation plants: the recipe file's with the options that
// override it, or the one layer the options make (nothing when the form's checks refuse them,
// which each run then reports). On a usage error, `exitCode` says how to end.
struct PlantedRecipe {
  std::optional<Recipe> fromFile;
  std::optional<Recipe> planted;
  std::optional<int> exitCode;
};

// The recipe in the file, or nothing once the reader's message has gone to `err`.
std::optional<Recipe> ReadRecipeFile(const std::string& path, std::ostream& err) {
  auto read = ReadRecipe(path);
  if (const std::string* message = std::get_if<std::string>(&read)) {
    err << *message << '\n';
    return std::nullopt;
  }
  return std::move(std::get<Recipe>(read));
}

// Saves the recipe to --write-recipe's file; false once the failure has gone to `err`.
bool WriteRecipeFile(const CommandLine& line, const Recipe& recipe, std::ostream& err) {
  const std::string problem =
      WriteFileAtomically(PathFromUtf8(*line.writeRecipePath), RecipeText(recipe));
  if (problem.empty()) return true;
  err << kProgram << "could not write the recipe " << *line.writeRecipePath << " (" << problem
      << ")\n";
  return false;
}

PlantedRecipe RecipeToPlant(const CommandLine& line, std::ostream& err) {
  PlantedRecipe recipe;
  if (line.recipePath) {
    std::optional<Recipe> read = ReadRecipeFile(*line.recipePath, err);
    if (!read) {
      recipe.exitCode = kExitRunFailed;
      return recipe;
    }
    auto overridden = OverriddenRecipe(std::move(*read), line);
    if (const std::string* message = std::get_if<std::string>(&overridden)) {
      err << kProgram << *message << '\n';
      recipe.exitCode = kExitUsage;
      return recipe;
    }
    recipe.fromFile = std::move(std::get<Recipe>(overridden));
    recipe.planted = recipe.fromFile;
    return recipe;
  }
  auto checked = CheckRunInputs(InputsFor(line, line.missionPaths.front()));
  if (auto* request = std::get_if<AddObjectsRequest>(&checked)) {
    recipe.planted = std::move(request->recipe);
  }
  return recipe;
}

// Where the plot finds the recipe's background picture; nothing, with a warning, when the
// picture cannot be shown: the plot is then drawn without it, as the map window draws the map.
std::optional<std::string> PlotBackgroundImage(const CommandLine& line,
                                               const std::optional<Recipe>& recipe,
                                               std::ostream& err) {
  if (!line.plotPath || !line.recipePath || !recipe || !recipe->background) return std::nullopt;
  std::string image = BackgroundImagePath(*line.recipePath, recipe->background->image);
  if (const std::string problem = PictureFileProblem(image); !problem.empty()) {
    err << kProgram << "warning: the plot is drawn without its background picture: " << problem
        << '\n';
    return std::nullopt;
  }
  return image;
}

// Refuses a recipe file to write that would replace another file of the invocation, or a recipe
// that would not read back as itself (an own id longer than a recipe takes, a distance beyond
// the map). Returns the reason, or "".
std::string RecipeToWriteProblem(const CommandLine& line, const Recipe* recipe) {
  const std::filesystem::path path = PathFromUtf8(*line.writeRecipePath);
  std::vector<std::string> others = line.missionPaths;
  for (const std::string& mission : line.missionPaths) {
    others.push_back(line.outputPath.value_or(OutputPathFor(mission)));
  }
  if (line.plotPath) others.push_back(*line.plotPath);
  if (line.recipePath) others.push_back(*line.recipePath);
  for (const std::string& other : others) {
    if (NamesSameFile(path, PathFromUtf8(other))) {
      return "--write-recipe " + *line.writeRecipePath + " would replace " + other +
             ", which this run reads or writes";
    }
  }
  if (recipe == nullptr) return {};
  const auto again = ParseRecipe(RecipeText(*recipe), *line.writeRecipePath);
  if (const std::string* message = std::get_if<std::string>(&again)) {
    return "the recipe of this run cannot be written as one that reads back: " + *message;
  }
  return {};
}

// Tells how one run went: with one mission as the window's message, then any fill's count and
// the seed on a line of its own; with several, on one line naming the mission and the seed.
// Returns whether the run wrote its output.
bool Report(const CheckedRun& run, const RunInputs& inputs, std::uint32_t seed, bool several,
            std::ostream& out, std::ostream& err) {
  const bool written = !run.failedCheck && run.result.status == AddObjectsResult::Status::kWritten;
  std::vector<std::string> lines = run.failedCheck ? std::vector<std::string>{*run.failedCheck}
                                                   : RunMessageLines(run.result, inputs.outputPath);
  if (written) {
    for (std::string& fill : FillLines(run)) lines.push_back(std::move(fill));
  }
  std::ostream& to = written ? out : err;
  if (several) {
    to << inputs.missionPath << ": seed " << seed << ": " << OneLine(lines) << '\n';
  } else {
    to << JoinLines(lines, "\n") << '\n';
    if (written) to << "seed " << seed << '\n';
  }
  return written;
}

// The file a take-back writes when -o names none: "_back.mis" for a run taken back, "_new.mis"
// for one replaced, in place of the mission's ".mis"; longer than the mission's name, so never
// the mission itself.
std::string TakeBackOutputFor(const CommandLine& line, const std::string& missionPath) {
  if (line.outputPath || !HasMissionExtension(missionPath)) return line.outputPath.value_or("");
  const char* suffix = line.mode == CommandLine::Mode::kRemoveRun ? "_back.mis" : "_new.mis";
  return missionPath.substr(0, missionPath.size() - 4) + suffix;
}

// The recipe the new run of --replace-run plants: --new-recipe's or the old run's, from
// --new-seed, the new recipe's own seed or the clock. On a failure `exitCode` says how to end.
PlantedRecipe NewRecipe(const CommandLine& line, const Recipe& oldRecipe, std::ostream& err) {
  PlantedRecipe recipe;
  recipe.planted = oldRecipe;
  recipe.planted->seed.reset();
  if (line.newRecipePath) {
    recipe.planted = ReadRecipeFile(*line.newRecipePath, err);
    if (!recipe.planted) {
      recipe.exitCode = kExitRunFailed;
      return recipe;
    }
  }
  if (line.newSeed) recipe.planted->seed = line.newSeed;
  if (!recipe.planted->seed) recipe.planted->seed = MersenneRandom().Seed();
  return recipe;
}

// --remove-run and --replace-run: the run to take back is described as a run is, by the options
// or a recipe, and its seed must be given.
int RunTakeBack(const CommandLine& line, std::ostream& out, std::ostream& err) {
  RunInputs inputs = InputsFor(line, line.missionPaths.front());
  inputs.outputPath = TakeBackOutputFor(line, inputs.missionPath);
  if (const std::string conflict = ConflictingPaths(line, inputs); !conflict.empty()) {
    err << kProgram << conflict << '\n';
    return kExitUsage;
  }
  PlantedRecipe recipe = RecipeToPlant(line, err);
  if (recipe.exitCode) return *recipe.exitCode;
  std::optional<std::uint32_t> seed = line.seed;
  if (!seed && recipe.fromFile) seed = recipe.fromFile->seed;
  if (!seed) {
    err << kProgram
        << "taking a run back needs the seed that made it: give --seed N, or a recipe that "
           "holds it\n";
    return kExitUsage;
  }
  if (!recipe.planted) {
    err << std::get<std::string>(CheckRunInputs(inputs)) << '\n';
    return kExitRunFailed;
  }
  recipe.planted->seed = seed;
  const TakeBackRequest request{*recipe.planted, inputs.missionPath, inputs.outputPath, {}};
  if (line.mode == CommandLine::Mode::kRemoveRun) return RemoveRunCommand(request, out, err);

  const PlantedRecipe next = NewRecipe(line, *recipe.planted, err);
  if (next.exitCode) return *next.exitCode;
  if (line.writeRecipePath) {
    std::string problem = RecipeToWriteProblem(line, &*next.planted);
    if (problem.empty() &&
        NamesSameFile(PathFromUtf8(*line.writeRecipePath), PathFromUtf8(inputs.outputPath))) {
      problem = "--write-recipe " + *line.writeRecipePath + " would replace " + inputs.outputPath +
                ", which this run writes";
    }
    if (!problem.empty()) {
      err << kProgram << problem << '\n';
      return kExitUsage;
    }
  }
  const int status = ReplaceRunCommand(request, *next.planted, out, err);
  if (status == kExitSuccess && line.writeRecipePath &&
      !WriteRecipeFile(line, *next.planted, err)) {
    return kExitRunFailed;
  }
  return status;
}

// The program proper; RunCliProgram adds the net for the unexpected.
int RunProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const ParsedCommandLine parsed = ParseCommandLine(arguments, out, err);
  if (!parsed.commandLine) return parsed.exitCode;
  const CommandLine& line = *parsed.commandLine;

  if (line.listThemes) {
    ListThemes(out);
    out.flush();
    return out ? kExitSuccess : kExitRunFailed;
  }
  if (line.mode != CommandLine::Mode::kAdd) {
    const int status = RunTakeBack(line, out, err);
    out.flush();
    if (!out) {
      err << kProgram << "could not write to standard output\n";
      return kExitRunFailed;
    }
    return status;
  }

  std::vector<RunInputs> runs;
  for (const std::string& missionPath : line.missionPaths) {
    runs.push_back(InputsFor(line, missionPath));
    if (const std::string conflict = ConflictingPaths(line, runs.back()); !conflict.empty()) {
      err << kProgram << conflict << '\n';
      return kExitUsage;
    }
  }
  PlantedRecipe recipe = RecipeToPlant(line, err);
  if (recipe.exitCode) return *recipe.exitCode;
  // One seed for every mission, so that each is planted as a run of that seed alone would be.
  std::uint32_t seed = MersenneRandom().Seed();
  if (line.seed) {
    seed = *line.seed;
  } else if (recipe.fromFile && recipe.fromFile->seed) {
    seed = *recipe.fromFile->seed;
  }
  if (recipe.planted) recipe.planted->seed = seed;
  if (line.writeRecipePath && line.recipePath && recipe.planted && recipe.planted->background) {
    // The picture stays where it is: its path is written for the new recipe's folder.
    std::string& image = recipe.planted->background->image;
    image = RebasedImagePath(*line.recipePath, *line.writeRecipePath, image);
  }
  if (line.writeRecipePath) {
    const std::string problem =
        RecipeToWriteProblem(line, recipe.planted ? &*recipe.planted : nullptr);
    if (!problem.empty()) {
      err << kProgram << problem << '\n';
      return kExitUsage;
    }
  }

  const std::optional<std::string> backgroundImage =
      PlotBackgroundImage(line, recipe.fromFile, err);
  int status = kExitSuccess;
  const bool several = runs.size() > 1;
  for (const RunInputs& inputs : runs) {
    MersenneRandom random(seed);
    random.StartRun();
    const CheckedRun run = CheckAndRun(inputs, recipe.fromFile, random);
    if (!Report(run, inputs, seed, several, out, err)) {
      status = kExitRunFailed;
      continue;
    }
    out.flush();
    if (line.plotPath) {
      if (const std::string problem =
              TryWritePlot(*line.plotPath, *run.request, run.result, seed, backgroundImage);
          !problem.empty()) {
        err << kProgram << "could not write the plot " << *line.plotPath << " (" << problem
            << "); the mission output " << inputs.outputPath << " has been written\n";
        status = kExitRunFailed;
      }
    }
  }

  if (line.writeRecipePath && recipe.planted && !WriteRecipeFile(line, *recipe.planted, err)) {
    status = kExitRunFailed;
  }
  if (!out) {
    err << kProgram << "could not write to standard output\n";
    return kExitRunFailed;
  }
  return status;
}

}  // namespace

int RunCliProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  // The program never ends in an uncaught exception: anything unexpected is a failure with a
  // message, and every file it was writing has been removed as the stack unwound.
  try {
    return RunProgram(arguments, out, err);
  } catch (const std::bad_alloc&) {
    err << kProgram << "not enough memory; no half-written file is left behind\n";
  } catch (const std::exception& failure) {
    err << kProgram << failure.what() << "; no half-written file is left behind\n";
  } catch (...) {
    err << kProgram << "an unexpected failure; no half-written file is left behind\n";
  }
  return kExitRunFailed;
}

}  // namespace bosquell
