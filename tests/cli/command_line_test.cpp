// The command line as parsed, and the small helpers around the run.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/command_line.h"
#include "cli_test_support.h"
#include "common/same_file.h"
#include "common/utf8_path.h"

namespace bosquell::test {
namespace {

struct Parsed {
  ParsedCommandLine result;
  std::string out;
  std::string err;
};

Parsed Parse(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  Parsed parsed{ParseCommandLine(arguments, out, err), "", ""};
  parsed.out = out.str();
  parsed.err = err.str();
  return parsed;
}

TEST(CommandLine, DefaultsAreTheWindowsInitialTexts) {
  const Parsed parsed = Parse({"m.mis"});
  ASSERT_TRUE(parsed.result.commandLine);
  const CommandLine& line = *parsed.result.commandLine;
  EXPECT_EQ(line.missionPaths, std::vector<std::string>{"m.mis"});
  EXPECT_EQ(line.centerXText, "0");
  EXPECT_EQ(line.centerYText, "0");
  EXPECT_EQ(line.rangeXText, "1024");
  EXPECT_EQ(line.rangeYText, "1024");
  EXPECT_EQ(line.countText, "20");
  EXPECT_FALSE(line.theme || line.ownId || line.seed || line.outputPath || line.plotPath);
}

TEST(CommandLine, NumberTextsStayAsTypedEvenWhenTheyLookLikeOptions) {
  const Parsed parsed = Parse({"--center-x", "-3", "--center-y", " 1 2", "--range-x", "-.5",
                               "--range-y", "1e3", "--count", "-e", "--id", "-0", "m.mis"});
  ASSERT_TRUE(parsed.result.commandLine) << parsed.err;
  const CommandLine& line = *parsed.result.commandLine;
  EXPECT_EQ(line.centerXText, "-3");
  EXPECT_EQ(line.centerYText, " 1 2");
  EXPECT_EQ(line.rangeXText, "-.5");
  EXPECT_EQ(line.rangeYText, "1e3");
  EXPECT_EQ(line.countText, "-e");
  EXPECT_EQ(line.ownId, "-0");
}

TEST(CommandLine, ThemeMustNameOneOfTheEightExactly) {
  EXPECT_EQ(Parse({"--theme", "Kazhazkstan", "m.mis"}).result.commandLine->theme, "Kazhazkstan");
  for (const char* wrong : {"snow", "Jungle", "", "Select Tree a Tree Theme:"}) {
    const Parsed parsed = Parse({"--theme", wrong, "m.mis"});
    EXPECT_FALSE(parsed.result.commandLine) << wrong;
    EXPECT_EQ(parsed.result.exitCode, kExitUsage);
    EXPECT_NE(parsed.err.find("Jungel, Zaire, Georgia, Desert, Niger, Kazhazkstan, Peru, Snow"),
              std::string::npos);
  }
}

TEST(CommandLine, SeedIsAPlainDecimalThirtyTwoBitNumber) {
  EXPECT_EQ(Parse({"--seed", "0", "m.mis"}).result.commandLine->seed, 0u);
  EXPECT_EQ(Parse({"--seed", "4294967295", "m.mis"}).result.commandLine->seed, 4294967295u);
  EXPECT_EQ(Parse({"--seed", "010", "m.mis"}).result.commandLine->seed, 10u);
  for (const char* wrong : {"-1", "4294967296", "0x10", "1.5", " 7", ""}) {
    EXPECT_EQ(Parse({"--seed", wrong, "m.mis"}).result.exitCode, kExitUsage) << wrong;
  }
}

TEST(CommandLine, FileNamesMustNotBeEmpty) {
  EXPECT_EQ(Parse({"-o", "", "m.mis"}).result.exitCode, kExitUsage);
  EXPECT_EQ(Parse({"--plot", "", "m.mis"}).result.exitCode, kExitUsage);
}

TEST(CommandLine, MissionIsRequiredUnlessThemesAreListed) {
  EXPECT_EQ(Parse({"--theme", "Snow"}).result.exitCode, kExitUsage);
  const Parsed list = Parse({"--list-themes"});
  ASSERT_TRUE(list.result.commandLine);
  EXPECT_TRUE(list.result.commandLine->listThemes);
}

TEST(SameFile, ComparesExistingFilesOnDiskAndOthersByNormalisedName) {
  ScratchDirectory scratch;
  WriteBytes(scratch / "a.mis", "x");
  WriteBytes(scratch / "b.mis", "x");
  std::filesystem::create_directory(scratch / "sub");
  EXPECT_TRUE(NamesSameFile(scratch / "a.mis", scratch / "sub" / ".." / "a.mis"));
  EXPECT_FALSE(NamesSameFile(scratch / "a.mis", scratch / "b.mis"));
  EXPECT_TRUE(NamesSameFile(scratch / "new.mis", scratch / "." / "new.mis"));
  EXPECT_FALSE(NamesSameFile(scratch / "new.mis", scratch / "a.mis"));
}

// Windows file names ignore letter case, also beyond ASCII; names on Linux do not.
TEST(SameFile, NewFilesCompareByNameAsTheFileSystemDoes) {
#ifdef _WIN32
  constexpr bool kCaseBlind = true;
#else
  constexpr bool kCaseBlind = false;
#endif
  ScratchDirectory scratch;
  EXPECT_EQ(NamesSameFile(scratch / "OUT.MIS", scratch / "sub" / ".." / "out.mis"), kCaseBlind);
  EXPECT_EQ(NamesSameFile(scratch.Path() / PathFromUtf8("WÄLDCHEN_RND.MIS"),
                          scratch.Path() / PathFromUtf8("wäldchen_rnd.mis")),
            kCaseBlind);
  EXPECT_FALSE(NamesSameFile(scratch / "out.mis", scratch / "out.mi"));
}

}  // namespace
}  // namespace bosquell::test
