// The map's recipe editor without a window: each tool's events to a shape, refusals, undo, the
// fields, the recipe file and the link to the main window's boxes.

#include "window_logic/recipe_editor.h"

#include <gtest/gtest.h>

#include "../engine/test_support.h"
#include "recipe/recipe_reader.h"
#include "recipe/recipe_text.h"
#include "window_logic/recipe_boxes.h"
#include "window_logic/recipe_document.h"
#include "window_logic/shape_geometry.h"

namespace bosquell::testing {
namespace {

enum class Do { kClick, kPress, kMove, kUp, kDouble, kKey, kCorner, kWidth };
struct Event {
  Event(Do what, UserPoint at = {}, EditorKey key = EditorKey::kEnter, std::string text = {})
      : what(what), at(at), key(key), text(std::move(text)) {}
  Do what;
  UserPoint at;
  EditorKey key;
  std::string text;
};

Event Click(double x, double y) {
  return {Do::kClick, {x, y}};
}
Event Key(EditorKey key) {
  return {Do::kKey, {}, key};
}
Event Typed(Do what, std::string text) {
  return {what, {}, EditorKey::kEnter, std::move(text)};
}

Recipe OneLayer() {
  Layer layer;
  layer.mix = ThemeMix{"Jungel"};
  layer.count = 100;
  Recipe recipe;
  recipe.layers.push_back(layer);
  return recipe;
}

// A 400 x 300 picture showing -50 to 50 user units: the cursor steps 5 units at a time.
MapViewport View() {
  MapViewport view;
  view.Resize(400, 300);
  view.Fit({-12800, -12800, 12800, 12800}, 0);
  return view;
}

void Play(RecipeEditor& editor, const std::vector<Event>& events) {
  const MapViewport view = View();
  for (const Event& e : events) {
    const PixelPoint at = view.ToPixel(ToMapPoint(e.at));
    switch (e.what) {
      case Do::kClick:
        editor.ButtonDown(at, view);
        editor.ButtonUp(at, view);
        break;
      case Do::kPress:
        editor.ButtonDown(at, view);
        break;
      case Do::kMove:
        editor.PointerMoved(at, view);
        break;
      case Do::kUp:
        editor.ButtonUp(at, view);
        break;
      case Do::kDouble:
        editor.DoubleClick(at, view);
        editor.ButtonUp(at, view);
        break;
      case Do::kKey:
        editor.KeyPressed(e.key, false, view);
        break;
      case Do::kCorner:
        editor.TypeCorner(e.text.substr(0, e.text.find(' ')), e.text.substr(e.text.find(' ') + 1));
        break;
      case Do::kWidth:
        editor.TypeCorridorWidth(e.text);
        break;
    }
  }
}

// A drag: button down at `from` without release, then moves and release at `to`.
std::vector<Event> Drag(UserPoint from, UserPoint to) {
  return {{Do::kMove, from}, {Do::kPress, from}, {Do::kMove, to}, {Do::kUp, to}};
}

TEST(RecipeEditorTest, EachToolsEventsMakeItsShape) {
  struct Case {
    const char* name;
    ShapeTool tool;
    std::vector<Event> events;
    AreaShape expected;
  };
  const std::vector<Case> cases = {
      {"rectangle drag", ShapeTool::kRectangle, Drag({0, 0}, {20, 10}),
       RectangleArea{{10, 5}, {10, 5}}},
      {"circle drag", ShapeTool::kCircle, Drag({5, 5}, {8, 9}), CircleArea{{5, 5}, 5}},
      {"polygon, Enter",
       ShapeTool::kPolygon,
       {Click(0, 0), Click(10, 0), Click(10, 10), Key(EditorKey::kEnter)},
       PolygonArea{{{0, 0}, {10, 0}, {10, 10}}}},
      {"polygon, Backspace, double click",
       ShapeTool::kPolygon,
       {Click(0, 0),
        Click(10, 0),
        Click(30, 30),
        Key(EditorKey::kBackspace),
        Click(10, 10),
        Click(0, 10),
        {Do::kDouble, {0, 10}}},
       PolygonArea{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}},
      {"polygon, Esc drops it",
       ShapeTool::kPolygon,
       {Click(40, 40), Click(45, 40), Key(EditorKey::kEscape), Click(0, 0), Click(10, 0),
        Click(0, 10), Key(EditorKey::kEnter)},
       PolygonArea{{{0, 0}, {10, 0}, {0, 10}}}},
      {"polygon by the keyboard",
       ShapeTool::kPolygon,
       {Key(EditorKey::kRight), Key(EditorKey::kSpace), Key(EditorKey::kRight),
        Key(EditorKey::kRight), Key(EditorKey::kSpace), Key(EditorKey::kUp), Key(EditorKey::kSpace),
        Key(EditorKey::kEnter)},
       PolygonArea{{{0, 0}, {10, 0}, {10, 5}}}},
      {"polygon of typed corners",
       ShapeTool::kPolygon,
       {Typed(Do::kCorner, "1.5 2"), Typed(Do::kCorner, "8 2"), Typed(Do::kCorner, "8 9"),
        Key(EditorKey::kEnter)},
       PolygonArea{{{1.5, 2}, {8, 2}, {8, 9}}}},
      {"corridor with a typed width",
       ShapeTool::kCorridor,
       {Click(0, 0), Click(20, 0), Click(20, 15), Key(EditorKey::kEnter), Typed(Do::kWidth, "4")},
       CorridorArea{{{0, 0}, {20, 0}, {20, 15}}, 4}},
      {"corridor with the default width",
       ShapeTool::kCorridor,
       {Click(0, 0), {Do::kDouble, {20, 0}}, Key(EditorKey::kEnter)},
       CorridorArea{{{0, 0}, {20, 0}}, 10}},
      {"rectangle by the keyboard",
       ShapeTool::kRectangle,
       {Key(EditorKey::kDown), Key(EditorKey::kSpace), Key(EditorKey::kUp), Key(EditorKey::kUp),
        Key(EditorKey::kLeft), Key(EditorKey::kEnter)},
       RectangleArea{{-2.5, 5}, {2.5, 5}}},
  };
  for (const Case& c : cases) {
    RecipeEditor editor(OneLayer());
    editor.SetTool(c.tool);
    Play(editor, c.events);
    ASSERT_EQ(editor.Current().layers[0].areas.size(), 1u) << c.name << ": " << editor.Refusal();
    EXPECT_EQ(editor.Current().layers[0].areas[0], (Area{c.expected, false})) << c.name;
    EXPECT_EQ(editor.Selected(), 0u) << c.name;
    EXPECT_FALSE(editor.Unfinished().has_value()) << c.name;
  }
}

TEST(RecipeEditorTest, CrossingPolygonsAreRefusedAndTheLastValidStateKept) {
  RecipeEditor editor(OneLayer());
  editor.SetTool(ShapeTool::kPolygon);
  Play(editor, {Click(0, 0), Click(10, 10), Click(10, 0), Click(0, 10), Key(EditorKey::kEnter)});
  EXPECT_TRUE(editor.Current().layers[0].areas.empty());
  EXPECT_NE(editor.StatusText().find("may not cross or touch itself"), std::string::npos);
  EXPECT_EQ(editor.Unfinished()->points.size(), 4u);  // there to be taken back

  Play(editor, {Key(EditorKey::kBackspace), Key(EditorKey::kBackspace), Key(EditorKey::kBackspace),
                Click(10, 0), Click(10, 10), Click(0, 10), Key(EditorKey::kEnter)});
  ASSERT_EQ(editor.Current().layers[0].areas.size(), 1u);
  EXPECT_EQ(editor.Refusal(), "");
  const Recipe square = editor.Current();

  // Three corners on one line: no area.
  Play(editor, {Click(0, 20), Click(10, 20), Click(20, 20), Key(EditorKey::kEnter)});
  EXPECT_NE(editor.Refusal().find("has no area"), std::string::npos) << editor.Refusal();
  EXPECT_EQ(editor.Current(), square);

  // A corner dragged across the opposite edge: refused, the square stays.
  editor.SetTool(ShapeTool::kSelect);
  editor.Select(0);
  Play(editor, Drag({10, 0}, {-5, 5}));
  EXPECT_EQ(editor.Current(), square);
  EXPECT_NE(editor.Refusal().find("may not cross"), std::string::npos);
  editor.TypeHandle(1, "-5", "5");  // typed: the same
  EXPECT_EQ(editor.Current(), square);
  editor.TypeHandle(1, "12.5", "-1");
  EXPECT_EQ(editor.Current().layers[0].areas[0].shape,
            (AreaShape{PolygonArea{{{0, 0}, {12.5, -1}, {10, 10}, {0, 10}}}}));
}

TEST(RecipeEditorTest, SelectMoveDeleteUndoAndRedo) {
  RecipeEditor editor(OneLayer());
  editor.SetTool(ShapeTool::kRectangle);
  Play(editor, Drag({0, 0}, {20, 10}));
  editor.SetTool(ShapeTool::kCircle);
  Play(editor, Drag({30, 30}, {33, 34}));
  EXPECT_TRUE(editor.History().Dirty());
  EXPECT_EQ(editor.Bounds(), (MapRectangle{0, 0, 35 * 256, 35 * 256}));  // for a fit

  editor.SetTool(ShapeTool::kSelect);
  Play(editor, Drag({5, 5}, {10, 8}));  // inside the rectangle: moves it by (5, 3)
  EXPECT_EQ(editor.Selected(), 0u);
  EXPECT_EQ(editor.Current().layers[0].areas[0].shape,
            (AreaShape{RectangleArea{{15, 8}, {10, 5}}}));
  editor.SetExclude(true);
  Play(editor, {Key(EditorKey::kDelete)});
  EXPECT_EQ(editor.Current().layers[0].areas.size(), 1u);
  EXPECT_EQ(editor.ShapeRows().front().name, "Area 1: circle of radius 5, include");

  const std::vector<std::pair<EditorKey, std::string>> steps = {
      {EditorKey::kUndo, "Area 1: rectangle of 20 by 10, exclude"},
      {EditorKey::kUndo, "Area 1: rectangle of 20 by 10, include"},
      {EditorKey::kUndo, "Area 1: rectangle of 20 by 10, include"},  // before the move
      {EditorKey::kRedo, "Area 1: rectangle of 20 by 10, include"},
      {EditorKey::kRedo, "Area 1: rectangle of 20 by 10, exclude"},
  };
  for (const auto& [key, first] : steps) {
    Play(editor, {Key(key)});
    EXPECT_EQ(editor.ShapeRows().front().name, first);
  }
  // A new edit drops what was undone.
  editor.Select(0);
  editor.SetExclude(false);
  EXPECT_FALSE(editor.History().CanRedo());
  for (int i = 0; i < 5; ++i) editor.Undo();
  EXPECT_EQ(editor.Current(), OneLayer());
  EXPECT_FALSE(editor.History().Dirty());
}

TEST(RecipeEditorTest, FieldEditsHoldToTheReadersRules) {
  struct Case {
    std::function<void(RecipeEditor&)> edit;
    std::string refusal;  // a part of it; empty when taken
    std::function<bool(const Layer&)> took;
  };
  const std::vector<Case> cases = {
      {[](auto& e) { e.SetSpacingText("-1"); }, "spacing: must be 0 or more", nullptr},
      {[](auto& e) { e.SetCountText("40000"); }, "count: must be at most 32766", nullptr},
      {[](auto& e) { e.SetCountText("2.5"); }, "whole number", nullptr},
      {[](auto& e) { e.SetFill(true); }, "fill = true needs pattern = \"even\"", nullptr},
      {[](auto& e) { e.SetTheme("Forest"); }, "is no built-in theme", nullptr},
      {[](auto& e) { e.AddMixRow("10x7", "1"); }, "is not a type id", nullptr},
      {[](auto& e) { e.SetPattern(Pattern::kEven); }, "",
       [](const Layer& l) { return l.pattern == Pattern::kEven && l.spacing == 10; }},
      {[](auto& e) { e.SetPattern(Pattern::kClumped); }, "",
       [](const Layer& l) { return l.clumps == 5 && l.clumpRadius == 50; }},
      {[](auto& e) { e.AddMixRow("1017", "3"); }, "",
       [](const Layer& l) {
         return l.mix == Mix{WeightedMix{{{"1017", 3}}}};
       }},
      {[](auto& e) {
         e.AddMixRow("1017", "3");
         e.RemoveMixRow(0);
       },
       "names no type", nullptr},
      {[](auto& e) { e.SetKeepClearText(""); }, "",
       [](const Layer& l) { return l.keepClear == 0; }},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    RecipeEditor editor(OneLayer());
    cases[i].edit(editor);
    const Layer& layer = editor.Current().layers[0];
    if (cases[i].refusal.empty()) {
      EXPECT_EQ(editor.Refusal(), "") << i;
      EXPECT_TRUE(cases[i].took(layer)) << i;
    } else {
      EXPECT_NE(editor.Refusal().find(cases[i].refusal), std::string::npos)
          << i << ": " << editor.Refusal();
    }
  }
}

TEST(RecipeEditorTest, LayersAddMoveAndRemove) {
  RecipeEditor editor(OneLayer());
  editor.AddLayer();
  editor.SetTheme("Zaire");
  editor.MoveLayer(true);
  EXPECT_EQ(editor.CurrentLayer(), 0u);
  EXPECT_EQ(editor.LayerRows()[0].name, "Layer 1: Zaire, 100, uniform, 0 areas");
  EXPECT_TRUE(editor.LayerRows()[0].selected);
  editor.RemoveLayer();
  editor.RemoveLayer();  // the last layer stays
  EXPECT_EQ(editor.Current(), OneLayer());
  EXPECT_NE(editor.Refusal().find("one or more [[layer]]"), std::string::npos);
}

class RecipeDocumentTest : public ::testing::Test {
 protected:
  RecipeDocument Document(Recipe start) {
    return RecipeDocument(std::move(start), {[this](const std::string& title) {
                                               asked.push_back("unsaved " + title);
                                               return unsaved;
                                             },
                                             [this](const std::string&) {
                                               asked.push_back("changed");
                                               return overwrite;
                                             },
                                             [this] { return std::optional(savePath); }});
  }
  TempDir dir;
  std::vector<std::string> asked;
  UnsavedAnswer unsaved = UnsavedAnswer::kCancel;
  bool overwrite = false;
  std::string savePath = (dir / "forest.toml").string();
};

TEST_F(RecipeDocumentTest, WhatIsSavedReadsBackEqual) {
  Recipe start = OneLayer();
  start.seed = 77;
  RecipeDocument document = Document(start);
  RecipeEditor& editor = document.Editor();
  editor.SetTool(ShapeTool::kPolygon);
  Play(editor, {Click(0, 0), Click(30, 0), Click(30, 20), Click(0, 25), Key(EditorKey::kEnter)});
  editor.SetTool(ShapeTool::kCorridor);
  Play(editor, {Click(-5, 10), Click(35, 12), Key(EditorKey::kEnter), Typed(Do::kWidth, "3.5")});
  editor.SetExclude(true);
  EXPECT_EQ(document.Title(), "Untitled*");

  EXPECT_FALSE(document.New(OneLayer()));  // cancelled
  ASSERT_TRUE(document.Save()) << document.Problem();
  EXPECT_EQ(document.Title(), "forest.toml");
  EXPECT_EQ(ReadFile(savePath), RecipeText(document.Current()));
  const auto read = ReadRecipe(savePath);
  ASSERT_TRUE(std::holds_alternative<Recipe>(read));
  EXPECT_EQ(std::get<Recipe>(read), document.Current());
  EXPECT_EQ(document.Current().seed, 77u);

  // Changed by another program: asked before overwriting, and refusing keeps its bytes.
  WriteFile(savePath, "seed = 1\n\n# someone else's\n");
  editor.SetExclude(false);
  EXPECT_FALSE(document.Save());
  EXPECT_EQ(ReadFile(savePath), "seed = 1\n\n# someone else's\n");
  EXPECT_EQ(asked, (std::vector<std::string>{"unsaved Untitled*", "changed"}));
}

TEST_F(RecipeDocumentTest, AFileThatFailsToReadKeepsWhatWasThere) {
  RecipeDocument document = Document(OneLayer());
  const std::string bad = (dir / "bad.toml").string();
  WriteFile(bad, "[[layer]]\nmix = \"Jungel\"\ncount = 0\n");
  EXPECT_FALSE(document.Open(bad));
  EXPECT_EQ(document.Problem(), bad + ":3:9: layer[1].count: must be at least 1");
  EXPECT_EQ(document.Current(), OneLayer());
  // A layer with nothing to draw in is kept while editing but not saved.
  EXPECT_FALSE(document.SaveAs(savePath));
  EXPECT_NE(document.Problem().find("layer[1].area: is missing"), std::string::npos);
}

TEST(RecipeBoxesTest, BoxesAndRecipeBothWays) {
  RunInputs inputs;
  inputs.themeText = "Georgia";
  inputs.centerXText = "12";
  inputs.centerYText = "-4";
  inputs.rangeXText = "30.5";
  inputs.rangeYText = "20";
  inputs.countText = "250";
  inputs.keepClearText = "1.5";
  const auto recipe = RecipeOfBoxes(inputs);
  ASSERT_TRUE(std::holds_alternative<Recipe>(recipe));
  const BoxTexts expected{"Georgia", "", "12", "-4", "30.5", "20", "250", "1.5", ""};
  EXPECT_EQ(std::get<BoxTexts>(BoxTextsOf(std::get<Recipe>(recipe))), expected);

  inputs.ownIdText = "1017";
  Recipe ownId = std::get<Recipe>(RecipeOfBoxes(inputs));
  EXPECT_EQ(std::get<BoxTexts>(BoxTextsOf(ownId)).ownId, "1017");
  EXPECT_FALSE(std::get<BoxTexts>(BoxTextsOf(ownId)).theme.has_value());

  inputs.countText = "0";
  EXPECT_EQ(std::get<std::string>(RecipeOfBoxes(inputs)),
            "You have to put a number 1 ot greater in the 'Number of objects to add' box!");
  // Anything the boxes cannot say.
  const std::vector<std::function<void(Recipe&)>> more = {
      [](Recipe& r) { r.layers[0].areas[0].exclude = true; },
      [](Recipe& r) {
        r.layers[0].areas[0].shape = CircleArea{{0, 0}, 5};
      },
      [](Recipe& r) { r.layers[0].pattern = Pattern::kEven; },
      [](Recipe& r) { std::get<WeightedMix>(r.layers[0].mix).types[0].weight = 2; },
      [](Recipe& r) { r.layers.push_back(r.layers[0]); },
  };
  for (const auto& change : more) {
    Recipe changed = ownId;
    change(changed);
    EXPECT_EQ(std::get<std::string>(BoxTextsOf(changed)), kMoreThanTheBoxes);
  }
}

}  // namespace
}  // namespace bosquell::testing
