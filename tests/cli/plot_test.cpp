// The picture of a run: its axes, the existing objects it reads and the SVG it writes.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "cli/plot_background.h"
#include "cli/svg_plot.h"
#include "cli_test_support.h"
#include "common/utf8_path.h"
#include "map/map_picture.h"
#include "map/mission_density.h"
#include "map/plot_axis.h"
#include "mission/item_positions.h"

#ifdef BOSQUELL_TEST_XML_WITH_QT
#include <QtCore/QString>
#include <QtCore/QXmlStreamReader>
#endif

namespace bosquell::test {
namespace {

TEST(PlotAxis, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_EQ(NiceStep(524288, 8), 100000);
  EXPECT_EQ(NiceStep(1000, 8), 200);
  EXPECT_EQ(NiceStep(4000, 8), 500);
  EXPECT_EQ(NiceStep(512, 8), 100);
  EXPECT_EQ(NiceStep(0, 8), 1);
}

TEST(PlotAxis, EndsWidenToWholeStepsWithATickOnEach) {
  const PlotAxis axis = AxisWithStep(-262144, 262144, 100000);
  EXPECT_EQ(axis.low, -300000);
  EXPECT_EQ(axis.high, 300000);
  EXPECT_EQ(axis.ticks,
            (std::vector<double>{-300000, -200000, -100000, 0, 100000, 200000, 300000}));

  const PlotAxis flat = AxisWithStep(500, 500, 100);
  EXPECT_LT(flat.low, 500);
  EXPECT_GT(flat.high, 500);
}

TEST(PlotAxis, ValuesBeyondTheirStepStillEnd) {
  const PlotAxis huge = AxisWithStep(1e300, 1e300 + 1e285, 1);
  EXPECT_LE(huge.ticks.size(), 101u);
  const PlotAxis broken = AxisWithStep(0, INFINITY, 1);
  EXPECT_TRUE(std::isfinite(broken.high));
  // Zoomed in far from the middle: there are more steps to the values than can be counted.
  const PlotAxis far = AxisWithStep(1e300, 1e300, 1e-10);
  ASSERT_FALSE(far.ticks.empty());
  EXPECT_EQ(far.ticks.front(), 1e300);
  // A power of ten past the largest double, or below the smallest.
  EXPECT_TRUE(std::isfinite(NiceStep(DBL_MAX, 1)));
  EXPECT_GT(NiceStep(5e-324, 8), 0);
}

std::vector<MapPoint> PositionsOf(const std::string& mission) {
  std::stringbuf buffer(mission);
  return ReadItemPositions(buffer).value();
}

TEST(ItemPositions, OnlyPositionLinesInsideItemRecordsCount) {
  const std::vector<MapPoint> points = PositionsOf(
      "  position 1 1 0\r\n"  // before any record
      "begin item 0\r\n  id 1\r\n  position 256 -512 0\r\nend item\r\n"
      "  position 2 2 0\r\n"                                                    // between records
      "begin item 1\r\n  position\t-7.5  8 0\r\n  positions 3 3\r\nend item\r"  // CR alone ends
      "begin item 2\r\n  position x 1 0\r\n  position nan 1\r\nend item\r\n"
      "begin item 3\r\n  position 10\r\n  position 4 5");  // unterminated last line
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].x, 256);
  EXPECT_EQ(points[0].y, -512);
  EXPECT_EQ(points[1].x, -7.5);
  EXPECT_EQ(points[1].y, 8);
  EXPECT_EQ(points[2].x, 4);
  EXPECT_EQ(points[2].y, 5);
}

TEST(ItemPositions, APositionPastTheHeadOfALongLineIsPassedOver) {
  const std::string tail(200 * 1024, '7');
  const std::vector<MapPoint> points = PositionsOf("begin item 0\r\n  position 3 4 " + tail +
                                                   "\r\n  position 5 " + tail + "\r\nend item\r\n");
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].x, 3);
  EXPECT_EQ(points[0].y, 4);
}

// Numbers read as the window's boxes read them: a plus sign, a point on either side, an
// exponent; too small a value reads as the nearest double, too large a one is no position.
TEST(ItemPositions, ReadNumbersAsTheBoxesDo) {
  const auto positionsOf = [](const std::string& values) {
    return PositionsOf("begin item 0\r\n  position " + values + "\r\nend item\r\n");
  };
  const struct {
    std::string values;
    MapPoint point;
  } numbers[] = {
      {"+5 5 0", {5, 5}},
      {"5 +5 0", {5, 5}},
      {"1e-400 0 0", {0, 0}},
      {"0 -1e-330 0", {0, 0}},
      {"1e-310 2.5e-324", {1e-310, 4.9406564584124654e-324}},
      {".5 -5. 0", {0.5, -5}},
      {"-.5e+2 +1E1", {-50, 10}},
      {"123456789012345678 -007", {123456789012345678.0, -7}},
  };
  for (const auto& c : numbers) {
    const std::vector<MapPoint> points = positionsOf(c.values);
    ASSERT_EQ(points.size(), 1u) << c.values;
    EXPECT_EQ(points[0].x, c.point.x) << c.values;
    EXPECT_EQ(points[0].y, c.point.y) << c.values;
  }
  for (const char* values : {"1e400 0 0", "0 -1.8e308", "+-5 0", "++5 0", "5e 0", "5 1e+", ". 0",
                             "- 0", "+ 0", "inf 0", "0 nan", "0x10 0", "1,5 0"}) {
    EXPECT_TRUE(positionsOf(values).empty()) << values;
  }
}

// The copy pass's rule: the first CR or LF of the file decides whether an LF alone ends a line.
TEST(ItemPositions, LineFeedAloneEndsALineOnlyInAFileOfLfLineEnds) {
  EXPECT_TRUE(PositionsOf("begin item 0\r\nx\n  position 1 2 0\r\nend item\r\n").empty());
  // More records than one read of the reader holds, with CR LF and CR among the LFs.
  const std::string breaks[] = {"\r\n", "\r", "\n"};
  std::string mission;
  for (int i = 0; i < 20000; ++i) {
    mission += "begin item " + std::to_string(i) + "\n  position " + std::to_string(i) + " -1 0" +
               breaks[i % 3] + "end item\n";
  }
  const std::vector<MapPoint> points = PositionsOf(mission);
  ASSERT_EQ(points.size(), 20000u);
  for (int i = 0; i < 20000; ++i) EXPECT_EQ(points[i].x, i);
}

// Three new objects of two types around the middle, and two existing ones on one spot far off.
std::string SmallPlot(const std::string& title) {
  ScratchDirectory scratch;
  std::ofstream(scratch / "m.mis", std::ios::binary)
      << "begin item 0\r\n  position 5000 5000 0\r\nend item\r\n"
         "begin item 1\r\n  position 5000 5000 0\r\nend item\r\n";
  const MissionDensity existing = MissionDensity::Read((scratch / "m.mis").string()).value();
  const std::vector<DrawnObject> added = {
      {"1023", 0, -100, -200}, {"", 0, 100, 200}, {"1023", 0, 0, 0}};
  MapPicture picture;
  picture.existing = &existing;
  picture.area = MapRectangle{-256, -256, 256, 256};
  picture.objects = &added;
  picture.objectsAsDots = true;
  MapViewport viewport;
  viewport.Resize(400, 300);
  viewport.Fit(WholePicture(&existing, picture.area), 20);
  return SvgPlot(DrawMapScene(picture, viewport), title);
}

double Attribute(const std::string& svg, const std::string& element, const std::string& name) {
  const auto at = svg.find(element);
  const auto value = svg.find(name + "=\"", at) + name.size() + 2;
  return std::stod(svg.substr(value, svg.find('"', value) - value));
}

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(SvgPlot, NorthIsUpAndEveryTypeIsCountedInTheLegend) {
  const std::string svg = SmallPlot("m_rnd.mis");
  // The object at y -200 is drawn below the one at y 200.
  const double lowY = Attribute(svg, "<g class=\"type\" data-type-id=\"1023\"", "cy");
  const double highY = Attribute(svg, "<g class=\"type\" data-type-id=\"\"", "cy");
  EXPECT_GT(lowY, highY);
  EXPECT_NE(svg.find(">1023: 2</text>"), std::string::npos);
  EXPECT_NE(svg.find(">(empty): 1</text>"), std::string::npos);
  EXPECT_NE(svg.find(">existing objects: 2</text>"), std::string::npos);
  // The area is dashed, and the existing objects are drawn as the picture's pixels.
  EXPECT_EQ(Occurrences(svg, "stroke-dasharray"), 4);
  EXPECT_GT(Occurrences(svg.substr(svg.find("<g id=\"picture\"")), "<rect"), 0);
}

TEST(SvgPlot, TitleTextIsEscapedAndKeptValidUtf8) {
  const std::string svg = SmallPlot("a<b & \"c\" \xC3\xA9 \xFF\x01\xC0\x80");
  // \xFF, the control character and the overlong \xC0\x80 each become a question mark.
  const std::string expected =
      "<title>a&lt;b &amp; &quot;c&quot; \xC3\xA9 " + std::string(4, '?') + "</title>";
  EXPECT_NE(svg.find(expected), std::string::npos);
}

#ifdef BOSQUELL_TEST_XML_WITH_QT
// Counts the dots of the new objects per type id, reading the SVG as XML.
std::map<std::string, int> AddedDotsPerType(const std::string& svg, QString& error) {
  std::map<std::string, int> dots;
  QXmlStreamReader reader(QByteArray::fromStdString(svg));
  int addedDepth = -1, depth = 0;
  std::string type;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement()) {
      ++depth;
      const auto attributes = reader.attributes();
      if (reader.name() == u"g" && attributes.value("id") == u"added-objects") addedDepth = depth;
      if (addedDepth > 0 && reader.name() == u"g" && attributes.hasAttribute("data-type-id")) {
        type = attributes.value("data-type-id").toString().toStdString();
      }
      if (addedDepth > 0 && reader.name() == u"circle") ++dots[type];
    } else if (reader.isEndElement()) {
      if (depth == addedDepth) addedDepth = -1;
      --depth;
    }
  }
  if (reader.hasError()) error = reader.errorString();
  return dots;
}
#endif

TEST(SvgPlot, PlotOfARunIsWellFormedXmlWithOneDotPerNewObject) {
#ifndef BOSQUELL_TEST_XML_WITH_QT
  GTEST_SKIP() << "built without Qt, which reads the SVG as XML";
#else
  ScratchDirectory scratch;
  std::filesystem::copy_file(Fixture("two_oaks.mis"), scratch / "two_oaks.mis");
  const std::filesystem::path plot = scratch / "plot.svg";
  const ProgramResult result =
      RunProgram({"--theme", "Jungel", "--seed", "3", "--count", "1200", "--plot", plot.string(),
                  (scratch / "two_oaks.mis").string()},
                 scratch);
  ASSERT_EQ(result.exitCode, 0) << result.err;

  const std::string svg = ReadBytes(plot);
  QString error;
  const std::map<std::string, int> dots = AddedDotsPerType(svg, error);
  EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  int total = 0;
  for (const auto& [type, count] : dots) {
    total += count;
    EXPECT_NE(svg.find(">" + type + ": " + std::to_string(count) + "</text>"), std::string::npos)
        << type;
  }
  EXPECT_EQ(total, 1200);
  EXPECT_EQ(dots.size(), 8u);  // Jungel's eight different ids
  EXPECT_NE(svg.find(">existing objects: 2</text>"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(scratch / "plot.svg.tmp"));
#endif
}

// The background lies under everything else, stretched over its corners, its path encoded.
TEST(SvgPlot, BackgroundPictureLiesUnderEverythingElse) {
  MapScene scene;
  scene.width = 2;
  scene.height = 1;
  scene.pixels = {0xFFFFFF, 0x102030};
  const std::string svg =
      SvgPlot(scene, "t", SvgImage{"a%20b.png?&", {-10.25, 5}, {30, 45.5}, 0.37501});
  EXPECT_EQ(
      svg.substr(0, svg.find("<g id=\"lines\"")),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "width=\"2\" height=\"1\" viewBox=\"0 0 2 1\" font-family=\"sans-serif\">\n"
      "<title>t</title>\n"
      "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
      "<image id=\"background\" x=\"-10.2\" y=\"5\" width=\"40.2\" height=\"40.5\" "
      "preserveAspectRatio=\"none\" opacity=\"0.375\" href=\"a%20b.png?&amp;\" "
      "xlink:href=\"a%20b.png?&amp;\"/>\n"
      "<g id=\"picture\" shape-rendering=\"crispEdges\">\n"
      "<rect x=\"1\" y=\"0\" width=\"1\" height=\"1\" fill=\"#102030\"/>\n"
      "</g>\n");
}

TEST(ImageHref, RelativeToTheSvgsFolderAndPercentEncoded) {
  const std::filesystem::path root = std::filesystem::current_path().root_path();
  const std::string top = Utf8FromPath(root / "top");
  const std::pair<std::string, std::string> cases[] = {
      {top + "/plots/terrain.png", "terrain.png"},
      {top + "/maps/T\u00e4l 1:2#.bmp", "../maps/T%C3%A4l%201%3A2%23.bmp"},
      {top + "/plots/sub/../a~b_c-d.jpg", "a~b_c-d.jpg"},
  };
  for (const auto& [image, href] : cases) {
    EXPECT_EQ(ImageHref(image, top + "/plots/plot.svg"), href) << image;
  }
}

}  // namespace
}  // namespace bosquell::test
