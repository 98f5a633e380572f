#include "text/move_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <numeric>

namespace intcalc {
namespace {

constexpr std::size_t kArea = 256;
constexpr std::size_t kLongestCount = 100;
constexpr std::size_t kOffset = 64;

using Area = std::array<char, kArea>;

Area Numbered() {
  Area area{};
  std::iota(area.begin(), area.end(), char{1});
  return area;
}

// Every count and every shift of the destination against the source, overlapping or
// not, must give what memmove gives.
TEST(MoveBytesTest, AgreesWithMemmoveForEveryCountAndOverlap) {
  for (std::size_t count = 0; count <= kLongestCount; ++count) {
    for (int shift = -40; shift <= 40; ++shift) {
      Area expected = Numbered();
      Area actual = Numbered();
      const std::size_t destination = kOffset + static_cast<std::size_t>(shift + 40);
      std::memmove(expected.data() + destination, expected.data() + kOffset, count);
      MoveBytes(actual.data() + destination, actual.data() + kOffset, count);
      ASSERT_EQ(actual, expected) << "count " << count << ", shift " << shift;
    }
  }
}

// MovePadded may write a whole block past the count; everything up to the count, and
// everything before the destination, must be as memmove leaves it.
TEST(MovePaddedTest, MovesTheCountAndNothingBeforeIt) {
  for (std::size_t count = 0; count <= kLongestCount; ++count) {
    for (int shift = -40; shift <= 40; ++shift) {
      Area expected = Numbered();
      Area actual = Numbered();
      const std::size_t destination = kOffset + static_cast<std::size_t>(shift + 40);
      std::memmove(expected.data() + destination, expected.data() + kOffset, count);
      MovePadded(actual.data() + destination, actual.data() + kOffset, count);
      ASSERT_TRUE(std::equal(actual.begin(),
                             actual.begin() + static_cast<long>(destination + count),
                             expected.begin()))
          << "count " << count << ", shift " << shift;
    }
  }
}

}  // namespace
}  // namespace intcalc
