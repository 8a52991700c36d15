#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "placement/placement.h"
#include "placement/random_source.h"
#include "placement/theme_slots.h"
#include "placement/tree_themes.h"
#include "test_support.h"

namespace bosquell {
namespace {

using testing::kTopUnit;
using testing::ScriptedRandom;

ThemeSlots ThemeFilled(std::string_view theme) {
  ThemeSlots slots;
  FillFromTheme(slots, theme);
  return slots;
}

ThemeSlots OwnIdFilled(std::string_view ownId) {
  ThemeSlots slots;
  FillFromOwnId(slots, ownId);
  return slots;
}

TEST(TreeThemes, ListTheSameEightNamesInBothOrders) {
  std::set<std::string_view> runOrder;
  for (const TreeTheme& theme : TreeThemes()) runOrder.insert(theme.name);
  const auto listOrder = ThemeListOrder();
  EXPECT_EQ(runOrder, std::set<std::string_view>(listOrder.begin(), listOrder.end()));
  EXPECT_EQ(runOrder.size(), 8u);
  EXPECT_EQ(listOrder.front(), "Jungel");
  EXPECT_EQ(listOrder.back(), "Snow");
  EXPECT_EQ(FindTreeTheme("snow"), nullptr);
  EXPECT_EQ(FindTreeTheme("Kazhazkstan")->typeIds.size(), 5u);
}

TEST(ThemeSlots, ThemeFillsTheFrontSlotsInListOrder) {
  const ThemeSlots slots = ThemeFilled("Jungel");
  EXPECT_EQ(TopSlot(slots), 7);
  EXPECT_EQ(Pick(slots, 7, 0), "1055");
  EXPECT_EQ(Pick(slots, 7, kTopUnit), "4075");
  EXPECT_EQ(Pick(slots, 7, 0.5f), "1059");
  EXPECT_EQ(TopSlot(ThemeFilled("Snow")), 2);
}

TEST(ThemeSlots, EveryThemeFillsItsIdsInSlotOrder) {
  // Written out by hand, in the order a run tries the names, so that a wrong digit in the
  // program's table shows here.
  const struct {
    const char* name;
    std::vector<std::string> ids;
  } themes[] = {
      {"Snow", {"1023", "1145", "1024"}},
      {"Niger", {"1151", "1124", "1126"}},
      {"Jungel", {"1055", "1056", "1017", "1018", "1059", "1134", "1054", "4075"}},
      {"Peru", {"1059", "1060", "1054", "1054", "1053", "1060", "1060", "4075"}},
      {"Desert", {"1080", "1021", "1114", "1147", "1146", "1021", "1021", "1080"}},
      {"Zaire", {"1133", "1130", "1150", "1127", "1135"}},
      {"Kazhazkstan", {"1136", "1138", "1131", "1128", "1128"}},
      {"Georgia", {"1140", "1137", "1139", "1132", "1125", "1129"}},
  };
  ASSERT_EQ(TreeThemes().size(), std::size(themes));
  for (std::size_t order = 0; order < std::size(themes); ++order) {
    const auto& theme = themes[order];
    SCOPED_TRACE(theme.name);
    EXPECT_EQ(TreeThemes()[order].name, theme.name);
    ThemeSlots expected;
    std::copy(theme.ids.begin(), theme.ids.end(), expected.entries.begin());
    const ThemeSlots slots = ThemeFilled(theme.name);
    EXPECT_EQ(slots.entries, expected.entries);
    EXPECT_EQ(TopSlot(slots), static_cast<int>(theme.ids.size()) - 1);
  }
}

TEST(ThemeSlots, RepeatedIdsAreDrawnMoreOften) {
  // Walk r over a fine even grid: each slot of Peru gets an equal share of it.
  const ThemeSlots slots = ThemeFilled("Peru");
  const int top = TopSlot(slots);
  std::map<std::string, int> drawn;
  for (int i = 0; i < 8000; ++i) ++drawn[Pick(slots, top, static_cast<float>(i) / 8000)];
  EXPECT_EQ(drawn["1060"], 3000);
  EXPECT_EQ(drawn["1053"], 1000);
  EXPECT_EQ(drawn["1054"], 2000);
  EXPECT_EQ(drawn["4075"], 1000);
}

TEST(ThemeSlots, OwnIdIsKeptAsTypedEvenWhenItCountsAsNothing) {
  EXPECT_EQ(TopSlot(OwnIdFilled("1055")), 0);
  EXPECT_EQ(Pick(OwnIdFilled(" 1055"), 0, 0.9f), " 1055");
  for (const char* ownId : {"0", "-4", "-1e3"}) {
    const ThemeSlots slots = OwnIdFilled(ownId);
    EXPECT_EQ(TopSlot(slots), -1);
    EXPECT_EQ(Pick(slots, -1, kTopUnit), ownId);
  }
}

TEST(ThemeSlots, UnknownThemeGivesEmptyTypes) {
  for (const char* theme : {"snow", "", "Select Tree a Tree Theme:", "Jungel "}) {
    const ThemeSlots slots = ThemeFilled(theme);
    EXPECT_EQ(TopSlot(slots), -1);
    EXPECT_EQ(Pick(slots, -1, 0.7f), "");
  }
}

TEST(MersenneRandom, StaysBelowOneAndRepeatsForASeed) {
  MersenneRandom a(42);
  MersenneRandom b(42);
  for (int i = 0; i < 100000; ++i) {
    const float r = a.RandomUnit();
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    ASSERT_EQ(r, b.RandomUnit());
  }
  // Each run starts a seeded source over from its seed.
  a.StartRun();
  MersenneRandom c(42);
  EXPECT_EQ(a.RandomUnit(), c.RandomUnit());
  EXPECT_EQ(a.Seed(), 42u);
}

TEST(MersenneRandom, FollowsTheStandardSequence) {
  // std::mt19937 seeded with 5489 yields 3499211612 first; its top 24 bits over 2^24.
  MersenneRandom random(5489);
  EXPECT_EQ(random.RandomUnit(), static_cast<float>(3499211612u >> 8) / 16777216.0f);
}

TEST(RandomInt, CoversBothEnds) {
  EXPECT_EQ(RandomInt(-256, 256, 0), -256);
  EXPECT_EQ(RandomInt(-256, 256, kTopUnit), 256);
  EXPECT_EQ(RandomInt(0, 0, kTopUnit), 0);
  EXPECT_EQ(RandomInt(0, -1, kTopUnit), 0);
}

PlacementParameters Placement(const char* centerX, const char* centerY, const char* rangeX,
                              const char* rangeY) {
  const auto parameters = MakePlacement(centerX, centerY, rangeX, rangeY);
  EXPECT_TRUE(parameters.has_value());
  return parameters.value_or(PlacementParameters{});
}

DrawnObject Draw(const PlacementParameters& parameters, float r) {
  ScriptedRandom random{r};
  const ThemeSlots slots = ThemeFilled("Snow");
  return DrawObject(parameters, slots, TopSlot(slots), random);
}

TEST(Placement, LowestAndHighestUnitsReachTheRectangleCorners) {
  const auto wide = Placement("0", "0", "1024", "1024");
  const DrawnObject low = Draw(wide, 0);
  EXPECT_EQ(low.typeText, "1023");
  EXPECT_EQ(low.facing, 0);
  EXPECT_EQ(low.x, -262144);
  EXPECT_EQ(low.y, -262144);
  const DrawnObject high = Draw(wide, kTopUnit);
  EXPECT_EQ(high.typeText, "1024");
  EXPECT_EQ(high.facing, 359);
  EXPECT_EQ(high.x, 262144);
  EXPECT_EQ(high.y, 262144);

  const auto offset = Placement("10", "20", "1", "1");
  EXPECT_EQ(Draw(offset, 0).x, 2304);
  EXPECT_EQ(Draw(offset, 0).y, 4864);
  EXPECT_EQ(Draw(offset, kTopUnit).x, 2816);
  EXPECT_EQ(Draw(offset, kTopUnit).y, 5376);
}

TEST(Placement, DrawsFourUnitsInOrderTypeFacingXY) {
  ScriptedRandom random{0.5f, 0.25f, 0.0f, kTopUnit};
  const ThemeSlots slots = ThemeFilled("Snow");
  const DrawnObject object =
      DrawObject(Placement("0", "0", "1", "1"), slots, TopSlot(slots), random);
  EXPECT_EQ(random.drawn, 4);
  EXPECT_EQ(object.typeText, "1145");
  EXPECT_EQ(object.facing, 90);
  EXPECT_EQ(object.x, -256);
  EXPECT_EQ(object.y, 256);
}

TEST(Placement, RangeYIsWholeBeforeScalingButRangeXIsNot) {
  const auto parameters = Placement("0", "0", "2.5", "2.5");
  EXPECT_EQ(parameters.rangeX, 640);
  EXPECT_EQ(parameters.rangeY, 512);
  EXPECT_EQ(Draw(parameters, 0).x, -640);
  EXPECT_EQ(Draw(parameters, 0).y, -512);
  // With a fraction the whole part runs out to the next whole number.
  EXPECT_EQ(Draw(Placement("0", "0", "1.001", "1"), kTopUnit).x, 257);
  EXPECT_EQ(Draw(Placement("0", "0", "1.001", "1"), 0).x, -257);
}

TEST(Placement, CenterFractionsCarryIntoPositions) {
  const auto parameters = Placement("0.001", "0", "1", "1");
  EXPECT_DOUBLE_EQ(Draw(parameters, 0).x, -256 + 0.256);
}

TEST(Placement, RefusesValuesTheDrawCannotHold) {
  EXPECT_TRUE(MakePlacement("0", "0", "1", "4194303").has_value());  // 2 * 256 * r + 1 fits
  EXPECT_FALSE(MakePlacement("0", "0", "1", "4194304").has_value());
  EXPECT_FALSE(MakePlacement("0", "0", "1", "9e9").has_value());
  EXPECT_FALSE(MakePlacement("0", "0", "1", "1e999").has_value());
  EXPECT_FALSE(MakePlacement("0", "0", "1e999", "1").has_value());
  EXPECT_FALSE(MakePlacement("0", "0", "1e307", "1").has_value());
  EXPECT_FALSE(MakePlacement("1e999", "0", "1", "1").has_value());
  EXPECT_FALSE(MakePlacement("0", "-1e999", "1", "1").has_value());
}

// Every position a run can draw must fit a signed 32-bit map coordinate.
TEST(Placement, RefusesPositionsBeyondAMapCoordinate) {
  const struct {
    const char *centerX, *centerY, *rangeX, *rangeY;
    bool fits;
  } cases[] = {
      {"1e20", "0", "1", "1", false},
      {"0", "-1e20", "1", "1", false},
      {"0", "0", "1e8", "1", false},
      {"8388606", "0", "1", "1", true},   // 2147483136 + 256 fits
      {"8388607", "0", "1", "1", false},  // 2147483648 is one too many
      {"-8388607", "0", "1", "1", true},  // -2147483648 is the lowest coordinate
      {"0", "-8388607", "1", "1", true},
      {"0", "8388607", "1", "1", false},
      {"0", "0", "8388607.999", "1", false},  // the draw reaches the next whole map unit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakePlacement(c.centerX, c.centerY, c.rangeX, c.rangeY).has_value(), c.fits)
        << c.centerX << ' ' << c.centerY << ' ' << c.rangeX;
  }
}

}  // namespace
}  // namespace bosquell
