#include "text/move_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// ForEveryCountAndShift: moves `count` bytes from kOffset to kOffset + shift with `move`
// and with memmove, for every count and every shift, overlapping or not, and hands both
// areas and the destination to `check`.
template <typename Move, typename Check>
void ForEveryCountAndShift(Move move, Check check) {
  for (std::size_t count = 0; count <= kLongestCount; ++count) {
    for (int shift = -40; shift <= 40; ++shift) {
      Area expected = Numbered();
      Area actual = Numbered();
      const std::size_t destination = kOffset + static_cast<std::size_t>(shift + 40);
      std::memmove(expected.data() + destination, expected.data() + kOffset, count);
      move(actual.data() + destination, actual.data() + kOffset, count);
      check(actual, expected, destination + count);
      if (testing::Test::HasFailure()) {
        ADD_FAILURE() << "count " << count << ", shift " << shift;
        return;
      }
    }
  }
}

TEST(MoveBytesTest, AgreesWithMemmoveForEveryCountAndOverlap) {
  ForEveryCountAndShift(MoveBytes, [](const Area& actual, const Area& expected, std::size_t) {
    EXPECT_EQ(actual, expected);
  });
}

// MovePadded may write a whole block past the count; everything up to the count, and
// everything before the destination, must be as memmove leaves it.
TEST(MovePaddedTest, MovesTheCountAndNothingBeforeIt) {
  ForEveryCountAndShift(MovePadded, [](const Area& actual, const Area& expected, std::size_t end) {
    EXPECT_TRUE(
        std::equal(actual.begin(), actual.begin() + static_cast<long>(end), expected.begin()));
  });
}

}  // namespace
}  // namespace intcalc
