#include "text/line_scan.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace intcalc {
namespace {

constexpr TextLength kLineCapacity = 122;
using LineBuffer = TextBuffer<kLineCapacity>;

// Expected: the bytes before the first NUL, CR or LF, blanks dropped, one at a time.
std::string Expected(std::string_view line) {
  std::string kept;
  for (const char byte : line) {
    if (byte == '\0' || byte == '\r' || byte == '\n') break;
    if (byte != kBlank) kept += byte;
  }
  return kept;
}

// The blocks are sixteen bytes; every position of a blank or a line end relative to a
// block's edges, and lines that end past the last whole block, are covered by chance.
TEST(CopyWithoutBlanksTest, MatchesByteByByteCopyOnRandomLines) {
  constexpr std::array<char, 8> kAlphabet = {' ', ' ', '7', '+', '\t', '\r', '\n', '\0'};
  constexpr int kLines = 20000;
  constexpr std::mt19937::result_type kSeed = 2026;  // the same lines on every run
  std::mt19937 random(kSeed);                        // NOLINT(cert-msc32-c,cert-msc51-cpp)
  std::uniform_int_distribution<std::size_t> length(0, kLineCapacity);
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::bernoulli_distribution rareEnd(0.05);
  LineBuffer destination;
  for (int index = 0; index < kLines; ++index) {
    std::string line(length(random), '1');
    for (char& byte : line) {
      const char candidate = kAlphabet[pick(random)];
      const bool endsLine = candidate == '\r' || candidate == '\n' || candidate == '\0';
      byte = endsLine && !rareEnd(random) ? '5' : candidate;
    }
    CopyWithoutBlanks(line, destination);
    ASSERT_EQ(destination.View(), Expected(line)) << "line " << index;
    ASSERT_EQ(destination.CString()[destination.Length()], '\0');
  }
}

TEST(CopyWithoutBlanksTest, KeepsAWholeLineAsLongAsTheCapacity) {
  const std::string line(kLineCapacity, '9');
  LineBuffer destination;
  CopyWithoutBlanks(line, destination);
  EXPECT_EQ(destination.View(), line);
}

}  // namespace
}  // namespace intcalc
