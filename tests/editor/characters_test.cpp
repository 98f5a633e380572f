// The characters of an edited line, checked against a suite nobody here wrote: Unicode's
// own GraphemeBreakTest.txt, every line of it, for the Unicode version utf8proc implements.
#include "editor/characters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace intcalc {
namespace {

void AppendUtf8(std::string& text, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    text += static_cast<char>(0xE0 | (codePoint >> 12));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (codePoint >> 18));
    text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// Starts: where each character of text begins, stepping forward.
std::vector<std::size_t> Starts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t index = 0; index < text.size(); index += CharacterLength(text, index))
    starts.push_back(index);
  return starts;
}

// StartsBackward: the same, stepping back from the end.
std::vector<std::size_t> StartsBackward(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t index = text.size(); index > 0;) {
    index = CharacterBefore(text, index);
    starts.insert(starts.begin(), index);
  }
  return starts;
}

TEST(GraphemeBreakTest, EveryLineOfUnicodesOwnTest) {
  std::ifstream file(INTCALC_GRAPHEME_BREAK_TEST);
  ASSERT_TRUE(file) << INTCALC_GRAPHEME_BREAK_TEST;
  int lines = 0;
  for (std::string line; std::getline(file, line);) {
    const std::string cases = line.substr(0, line.find('#'));
    if (cases.find_first_not_of(" \t") == std::string::npos) continue;
    // "÷ 0020 × 0308 ÷": a code point between each mark, a break where the mark is ÷.
    std::istringstream words(cases);
    std::string text;
    std::vector<std::size_t> expected;
    for (std::string word; words >> word;) {
      if (word == "\xc3\xb7") {  // ÷
        if (text.size() < cases.size() && !text.empty()) expected.push_back(text.size());
      } else if (word != "\xc3\x97") {  // ×
        if (text.empty()) expected.push_back(0);
        AppendUtf8(text, static_cast<std::uint32_t>(std::stoul(word, nullptr, 16)));
      }
    }
    if (!expected.empty() && expected.back() == text.size()) expected.pop_back();
    ++lines;
    EXPECT_EQ(Starts(text), expected) << line;
    EXPECT_EQ(StartsBackward(text), expected) << line;
  }
  EXPECT_GT(lines, 600);
}

struct ColumnsCase {
  std::string name;
  std::string character;
  std::size_t columns;
};

class CharacterColumnsTest : public testing::TestWithParam<ColumnsCase> {};

TEST_P(CharacterColumnsTest, AsUnicodeSays) {
  ASSERT_EQ(CharacterLength(GetParam().character, 0), GetParam().character.size());
  EXPECT_EQ(CharacterColumns(GetParam().character, 0), GetParam().columns);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, CharacterColumnsTest,
    testing::ValuesIn<ColumnsCase>({
        {"Ascii", "7", 1},
        {"ALetterWithItsAccent", "e\xcc\x81", 1},
        {"AWideCharacter", "\xe4\xb8\xad", 2},
        {"AnEmoji", "\xf0\x9f\x98\x80", 2},
        {"AFlag", "\xf0\x9f\x87\xab\xf0\x9f\x87\xb7", 2},
        {"HalfAFlagWithAMark", "\xf0\x9f\x87\xab\xcc\x81", 1},
        {"AFamilyJoined",
         "\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7", 2},
        {"ATextCharacterShownAsEmoji", "\xe2\x9d\xa4\xef\xb8\x8f", 2},
        {"AMarkAlone", "\xcc\x81", 0},
        {"AByteOfNoCharacter", "\xff", 1},
    }),
    [](const testing::TestParamInfo<ColumnsCase>& test) { return test.param.name; });

TEST(BeginsCodePointTest, ALeadThenContinuationsUpToItsLength) {
  const std::vector<std::pair<std::string, bool>> rows = {
      {"", false},
      {"a", false},
      {"\xc3", true},
      {"\xe0\xa0\x80", true},   // the first lead of three bytes
      {"\xdf\xbf\x80", false},  // the last lead of two, and a byte too many
      {"\xe4\x41", false},
      {"\xed\xa0\x80", false},  // a surrogate
  };
  for (const auto& [bytes, begins] : rows)
    EXPECT_EQ(BeginsCodePoint(bytes), begins) << testing::PrintToString(bytes);
}

}  // namespace
}  // namespace intcalc
