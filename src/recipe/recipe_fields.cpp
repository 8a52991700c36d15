#include "recipe/recipe_fields.h"

#include <cmath>
#include <limits>
#include <utility>

#include "placement/placement.h"
#include "recipe/recipe_text.h"

namespace bosquell::recipe_fields {
namespace {

bool IsBareKey(std::string_view key) {
  if (key.empty()) return false;
  for (const char c : key) {
    const bool bare = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
    if (!bare) return false;
  }
  return true;
}

// The path of a table's member: bare where TOML allows, else quoted.
std::string MemberPath(const Field& table, std::string_view key) {
  const std::string name = IsBareKey(key) ? std::string(key) : QuotedTomlText(key);
  return table.path.empty() ? name : table.path + "." + name;
}

// A number of either TOML kind; refuses anything else.
double AnyNumberOf(const Field& field) {
  if (const auto* integer = field.node->as_integer()) return static_cast<double>(integer->get());
  if (const auto* floating = field.node->as_floating_point()) return floating->get();
  Refuse(field, "must be a number, not " + std::string(TypeWords(*field.node)));
}

}  // namespace

void Refuse(const Field& field, std::string what) {
  throw RecipeProblem{field.where, field.path, std::move(what)};
}

Field Member(const Field& table, std::string_view key) {
  Field member{nullptr, MemberPath(table, key), table.where};
  member.node = TableOf(table).get(key);
  if (member.node != nullptr) member.where = member.node->source().begin;
  return member;
}

Field Element(const Field& list, std::size_t index) {
  const toml::node& node = ListOf(list)[index];
  return {&node, list.path + "[" + std::to_string(index + 1) + "]", node.source().begin};
}

Field AtKey(Field field, const toml::key& key) {
  field.where = key.source().begin;
  return field;
}

void RefuseUnknownFields(const Field& table, std::initializer_list<std::string_view> known,
                         std::string_view whatBelongs) {
  const toml::key* first = nullptr;
  for (const auto& [key, value] : TableOf(table)) {
    bool isKnown = false;
    for (const std::string_view name : known) isKnown = isKnown || key.str() == name;
    if (!isKnown && (first == nullptr || StandsBefore(key.source().begin, first->source().begin))) {
      first = &key;
    }
  }
  if (first == nullptr) return;
  Refuse({nullptr, MemberPath(table, first->str()), first->source().begin},
         "unknown field; " + std::string(whatBelongs));
}

void Require(const Field& field, std::string_view what) {
  if (field.node == nullptr) Refuse(field, "is missing; " + std::string(what));
}

const toml::table& TableOf(const Field& field) {
  const toml::table* table = field.node->as_table();
  if (table == nullptr)
    Refuse(field, "must be a table, not " + std::string(TypeWords(*field.node)));
  return *table;
}

const toml::array& ListOf(const Field& field) {
  const toml::array* list = field.node->as_array();
  if (list == nullptr) Refuse(field, "must be a list, not " + std::string(TypeWords(*field.node)));
  return *list;
}

const toml::array& ListOfTables(const Field& field, std::string_view header) {
  if (field.node->is_table()) {
    Refuse(field, "must be a list of tables: write [[" + std::string(header) +
                      "]], with two "
                      "brackets");
  }
  return ListOf(field);
}

bool FlagOf(const Field& field) {
  const auto* flag = field.node->as_boolean();
  if (flag == nullptr) {
    Refuse(field, "must be true or false, not " + std::string(TypeWords(*field.node)));
  }
  return flag->get();
}

std::string TextOf(const Field& field) {
  const auto* text = field.node->as_string();
  if (text == nullptr) {
    Refuse(field, "must be text in quotes, not " + std::string(TypeWords(*field.node)));
  }
  return text->get();
}

double NumberOf(const Field& field) {
  const double value = AnyNumberOf(field);
  if (!std::isfinite(value)) Refuse(field, "must be a finite number");
  return value;
}

std::int64_t WholeNumberOf(const Field& field, std::int64_t low, std::int64_t high) {
  if (const auto* integer = field.node->as_integer()) {
    if (integer->get() < low) Refuse(field, "must be at least " + std::to_string(low));
    if (integer->get() > high) Refuse(field, "must be at most " + std::to_string(high));
    return integer->get();
  }
  // A float of a whole value, 7.0, counts as the integer; the bounds are far inside the range
  // where doubles hold every integer.
  const double value = NumberOf(field);
  if (value != std::floor(value)) Refuse(field, "must be a whole number");
  if (value < static_cast<double>(low)) Refuse(field, "must be at least " + std::to_string(low));
  if (value > static_cast<double>(high)) Refuse(field, "must be at most " + std::to_string(high));
  return static_cast<std::int64_t>(value);
}

double DistanceOf(const Field& field) {
  const double value = NumberOf(field);
  if (value < 0) Refuse(field, "must be 0 or more");
  if (!FitsMap(value)) {
    Refuse(field, "is too large: in map units (256 to a user unit) it leaves the 32-bit range");
  }
  return value;
}

UserPoint PointOf(const Field& field) {
  const toml::array* pair = field.node->as_array();
  if (pair == nullptr || pair->size() != 2) {
    Refuse(field,
           "must be a point [x, y]" +
               (pair == nullptr ? ", not " + std::string(TypeWords(*field.node)) : std::string()));
  }
  const UserPoint point{NumberOf(Element(field, 0)), NumberOf(Element(field, 1))};
  if (!FitsMap(point.x) || !FitsMap(point.y)) {
    Refuse(field,
           "lies beyond the map: in map units (256 to a user unit) it leaves the 32-bit "
           "range");
  }
  return point;
}

bool StandsBefore(const toml::source_position& a, const toml::source_position& b) {
  return a.line != b.line ? a.line < b.line : a.column < b.column;
}

bool FitsMap(double userUnits) {
  const double mapUnits = userUnits * kMapUnitsPerUserUnit;
  return mapUnits >= std::numeric_limits<std::int32_t>::min() &&
         mapUnits <= std::numeric_limits<std::int32_t>::max();
}

std::string_view TypeWords(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::table:
      return "a table";
    case toml::node_type::array:
      return "a list";
    case toml::node_type::string:
      return "text";
    case toml::node_type::integer:
    case toml::node_type::floating_point:
      return "a number";
    case toml::node_type::boolean:
      return "true or false";
    case toml::node_type::date:
    case toml::node_type::time:
    case toml::node_type::date_time:
      return "a date or time";
    case toml::node_type::none:
      break;
  }
  return "nothing";
}

}  // namespace bosquell::recipe_fields
