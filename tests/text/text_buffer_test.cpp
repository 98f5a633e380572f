#include "text/text_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "support/load_text.h"

namespace intcalc {
namespace {

constexpr TextLength kSmallCapacity = 20;
using SmallBuffer = TextBuffer<kSmallCapacity>;
// Room for sources longer than SmallBuffer, and for texts longer than one block move.
constexpr TextLength kLargeCapacity = 100;
using LargeBuffer = TextBuffer<kLargeCapacity>;

// ExpectTerminated: the invariant every operation must keep.
void ExpectTerminated(const SmallBuffer& buffer) {
  ASSERT_LE(buffer.Length(), SmallBuffer::Capacity());
  EXPECT_EQ(ByteAfter(buffer), '\0');
}

struct CopyCase {
  std::string_view start;
  std::string_view source;
  std::string_view expected;
};

class CopyTextTest : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyTextTest, ReplacesAndCutsToCapacity) {
  SmallBuffer buffer;
  LoadText(GetParam().start, buffer);
  LargeBuffer source;
  LoadText(GetParam().source, source);
  CopyText(source, buffer);
  EXPECT_EQ(buffer.View(), GetParam().expected);
  ExpectTerminated(buffer);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyTextTest,
                         testing::ValuesIn<CopyCase>({
                             {"", "", ""},
                             {"old text", "", ""},
                             {"longer old text", "new", "new"},
                             {"", "12345678901234567890", "12345678901234567890"},
                             {"", "123456789012345678901", "12345678901234567890"},
                             {"", "-12345678901234567890", "-1234567890123456789"},
                         }));

struct AppendCase {
  std::string_view start;
  std::string_view source;
  std::string_view expected;
  std::string_view second = "";  // appended with source, as one
};

class AppendTextTest : public testing::TestWithParam<AppendCase> {};

TEST_P(AppendTextTest, AppendsWholeOrNotAtAll) {
  SmallBuffer buffer;
  LoadText(GetParam().start, buffer);
  LargeBuffer source;
  LoadText(GetParam().source, source);
  LargeBuffer second;
  LoadText(GetParam().second, second);
  if (GetParam().second.empty()) {
    AppendText(source, buffer);
  } else {
    (void)AppendTexts(buffer, source, second);
  }
  EXPECT_EQ(buffer.View(), GetParam().expected);
  ExpectTerminated(buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppendTextTest,
    testing::ValuesIn<AppendCase>({
        {"abc", "", "abc"},
        {"", "abc", "abc"},
        {"1+2", "=3", "1+2=3"},
        {"123456789012345", "12345", "12345678901234512345"},  // 15 + 5 fills it exactly
        {"1234567890123456", "12345", "1234567890123456"},     // 16 + 5 is refused whole
        {"12345678901234567890", "x", "12345678901234567890"},
        {"1+2", "=", "1+2=3", "3"},  // the first's block reaches over the second's place
        {"1234567890123456", "1234", "1234567890123456", "5"},  // one too many: none of them
    }));

struct TransformCase {
  std::string_view input;
  std::string_view expected;
};

class RemoveBlanksTest : public testing::TestWithParam<TransformCase> {};

TEST_P(RemoveBlanksTest, RemovesOnlyByte32) {
  SmallBuffer buffer;
  LoadText(GetParam().input, buffer);
  RemoveBlanks(buffer);
  EXPECT_EQ(buffer.View(), GetParam().expected);
  ExpectTerminated(buffer);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemoveBlanksTest,
                         testing::ValuesIn<TransformCase>({
                             {"", ""},
                             {"    ", ""},
                             {" 1 + ( 2 ) ", "1+(2)"},
                             {"12", "12"},
                             {"1\t+ 2", "1\t+2"},
                             {"\v1\r", "\v1\r"},
                         }));

// A text as long as one block moves as a block, one up to two blocks long as its first and
// last blocks, and a longer one byte by byte; each copy here overlaps its source.
TEST(TextBufferTest, CopiesItsOwnTailToItsFront) {
  for (const TextLength length : {TextLength{6}, kTextSlack + 2, kTextSlack + 10,
                                  2 * kTextSlack + 2, 2 * kTextSlack + 3, kLargeCapacity}) {
    std::string text;
    for (TextLength index = 0; index < length; ++index)
      text += static_cast<char>('a' + index % 26);
    LargeBuffer buffer;
    LoadText(text, buffer);
    CopyText(TextView(buffer).From(2), buffer);
    EXPECT_EQ(buffer.View(), text.substr(2)) << "length " << length;
    EXPECT_EQ(ByteAfter(buffer), '\0');
  }
}

TEST(TextBufferTest, AbortsOnALengthBeyondCapacity) {
  EXPECT_DEATH(
      {
        SmallBuffer buffer;
        buffer.Span().SetLength(kSmallCapacity + 1);
      },
      "");
}

TEST(TextBufferTest, AbortsOnReadingOrWritingPastTheText) {
  SmallBuffer buffer;
  LoadText("12", buffer);
  EXPECT_EQ(buffer.Span().At(1), '2');
  EXPECT_DEATH((void)buffer.Span().At(2), "");  // the NUL is not part of the text
  EXPECT_DEATH(buffer.Span().Put(2, '3'), "");
  EXPECT_DEATH((void)TextView(buffer).First(3), "");
}

}  // namespace
}  // namespace intcalc
