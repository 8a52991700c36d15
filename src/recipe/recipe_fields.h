#pragma once

// The recipe reader's view of a parsed TOML file: each value with its place in the file and
// its path of fields, and the typed reads that refuse a value with one message naming both.
// Used by the reader's own files only.

#include "recipe/toml_library.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "recipe/recipe.h"

namespace bosquell::recipe_fields {

// Why a recipe is refused: where, which field, and what is wrong with it.
struct RecipeProblem {
  toml::source_position where;
  std::string path;  // such as "layer[2].area[1].polygon"; lists count from 1
  std::string what;
};

// A value of the file and what a message about it names.
struct Field {
  const toml::node* node = nullptr;  // null when the field is missing
  std::string path;
  toml::source_position where;  // the value's place; for a missing field its table's
};

[[noreturn]] void Refuse(const Field& field, std::string what);

// The member `key` of a table field (null when it is missing), and the element of a list.
Field Member(const Field& table, std::string_view key);
Field Element(const Field& list, std::size_t index);
// The same field placed where its key stands, for a problem with the key rather than the value.
Field AtKey(Field field, const toml::key& key);

// Refuses the first field, in the order of the file, whose name is not one of `known`;
// `whatBelongs` tells what the table may hold.
void RefuseUnknownFields(const Field& table, std::initializer_list<std::string_view> known,
                         std::string_view whatBelongs);
// Refuses a missing field: `what` says what to give.
void Require(const Field& field, std::string_view what);

const toml::table& TableOf(const Field& field);
const toml::array& ListOf(const Field& field);
// A list written as [[header]] tables; a single [header] table is refused with that hint.
const toml::array& ListOfTables(const Field& field, std::string_view header);
bool FlagOf(const Field& field);
std::string TextOf(const Field& field);
// An integer or a float, finite.
double NumberOf(const Field& field);
// A number without a fraction, from `low` to `high`.
std::int64_t WholeNumberOf(const Field& field, std::int64_t low, std::int64_t high);
// A distance of the placement rules: 0 or more, and within 32 bits in map units.
double DistanceOf(const Field& field);
// [x, y]: two numbers whose map units fit a 32-bit map coordinate.
UserPoint PointOf(const Field& field);

// Whether `a` comes earlier in the file than `b`.
bool StandsBefore(const toml::source_position& a, const toml::source_position& b);

// Whether a position in user units stays a signed 32-bit map coordinate.
bool FitsMap(double userUnits);

// The lower-case words for a TOML type, for "must be a number, not text".
std::string_view TypeWords(const toml::node& node);

}  // namespace bosquell::recipe_fields
