#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iterator>
#include <string_view>

#include "common/seed_text.h"
#include "placement/tree_themes.h"

namespace bosquell {
namespace {

std::string ThemeNameList() {
  std::string list;
  for (std::string_view name : ThemeListOrder()) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  return list;
}

// A theme is named letter for letter, as the run matches the theme box.
CLI::Validator ThemeNameValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        if (FindTreeTheme(text) != nullptr) return {};
        return "\"" + text + "\" names no theme; the themes are " + ThemeNameList();
      },
      "");
}

// Plain decimal only (SeedFromText).
CLI::Validator SeedValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        if (SeedFromText(text)) return {};
        return "the seed must be a whole number from 0 to 4294967295, not \"" + text + "\"";
      },
      "");
}

// A file name given on the command line names some file.
CLI::Validator NonEmptyValidator() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        return text.empty() ? "the file name must not be empty" : std::string();
      },
      "");
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                   std::ostream& err) {
  CLI::App app{
      "Adds randomly placed tree objects to a copy of a mission file, as the Bosquell window "
      "does,\nor the layers of a recipe. Each copy is named like its MISSION with \"_rnd.mis\" "
      "in place of\nits \".mis\".",
      "bosquell-cli"};
  app.set_version_flag("--version", std::string("bosquell-cli ") + BOSQUELL_VERSION);

  CommandLine line;
  std::string theme;
  std::string ownId;
  std::string seedText;
  std::string outputPath;
  std::string plotPath;
  std::string recipePath;
  std::string writeRecipePath;
  bool removeRun = false;
  bool replaceRun = false;
  std::string newSeedText;
  std::string newRecipePath;

  CLI::Option* mission =
      app.add_option("MISSION", line.missionPaths, "The mission files to read, one run each")
          ->type_name("PATH");
  CLI::Option* recipeOption =
      app.add_option("--recipe", recipePath,
                     "Plant the layers of this recipe (TOML) in place of the area options")
          ->type_name("FILE")
          ->check(NonEmptyValidator());
  CLI::Option* writeRecipeOption =
      app.add_option("--write-recipe", writeRecipePath,
                     "Also save the recipe of this run, its seed included, to this file")
          ->type_name("FILE.toml")
          ->check(NonEmptyValidator());
  CLI::Option* themeOption =
      app.add_option("--theme", theme, "A tree theme, named exactly (see --list-themes)")
          ->type_name("NAME")
          ->check(ThemeNameValidator());
  CLI::Option* idOption =
      app.add_option("--id", ownId, "An own object type id, used instead of the theme if numeric")
          ->type_name("ID");
  // Number texts are kept as typed; the run checks and reads them as the window reads its boxes.
  const CLI::Option* area[] = {
      app.add_option("--center-x", line.centerXText,
                     "Center offset X in user units (256 map units)")
          ->type_name("NUMBER")
          ->capture_default_str(),
      app.add_option("--center-y", line.centerYText, "Center offset Y in user units")
          ->type_name("NUMBER")
          ->capture_default_str(),
      app.add_option("--range-x", line.rangeXText, "Half-width of the scatter area in user units")
          ->type_name("NUMBER")
          ->capture_default_str(),
      app.add_option("--range-y", line.rangeYText, "Half-height of the scatter area in user units")
          ->type_name("NUMBER")
          ->capture_default_str(),
  };
  const CLI::Option* countOption =
      app.add_option("--count", line.countText, "Number of objects to add")
          ->type_name("NUMBER")
          ->capture_default_str();
  const CLI::Option* keepClearOption =
      app.add_option("--keep-clear", line.keepClearText,
                     "Keep new objects at least this far from the mission's objects, in user units")
          ->type_name("NUMBER");
  const CLI::Option* spacingOption =
      app.add_option("--spacing", line.spacingText,
                     "Keep new objects at least this far from each other, in user units")
          ->type_name("NUMBER");
  CLI::Option* seedOption =
      app.add_option("--seed", seedText, "Seed the generator with N instead of the clock")
          ->type_name("N")
          ->check(SeedValidator());
  CLI::Option* outputOption = app.add_option("-o,--output", outputPath,
                                             "Write the result here instead of the _rnd.mis file")
                                  ->type_name("PATH")
                                  ->check(NonEmptyValidator());
  CLI::Option* plotOption =
      app.add_option("--plot", plotPath, "Also write an SVG picture of the result to this file")
          ->type_name("PATH.svg")
          ->check(NonEmptyValidator());
  app.add_flag("--list-themes", line.listThemes, "Print the theme names with their ids and exit");
  CLI::Option* removeOption =
      app.add_flag("--remove-run", removeRun,
                   "Take back the run that these options (or --recipe) and --seed made");
  CLI::Option* replaceOption =
      app.add_flag("--replace-run", replaceRun,
                   "Take back that run and plant a new one in its place, in one output");
  removeOption->excludes(replaceOption);
  CLI::Option* newSeedOption =
      app.add_option("--new-seed", newSeedText,
                     "With --replace-run: seed the new run with N instead of the clock")
          ->type_name("N")
          ->check(SeedValidator())
          ->needs(replaceOption);
  CLI::Option* newRecipeOption =
      app.add_option("--new-recipe", newRecipePath,
                     "With --replace-run: plant this recipe instead of the old run's")
          ->type_name("FILE")
          ->check(NonEmptyValidator())
          ->needs(replaceOption);
  app.footer(
      "With a recipe of one layer, --theme, --id, --count, --keep-clear and --spacing override\n"
      "its fields, and --seed its seed; a recipe of several layers takes --seed alone. Several\n"
      "missions are each planted from the same seed, each into its own _rnd.mis.\n\n"
      "Exit status: 0 when the objects have been added, 1 when a run ended early or failed,\n"
      "2 for a usage error. On success the last line of output is the seed the run used; with\n"
      "several missions each line names its mission and the seed.\n\n"
      "--remove-run writes MISSION without the objects of the run that the other options and\n"
      "--seed describe (the seed is required), to -o or to MISSION with \"_back.mis\" in place of\n"
      "its \".mis\"; --replace-run also plants a new run, to -o or to \"_new.mis\". Either takes\n"
      "one mission; exit status 1 when not one object of the run is found.\n");

  // CLI11 takes the arguments in reverse order.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
    if (!line.listThemes && mission->count() == 0) throw CLI::RequiredError("MISSION");
    const bool takingBack = removeOption->count() > 0 || replaceOption->count() > 0;
    if (takingBack) {
      const char* name = removeOption->count() > 0 ? "--remove-run" : "--replace-run";
      if (line.missionPaths.size() > 1) throw CLI::ValidationError(name, "takes one mission");
      if (plotOption->count() > 0)
        throw CLI::ValidationError("--plot", "cannot go with " + std::string(name));
      if (removeOption->count() > 0 && writeRecipeOption->count() > 0) {
        throw CLI::ValidationError("--write-recipe", "cannot go with --remove-run");
      }
    }
    if (line.missionPaths.size() > 1) {
      if (outputOption->count() > 0) {
        throw CLI::ValidationError("--output",
                                   "names one file; with several missions each is "
                                   "written to its own _rnd.mis");
      }
      if (plotOption->count() > 0) throw CLI::ValidationError("--plot", "takes one mission");
    }
    for (const CLI::Option* option : area) {
      if (recipeOption->count() > 0 && option->count() > 0) {
        throw CLI::ValidationError(option->get_name(),
                                   "cannot go with --recipe: the recipe's areas say where");
      }
    }
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return {std::nullopt, status == 0 ? kExitSuccess : kExitUsage};
  }

  if (removeOption->count() > 0) line.mode = CommandLine::Mode::kRemoveRun;
  if (replaceOption->count() > 0) line.mode = CommandLine::Mode::kReplaceRun;
  if (newSeedOption->count() > 0) line.newSeed = SeedFromText(newSeedText);
  if (newRecipeOption->count() > 0) line.newRecipePath = newRecipePath;
  if (themeOption->count() > 0) line.theme = theme;
  if (idOption->count() > 0) line.ownId = ownId;
  if (seedOption->count() > 0) line.seed = SeedFromText(seedText);
  if (outputOption->count() > 0) line.outputPath = outputPath;
  if (plotOption->count() > 0) line.plotPath = plotPath;
  if (recipeOption->count() > 0) line.recipePath = recipePath;
  if (writeRecipeOption->count() > 0) line.writeRecipePath = writeRecipePath;
  line.areaGiven = std::any_of(std::begin(area), std::end(area),
                               [](const CLI::Option* option) { return option->count() > 0; });
  line.countGiven = countOption->count() > 0;
  line.keepClearGiven = keepClearOption->count() > 0;
  line.spacingGiven = spacingOption->count() > 0;
  return {line, kExitSuccess};
}

}  // namespace bosquell
