// The map window with a large picture under it, in the Qt window as the program builds it: the
// time from "Open" of a recipe naming the picture to its first paint, then the time of a pan and
// of a zoom step redrawn on screen. Run under /usr/bin/time -v for the process's peak memory;
// bench/window/map_background.sh does both.
//
// Usage: bosquell_map_background <mission.mis> <recipe.toml> [redraws]
#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "window/form1.h"
#include "window_logic/map_logic.h"
#include "window_logic/recipe_editor.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Each key pressed on the map (the arrows move the picture once the recipe's tool is the
// selection), then its picture painted again at once; the median and the
// slowest, in milliseconds.
void TimeRedraws(const char* what, bosquell::MapLogic& map, QWidget& picture,
                 const std::vector<bosquell::MapKey>& keys, int redraws) {
  std::vector<double> times;
  for (int i = 0; i < redraws; ++i) {
    const Clock::time_point start = Clock::now();
    map.KeyPressed(keys[static_cast<std::size_t>(i) % keys.size()], false, false);
    picture.grab();  // paints it now, offscreen too
    times.push_back(MillisecondsSince(start));
  }
  std::printf("%s: median %.1f ms, slowest %.1f ms\n", what, Median(times),
              *std::max_element(times.begin(), times.end()));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s mission.mis recipe.toml [redraws]\n", argv[0]);
    return 2;
  }
  const int redraws = argc > 3 ? std::max(1, std::atoi(argv[3])) : 40;
  bosquell::Form1 form([](QWidget*, const QString&) {});
  form.show();
  form.openNamedFile(QString::fromLocal8Bit(argv[1]));
  while (!form.listsFilled()) QApplication::processEvents();
  bosquell::MapLogic& map = form.mapLogic();
  map.Show();
  QWidget* picture = form.mapWindow()->findChild<QWidget*>(QStringLiteral("MapPicture"));
  picture->grab();

  const Clock::time_point open = Clock::now();
  if (!map.OpenRecipe(argv[2])) {
    std::fprintf(stderr, "%s\n", map.Document().Problem().c_str());
    return 1;
  }
  picture->grab();
  std::printf("open the recipe to the first paint: %.0f ms\n", MillisecondsSince(open));
  if (!map.Background().Path().empty() && !map.Background().HasPicture()) {
    std::fprintf(stderr, "%s\n", map.Background().Problem().c_str());
    return 1;
  }
  map.SetTool(bosquell::ShapeTool::kSelect);
  using Key = bosquell::MapKey;
  TimeRedraws("pan", map, *picture, {Key::kLeft, Key::kUp, Key::kRight, Key::kDown}, redraws);
  TimeRedraws("zoom", map, *picture, {Key::kZoomIn, Key::kZoomIn, Key::kZoomOut, Key::kZoomOut},
              redraws);
  return 0;
}
