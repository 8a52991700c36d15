#include "common/number_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "common/number_text.h"

namespace bosquell {
namespace {

// 1 + 2^-53, exactly halfway between 1 and the next double.
const std::string kHalfwayAboveOne = "1.00000000000000011102230246251565404236316680908203125";
const std::string kManyZeros(1000, '0');

std::uint64_t Bits(double value) {
  return std::bit_cast<std::uint64_t>(value);
}

// The reader, fed in pieces of every size given, against TextValue of the whole text; and its
// short text read back by TextValue. Bits are compared so that -0 and 0 differ.
TEST(NumberReader, ReadsAsTextValueDoesWhateverThePieces) {
  const std::string texts[] = {
      "", "12", " 1 2\t3\n4 x5", "-0", "+.5e-3x", "5.", ".", "-", "--5", "1e", "1e+", "12e 3",
      "12E-2.5", "3.25.1", "-.e5", "0e99999999999999999999999", "1e99999999999999999999999",
      "-1e-400", "4.9e-324", "2.4e-324", "1.7976931348623157e308", "1.8e308", "007.50",
      // Past the kept digits: a non-zero digit far behind decides a tie, zeros do not.
      kHalfwayAboveOne + kManyZeros, kHalfwayAboveOne + kManyZeros + "1",
      "0." + kManyZeros + "1" + kHalfwayAboveOne.substr(2) + kManyZeros + "1e1001",
      "1" + kManyZeros + kManyZeros + "e-2000", std::string(1000, '9') + "e-1000",
      "-" + std::string(3000, '7') + "." + std::string(3000, '3') + "e-2990 tail"};
  for (const std::string& text : texts) {
    const double expected = TextValue(text);
    for (std::size_t piece : {1u, 3u, 7u, 4096u}) {
      NumberReader reader;
      for (std::size_t at = 0; at < text.size(); at += piece) reader.Feed(text.substr(at, piece));
      EXPECT_EQ(Bits(reader.Value()), Bits(expected)) << text.substr(0, 60) << ", pieces " << piece;
      EXPECT_EQ(Bits(TextValue(reader.Text())), Bits(expected)) << reader.Text().substr(0, 60);
      EXPECT_LE(reader.Text().size(), NumberReader::kKeptDigits + 30u);
    }
  }
  EXPECT_EQ(TextValue(kHalfwayAboveOne + kManyZeros + "1"), 1.0000000000000002);
}

TEST(NumberReader, SaysWhenTheNumberHasEnded) {
  NumberReader reader;
  EXPECT_TRUE(reader.Feed("  12"));
  EXPECT_TRUE(reader.Feed(" e"));   // an exponent may still follow
  EXPECT_FALSE(reader.Feed("x9"));  // it did not: the number is 12
  EXPECT_EQ(reader.Value(), 12);
}

}  // namespace
}  // namespace bosquell
