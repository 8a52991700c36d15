#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <string_view>
#include <system_error>

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

std::optional<std::uint32_t> SeedFromText(std::string_view text) {
  std::uint32_t seed = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, seed);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return seed;
}

// Plain decimal only, so that the seed printed after a run reads back as the same number.
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
      "does.\nThe copy is named like MISSION with \"_rnd.mis\" in place of its \".mis\".",
      "bosquell-cli"};
  app.set_version_flag("--version", std::string("bosquell-cli ") + BOSQUELL_VERSION);

  CommandLine line;
  std::string theme;
  std::string ownId;
  std::string seedText;
  std::string outputPath;
  std::string plotPath;

  CLI::Option* mission =
      app.add_option("MISSION", line.missionPath, "The mission file to read")->type_name("PATH");
  CLI::Option* themeOption =
      app.add_option("--theme", theme, "A tree theme, named exactly (see --list-themes)")
          ->type_name("NAME")
          ->check(ThemeNameValidator());
  CLI::Option* idOption =
      app.add_option("--id", ownId, "An own object type id, used instead of the theme if numeric")
          ->type_name("ID");
  // Number texts are kept as typed; the run checks and reads them as the window reads its boxes.
  app.add_option("--center-x", line.centerXText, "Center offset X in user units (256 map units)")
      ->type_name("NUMBER")
      ->capture_default_str();
  app.add_option("--center-y", line.centerYText, "Center offset Y in user units")
      ->type_name("NUMBER")
      ->capture_default_str();
  app.add_option("--range-x", line.rangeXText, "Half-width of the scatter area in user units")
      ->type_name("NUMBER")
      ->capture_default_str();
  app.add_option("--range-y", line.rangeYText, "Half-height of the scatter area in user units")
      ->type_name("NUMBER")
      ->capture_default_str();
  app.add_option("--count", line.countText, "Number of objects to add")
      ->type_name("NUMBER")
      ->capture_default_str();
  app.add_option("--keep-clear", line.keepClearText,
                 "Keep new objects at least this far from the mission's objects, in user units")
      ->type_name("NUMBER");
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
  app.footer(
      "Exit status: 0 when the objects have been added, 1 when the run ended early or failed,\n"
      "2 for a usage error. On success the last line of output is the seed the run used.\n");

  // CLI11 takes the arguments in reverse order.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
    if (!line.listThemes && mission->count() == 0) throw CLI::RequiredError("MISSION");
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return {std::nullopt, status == 0 ? kExitSuccess : kExitUsage};
  }

  if (themeOption->count() > 0) line.theme = theme;
  if (idOption->count() > 0) line.ownId = ownId;
  if (seedOption->count() > 0) line.seed = SeedFromText(seedText);
  if (outputOption->count() > 0) line.outputPath = outputPath;
  if (plotOption->count() > 0) line.plotPath = plotPath;
  return {line, kExitSuccess};
}

}  // namespace bosquell
