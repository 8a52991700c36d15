// Runs the built bosquell-cli on small missions and checks files, messages and exit statuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "common/utf8_path.h"

namespace bosquell::test {
namespace {

namespace fs = std::filesystem;

constexpr char kAddedText[] = " Object have been added and the file has been saved to ";

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(Fixture("two_oaks.mis"), Mission());
    original_ = ReadBytes(Mission());
  }
  fs::path Mission() const { return scratch_ / "two_oaks.mis"; }
  fs::path Output() const { return scratch_ / "two_oaks_rnd.mis"; }
  ProgramResult Run(std::vector<std::string> arguments) const {
    return RunProgram(arguments, scratch_);
  }
  void ExpectMissionUnchangedAndNoOutput() const {
    EXPECT_EQ(ReadBytes(Mission()), original_);
    EXPECT_FALSE(fs::exists(Output()));
  }

  ScratchDirectory scratch_;
  std::string original_;
};

TEST_F(EndToEnd, FixedSeedWritesTheExpectedFileAndReportsTheSeed) {
  const ProgramResult result =
      Run({"--theme", "Peru", "--seed", "42", "--count", "5", "--center-x", "2", "--center-y", "-1",
           "--range-x", "3", "--range-y", "2", Mission().string()});

  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "5" + std::string(kAddedText) + "\n" + Output().string() + "\nseed 42\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadBytes(Output()), ReadBytes(Fixture("two_oaks_peru_seed42.mis")));
  EXPECT_EQ(ReadBytes(Mission()), original_);
}

// Windows passes names outside the ANSI code page on only through its wide functions, and
// stopped at 260 characters before the program's manifest lifted the limit.
TEST_F(EndToEnd, NonAsciiNamesAndLongPathsReachTheFilesIntact) {
  const std::vector<std::vector<std::string>> folderNames = {
      {"Wäldchen 森"}, {std::string(100, 'a'), std::string(100, 'b'), std::string(100, 'c')}};
  for (const std::vector<std::string>& names : folderNames) {
    fs::path folder = scratch_.Path();
    for (const std::string& name : names) folder /= PathFromUtf8(name);
    fs::create_directories(folder);
    const fs::path mission = folder / PathFromUtf8("森.mis");
    const fs::path output = folder / PathFromUtf8("森_rnd.mis");
    const fs::path plot = folder / PathFromUtf8("Wäldchen.svg");
    fs::copy_file(Fixture("two_oaks.mis"), mission);

    const ProgramResult result = Run(
        {"--theme", "Peru", "--seed", "42", "--count", "5", "--center-x", "2", "--center-y", "-1",
         "--range-x", "3", "--range-y", "2", "--plot", Utf8FromPath(plot), Utf8FromPath(mission)});

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "5" + std::string(kAddedText) + "\n" + Utf8FromPath(output) + "\nseed 42\n");
    EXPECT_EQ(ReadBytes(output), ReadBytes(Fixture("two_oaks_peru_seed42.mis")));
    EXPECT_TRUE(fs::exists(plot));
  }
}

TEST_F(EndToEnd, ClockSeededRunCanBeRepeatedWithThePrintedSeed) {
  const ProgramResult first = Run({"--theme", "Jungel", "--count", "50", Mission().string()});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::string::size_type seedAt = first.out.rfind("seed ");
  ASSERT_NE(seedAt, std::string::npos);
  const std::string seed = first.out.substr(seedAt + 5, first.out.size() - seedAt - 6);
  const std::string firstOutput = ReadBytes(Output());

  const fs::path again = scratch_ / "again.mis";
  const ProgramResult second = Run({"--theme", "Jungel", "--count", "50", "--seed", seed, "-o",
                                    again.string(), Mission().string()});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(ReadBytes(again), firstOutput);
}

TEST_F(EndToEnd, EachEarlyEndExitsWithOneAndTheRunsMessage) {
  struct Case {
    std::vector<std::string> options;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "You have to select a Tree Theme or enter you own Object ID First!, Thank You"},
      // An id that is no number, with no theme, would give every object an empty type.
      {{"--id", "abc"},
       "You have to select a Tree Theme or enter you own Object ID First!, Thank You"},
      {{"--id", " ", "--count", "x"},
       "You have to select a Tree Theme or enter you own Object ID First!, Thank You"},
      {{"--theme", "Snow", "--count", "many"}, "Please only enter Numbers!"},
      {{"--theme", "Snow", "--center-y", ""}, "Please only enter Numbers!"},
      {{"--theme", "Snow", "--range-x", "0"}, "You have to enter a Positive Intiger in the Range!"},
      {{"--theme", "Snow", "--count", "0.5"},
       "You have to put a number 1 ot greater in the 'Number of objects to add' box!"},
      {{"--theme", "Snow", "--count", "32767"},
       "You have to put a number smaller than 32767 in the 'Number of objects to add' box!"},
      {{"--theme", "Snow", "--range-y", "1e9"},
       "The Range or the Center Offset is too large, please enter smaller Numbers!"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.push_back(Mission().string());
    const ProgramResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, 1) << c.message;
    EXPECT_EQ(result.err, c.message + "\n");
    EXPECT_EQ(result.out, "");
    ExpectMissionUnchangedAndNoOutput();
  }
}

TEST_F(EndToEnd, MissingMissionFileFailsWithItsPath) {
  const fs::path missing = scratch_ / "gone.mis";
  const ProgramResult result = Run({"--theme", "Snow", missing.string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("The mission file could not be read:\n" + missing.string()),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(scratch_ / "gone_rnd.mis"));
}

TEST_F(EndToEnd, UsageErrorsExitWithTwoAndWriteNothing) {
  const ProgramResult unknownTheme = Run({"--theme", "jungel", Mission().string()});
  EXPECT_EQ(unknownTheme.exitCode, 2);
  for (const char* name :
       {"Jungel", "Zaire", "Georgia", "Desert", "Niger", "Kazhazkstan", "Peru", "Snow"}) {
    EXPECT_NE(unknownTheme.err.find(name), std::string::npos) << name;
  }
  EXPECT_EQ(Run({"--theme", "Snow"}).exitCode, 2);
  EXPECT_EQ(Run({"--theme", "Snow", "--seed", "-1", Mission().string()}).exitCode, 2);
  EXPECT_EQ(Run({"--theme", "Snow", "--no-such-option", Mission().string()}).exitCode, 2);
  EXPECT_EQ(Run({"--theme", "Snow", "-o", "x.mis", Mission().string(), "second.mis"}).exitCode, 2);
  ExpectMissionUnchangedAndNoOutput();
}

TEST_F(EndToEnd, OutputNamingTheMissionItselfIsRefused) {
  fs::create_directory(scratch_ / "sub");
  const fs::path otherSpelling = scratch_ / "sub" / ".." / "two_oaks.mis";
  const ProgramResult result =
      Run({"--theme", "Snow", "-o", otherSpelling.string(), Mission().string()});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("is the mission file itself"), std::string::npos) << result.err;
  ExpectMissionUnchangedAndNoOutput();

  // A mission that does not exist is compared by name.
  const fs::path missing = scratch_ / "gone.mis";
  EXPECT_EQ(
      Run({"--theme", "Snow", "--output", (scratch_ / "." / "gone.mis").string(), missing.string()})
          .exitCode,
      2);
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(EndToEnd, AnOutputThatCannotBeDerivedOrWouldReplaceTheMissionIsAUsageError) {
  fs::create_directory(scratch_ / "sub");
  fs::copy_file(Mission(), scratch_ / "sub" / "ab");
  fs::copy_file(Mission(), scratch_ / "UPPER.MIS");
  struct Case {
    std::string mission;
    int exitCode;
  };
  std::vector<Case> cases{{(scratch_ / "sub" / "ab").string(), 2},  // no ".mis": nothing to derive
                          {(scratch_ / "UPPER.MIS").string(), 0}};
  // The derived output links to the mission (where the system lets a test make links).
  std::error_code linkRefused;
  fs::create_symlink(Mission(), Output(), linkRefused);
  if (!linkRefused) cases.push_back({Mission().string(), 2});
  for (const auto& c : cases) {
    EXPECT_EQ(Run({"--theme", "Snow", c.mission}).exitCode, c.exitCode) << c.mission;
  }
  EXPECT_FALSE(fs::exists(scratch_ / "su_rnd.mis"));
  EXPECT_TRUE(fs::exists(scratch_ / "UPPER_rnd.mis"));
  EXPECT_EQ(ReadBytes(Mission()), original_);
}

TEST_F(EndToEnd, NegativeTextsAreValuesAndOwnIdIsUsedAsTyped) {
  const ProgramResult result =
      Run({"--id", "-5", "--center-x", "-3", "--center-y", "-.5", "--range-x", "1", "--range-y",
           "1", "--count", "30", "--seed", "9", Mission().string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  const std::string output = ReadBytes(Output());
  int blocks = 0;
  for (std::string::size_type at = output.find("  type_id -5\r\n"); at != std::string::npos;
       at = output.find("  type_id -5\r\n", at + 1)) {
    ++blocks;
  }
  EXPECT_EQ(blocks, 30);
  // Center -3, -0.5 user units and a range of one user unit: x in -1024..-512, y in -384..128.
  int positions = 0;
  for (auto at = output.find("\r\n  position ", output.find("begin item 7"));
       at != std::string::npos; at = output.find("\r\n  position ", at + 1)) {
    long x = 0, y = 0;
    ASSERT_EQ(std::sscanf(output.c_str() + at + 2, "  position %ld %ld", &x, &y), 2);
    EXPECT_TRUE(x >= -1024 && x <= -512) << x;
    EXPECT_TRUE(y >= -384 && y <= 128) << y;
    ++positions;
  }
  EXPECT_EQ(positions, 30);
}

TEST_F(EndToEnd, ListThemesHelpAndVersionNeedNoMission) {
  const ProgramResult themes = Run({"--list-themes"});
  EXPECT_EQ(themes.exitCode, 0);
  EXPECT_EQ(themes.out.substr(0, themes.out.find('\n')),
            "Jungel      1055 1056 1017 1018 1059 1134 1054 4075");
  EXPECT_EQ(std::count(themes.out.begin(), themes.out.end(), '\n'), 8);

  const ProgramResult help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--center-x"), std::string::npos);
  const ProgramResult version = Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("bosquell-cli ", 0), 0u);
}

TEST_F(EndToEnd, PlotThatCannotBeWrittenFailsAfterTheOutputIsWritten) {
  const fs::path plot = scratch_ / "no-such-dir" / "plot.svg";
  const ProgramResult result =
      Run({"--theme", "Snow", "--seed", "1", "--plot", plot.string(), Mission().string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.out.find("seed 1\n"), std::string::npos);
  EXPECT_NE(result.err.find(plot.string()), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("has been written"), std::string::npos) << result.err;
  EXPECT_TRUE(fs::exists(Output()));
}

TEST_F(EndToEnd, PlotOfObjectsFartherApartThanTheLargestDoubleIsWritten) {
  WriteBytes(Mission(),
             "begin item 0\r\n  position 1e308 0 0\r\nend item\r\n"
             "begin item 1\r\n  position -1e308 0 0\r\nend item\r\n");
  const fs::path plot = scratch_ / "plot.svg";
  const ProgramResult result =
      Run({"--theme", "Snow", "--seed", "1", "--plot", plot.string(), Mission().string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(ReadBytes(plot).find(">existing objects: 2</text>"), std::string::npos);
  EXPECT_TRUE(fs::exists(Output()));
}

TEST_F(EndToEnd, PlotMayNotReplaceTheMissionOrTheOutput) {
  EXPECT_EQ(Run({"--theme", "Snow", "--plot", Mission().string(), Mission().string()}).exitCode, 2);
  EXPECT_EQ(Run({"--theme", "Snow", "--plot", Output().string(), Mission().string()}).exitCode, 2);
  ExpectMissionUnchangedAndNoOutput();
}

// A grove of one layer: an even fill between a polygon and a road, clear of the two oaks.
constexpr char kGrove[] = R"(seed = 5
[[layer]]
mix = { 1133 = 2, 1130 = 1 }
fill = true
pattern = "even"
spacing = 1.5
keep-clear = 1
  [[layer.area]]
  polygon = [[-10, -10], [12, -8], [6, 9], [-7, 11]]
  [[layer.area]]
  corridor = { points = [[-12, 0], [12, 2]], width = 2 }
  exclude = true
)";

// The recipe a run saves plants the same bytes again: a run of the options with a seed of the
// clock, a recipe, and a recipe with options overriding its fields.
TEST_F(EndToEnd, AWrittenRecipePlantsTheSameBytesAgain) {
  const std::string grove = (scratch_ / "grove.toml").string();
  WriteBytes(grove, kGrove);
  const std::string written = (scratch_ / "written.toml").string();
  const std::vector<std::vector<std::string>> runs = {
      {"--id", " 77", "--count", "40.5", "--keep-clear", "0.5", "--spacing", "0.25", "--center-x",
       "1.5", "--range-x", "4", "--range-y", "3"},
      {"--recipe", grove},
      {"--recipe", grove, "--seed", "12", "--count", "30", "--theme", "Niger", "--spacing", "2"},
  };
  for (std::vector<std::string> first : runs) {
    first.insert(first.end(), {"--write-recipe", written, Mission().string()});
    const ProgramResult planted = Run(first);
    ASSERT_EQ(planted.exitCode, 0) << planted.err;
    const std::string output = ReadBytes(Output());
    const ProgramResult again =
        Run({"--recipe", written, "-o", (scratch_ / "again.mis").string(), Mission().string()});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadBytes(scratch_ / "again.mis"), output) << first[1];
    EXPECT_EQ(again.out.substr(again.out.rfind("seed ")),
              planted.out.substr(planted.out.rfind("seed ")));
    // The fill says how many it placed.
    EXPECT_EQ(planted.out.find("Layer 1 filled its area with ") != std::string::npos,
              first.size() == 5)
        << planted.out;
  }
}

// A BMP of one grey pixel.
std::string OnePixelBmp() {
  std::string bmp = "BM";
  const auto put = [&bmp](std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp += static_cast<char>(value >> (8 * i));
  };
  put(58, 4), put(0, 4), put(54, 4);                            // file header
  put(40, 4), put(1, 4), put(1, 4), put(1, 2), put(24, 2);      // info header: 1 x 1, 24 bits
  put(0, 4), put(4, 4), put(2835, 4), put(2835, 4), put(0, 8);  // no compression
  put(0x808080, 4);                                             // the pixel, padded to 4 bytes
  return bmp;
}

// The recipe's picture, relative to the recipe, is referred to from the plot relative to the
// plot, and a recipe written to another folder still finds it; a picture that is gone leaves the
// plot without it and says so.
TEST_F(EndToEnd, PlotShowsTheRecipesBackgroundRelativeToItself) {
  for (const char* folder : {"recipes", "pictures", "plots", "saved"}) {
    fs::create_directory(scratch_ / folder);
  }
  const fs::path picture = scratch_ / "pictures" / PathFromUtf8("T\u00e4l 1.bmp");
  WriteBytes(picture, OnePixelBmp());
  const std::string recipe = Utf8FromPath(scratch_ / "recipes" / "grove.toml");
  WriteBytes(recipe,
             "[background]\nimage = \"../pictures/T\u00e4l 1.bmp\"\n"
             "corners = [[-20, 20], [20, -20]]\nopacity = 0.5\n" +
                 std::string(kGrove).substr(std::string(kGrove).find("[[layer]]")));
  const std::string plot = Utf8FromPath(scratch_ / "plots" / "plot.svg");
  const std::string saved = Utf8FromPath(scratch_ / "saved" / "saved.toml");
  ProgramResult result =
      Run({"--recipe", recipe, "--plot", plot, "--write-recipe", saved, Mission().string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  std::string svg = ReadBytes(PathFromUtf8(plot));
  const auto image = svg.find("<image id=\"background\" x=\"");
  ASSERT_NE(image, std::string::npos) << svg;
  EXPECT_LT(image, svg.find("<g id=\"picture\""));
  EXPECT_NE(svg.find("opacity=\"0.5\" href=\"../pictures/T%C3%A4l%201.bmp\"", image),
            std::string::npos);
  EXPECT_NE(ReadBytes(PathFromUtf8(saved)).find("image = \"../pictures/T\u00e4l 1.bmp\"\n"),
            std::string::npos);

  fs::remove(picture);
  result = Run({"--recipe", saved, "--plot", plot, Mission().string()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err,
            "bosquell-cli: warning: the plot is drawn without its background "
            "picture: " +
                Utf8FromPath(picture) + ": the file does not exist\n");
  svg = ReadBytes(PathFromUtf8(plot));
  EXPECT_EQ(svg.find("<image"), std::string::npos);
  EXPECT_NE(svg.find("</svg>\n"), std::string::npos);
}

// Each mission gets its own output and a line naming it and the seed, all from the same seed;
// one that fails makes the exit status 1 without stopping the others.
TEST_F(EndToEnd, SeveralMissionsArePlantedFromOneSeedEachIntoItsOwnOutput) {
  const fs::path second = scratch_ / "second.mis";
  fs::copy_file(Mission(), second);
  const fs::path gone = scratch_ / "gone.mis";
  const ProgramResult result =
      Run({"--theme", "Peru", "--seed", "42", "--count", "5", "--center-x", "2", "--center-y", "-1",
           "--range-x", "3", "--range-y", "2", Mission().string(), gone.string(), second.string()});
  EXPECT_EQ(result.exitCode, 1);
  const auto added = [](const fs::path& mission, const fs::path& output) {
    return mission.string() + ": seed 42: 5" + kAddedText + output.string() + "\n";
  };
  EXPECT_EQ(result.out, added(Mission(), Output()) + added(second, scratch_ / "second_rnd.mis"));
  EXPECT_EQ(result.err.rfind(gone.string() + ": seed 42: The mission file could not be read: " +
                                 gone.string() + " The file does not exist.",
                             0),
            0u)
      << result.err;
  const std::string expected = ReadBytes(Fixture("two_oaks_peru_seed42.mis"));
  EXPECT_EQ(ReadBytes(Output()), expected);
  EXPECT_EQ(ReadBytes(scratch_ / "second_rnd.mis"), expected);
}

// Options that do not fit beside a recipe, and a recipe to write that would replace a file of
// the run or not read back, are usage errors; a recipe that cannot be read fails the run. Either
// way nothing is written.
TEST_F(EndToEnd, OptionsThatDoNotFitTheRecipeWriteNothing) {
  const std::string grove = (scratch_ / "grove.toml").string();
  WriteBytes(grove, kGrove);
  const std::string twoLayers = (scratch_ / "two.toml").string();
  const std::string layer = std::string(kGrove).substr(std::string(kGrove).find("[[layer]]"));
  WriteBytes(twoLayers, layer + layer);
  const std::string bad = (scratch_ / "bad.toml").string();
  WriteBytes(bad, "[[layer]]\nmix = \"Jungle\"\n");
  const std::string written = (scratch_ / "written.toml").string();
  struct Case {
    std::vector<std::string> options;
    int exitCode;
    std::string error;
  };
  const Case cases[] = {
      {{"--recipe", twoLayers, "--count", "5"},
       2,
       "--count overrides a field of a recipe's one layer, and this recipe has 2 layers"},
      {{"--recipe", grove, "--range-x", "3"}, 2, "--range-x: cannot go with --recipe"},
      {{"--recipe", grove, "--id", "1234567"}, 2, "--id must be one number of at most 6"},
      {{"--recipe", grove, "--count", "0"}, 2, "--count must be a number from 1 to 32766"},
      {{"--recipe", grove, "--keep-clear", "-1"}, 2, "--keep-clear must be a number 0 or"},
      {{"--recipe", grove, "--spacing", ""}, 2, "--spacing must be greater than 0 for a layer"},
      {{"--recipe", grove, "-o", "x.mis", "x.mis"}, 2, "--output: names one file"},
      {{"--recipe", grove, "--write-recipe", grove}, 2, "would replace " + grove},
      {{"--id", "1234567", "--write-recipe", written}, 2, "cannot be written as one that reads"},
      {{"--recipe", bad}, 1, bad + ":2:7: layer[1].mix: is no built-in theme"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.push_back(Mission().string());
    const ProgramResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.error;
    EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
    ExpectMissionUnchangedAndNoOutput();
    EXPECT_FALSE(fs::exists(written));
  }
}

// On Windows a name in other letters names the same file: the plot would replace the output.
TEST_F(EndToEnd, PlotNamedLikeTheOutputInOtherLettersIsRefusedOnWindows) {
#ifndef _WIN32
  GTEST_SKIP() << "file names here tell letter case apart";
#endif
  const fs::path output = scratch_ / "out.mis";
  EXPECT_EQ(Run({"--theme", "Snow", "--plot", (scratch_ / "OUT.MIS").string(), "-o",
                 output.string(), Mission().string()})
                .exitCode,
            2);
  EXPECT_EQ(Run({"--theme", "Snow", "--plot", (scratch_ / "TWO_OAKS_RND.MIS").string(),
                 Mission().string()})
                .exitCode,
            2);
  EXPECT_FALSE(fs::exists(output));
  ExpectMissionUnchangedAndNoOutput();
}

// A run taken back from its output gives the mission back; replaced, it gives what a run of the
// new seed writes.
TEST_F(EndToEnd, ARunIsTakenBackOrReplacedFromItsOptionsAndSeed) {
  const std::vector<std::string> peru = {"--theme",      "Peru", "--count",   "5",
                                         "--center-x",   "2",    "--range-x", "3",
                                         "--keep-clear", "0.5"};
  std::vector<std::string> arguments = peru;
  arguments.insert(arguments.end(), {"--seed", "42", Mission().string()});
  ASSERT_EQ(Run(arguments).exitCode, 0);
  arguments.back() = Output().string();
  arguments.insert(arguments.begin(), "--remove-run");
  const ProgramResult removed = Run(arguments);
  ASSERT_EQ(removed.exitCode, 0) << removed.err;
  const fs::path back = scratch_ / "two_oaks_rnd_back.mis";
  EXPECT_EQ(removed.out,
            "5 of 5 removed, 0 not found, 0 changed and kept\n"
            "The run has been taken back and the file has been saved to\n" +
                back.string() + "\n");
  EXPECT_EQ(ReadBytes(back), original_);

  arguments.front() = "--replace-run";
  arguments.insert(arguments.end() - 1, {"--new-seed", "7"});
  const ProgramResult replaced = Run(arguments);
  ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
  EXPECT_EQ(replaced.out.substr(replaced.out.rfind("seed ")), "seed 7\n");
  std::vector<std::string> seven = peru;
  seven.insert(seven.end(),
               {"--seed", "7", "-o", (scratch_ / "seven.mis").string(), Mission().string()});
  ASSERT_EQ(Run(seven).exitCode, 0);
  EXPECT_EQ(ReadBytes(scratch_ / "two_oaks_rnd_new.mis"), ReadBytes(scratch_ / "seven.mis"));
  // The mission without the old run was a temporary file, and is gone.
  for (const auto& entry : fs::directory_iterator(scratch_.Path())) {
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
  }
}

TEST_F(EndToEnd, ARunThatCannotBeTakenBackWritesNothing) {
  struct Case {
    std::vector<std::string> options;
    int exitCode;
    std::string error;
  };
  const Case cases[] = {
      {{"--remove-run", "--theme", "Peru"}, 2, "needs the seed that made it"},
      {{"--remove-run", "--theme", "Peru", "--seed", "1"},
       1,
       "Not one object of the run of seed 1"},
      {{"--replace-run", "--theme", "Peru", "--seed", "1", "-o", Mission().string()},
       2,
       "is the mission file itself"},
      {{"--remove-run", "--replace-run", "--seed", "1"}, 2, "excludes"},
      {{"--replace-run", "--theme", "Peru", "--seed", "1", "--write-recipe",
        (scratch_ / "two_oaks_new.mis").string()},
       2,
       "which this run writes"},
      {{"--new-seed", "3", "--theme", "Peru", "--seed", "1"}, 2, "requires --replace-run"},
      {{"--remove-run", "--theme", "Peru", "--seed", "1", Mission().string()}, 2, "one mission"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = c.options;
    arguments.push_back(Mission().string());
    const ProgramResult result = Run(arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.error;
    EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(Mission()), original_);
    EXPECT_FALSE(fs::exists(scratch_ / "two_oaks_back.mis"));
    EXPECT_FALSE(fs::exists(scratch_ / "two_oaks_new.mis"));
  }
}

}  // namespace
}  // namespace bosquell::test
