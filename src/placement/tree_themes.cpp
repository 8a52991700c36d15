#include "placement/tree_themes.h"

#include <array>

namespace bosquell {
namespace {

constexpr std::array<std::int16_t, 3> kSnow{1023, 1145, 1024};
constexpr std::array<std::int16_t, 3> kNiger{1151, 1124, 1126};
constexpr std::array<std::int16_t, 8> kJungel{1055, 1056, 1017, 1018, 1059, 1134, 1054, 4075};
constexpr std::array<std::int16_t, 8> kPeru{1059, 1060, 1054, 1054, 1053, 1060, 1060, 4075};
constexpr std::array<std::int16_t, 8> kDesert{1080, 1021, 1114, 1147, 1146, 1021, 1021, 1080};
constexpr std::array<std::int16_t, 5> kZaire{1133, 1130, 1150, 1127, 1135};
constexpr std::array<std::int16_t, 5> kKazhazkstan{1136, 1138, 1131, 1128, 1128};
constexpr std::array<std::int16_t, 6> kGeorgia{1140, 1137, 1139, 1132, 1125, 1129};

constexpr std::array<TreeTheme, 8> kThemes{{
    {"Snow", kSnow},
    {"Niger", kNiger},
    {"Jungel", kJungel},
    {"Peru", kPeru},
    {"Desert", kDesert},
    {"Zaire", kZaire},
    {"Kazhazkstan", kKazhazkstan},
    {"Georgia", kGeorgia},
}};

constexpr std::array<std::string_view, 8> kListOrder{"Jungel", "Zaire",       "Georgia", "Desert",
                                                     "Niger",  "Kazhazkstan", "Peru",    "Snow"};

}  // namespace

std::span<const TreeTheme> TreeThemes() {
  return kThemes;
}

std::span<const std::string_view> ThemeListOrder() {
  return kListOrder;
}

const TreeTheme* FindTreeTheme(std::string_view name) {
  for (const TreeTheme& theme : kThemes) {
    if (theme.name == name) return &theme;
  }
  return nullptr;
}

}  // namespace bosquell
