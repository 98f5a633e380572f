#include "console/line_splitter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "support/case_name.h"

namespace intcalc {
namespace {

constexpr std::size_t kPieceLimit = 121;
constexpr std::string_view kReadFailure = "<read fails>";
constexpr std::string_view kEnd = "<end>";
constexpr std::string_view kFailed = "<failed>";

// The scripted platform: each read returns the next chunk, or fails on kReadFailure.
std::vector<std::string> scriptedChunks;
std::size_t nextChunk = 0;
std::size_t readCalls = 0;

class Scripted final : public ChunkSource {
 public:
  ReadResult ReadChunk(std::span<char> destination) override {
    ++readCalls;
    if (nextChunk == scriptedChunks.size()) return ReadResult::Ended();
    std::string& chunk = scriptedChunks[nextChunk];
    if (chunk == kReadFailure) {
      ++nextChunk;
      return ReadResult::Failed(EIO);
    }
    const std::size_t count = std::min(chunk.size(), destination.size());
    std::memcpy(destination.data(), chunk.data(), count);
    chunk.erase(0, count);
    if (chunk.empty()) ++nextChunk;
    return ReadResult::Piece(count);
  }
} scripted;

// Pieces: every piece the splitter delivers, then kEnd or kFailed.
std::vector<std::string> Pieces(std::vector<std::string> chunks, std::size_t limit = kPieceLimit) {
  scriptedChunks = std::move(chunks);
  nextChunk = 0;
  readCalls = 0;
  static LineSplitter splitter;
  splitter.Reset();
  std::vector<std::string> pieces;
  std::array<char, kInputChunkCapacity> buffer{};
  while (pieces.size() < 10000) {
    const ReadResult result = splitter.NextPiece(std::span(buffer).first(limit), scripted);
    if (result.status == ReadStatus::kEndOfInput) {
      pieces.emplace_back(kEnd);
      break;
    }
    if (result.status == ReadStatus::kFailed) {
      pieces.emplace_back(kFailed);
      break;
    }
    pieces.emplace_back(buffer.data(), result.count);
    EXPECT_EQ(result.endsLine, pieces.back().ends_with('\n')) << pieces.back();
  }
  return pieces;
}

std::string Repeat(char character, std::size_t count) {
  return std::string(count, character);
}

struct SplitCase {
  std::string name;
  std::vector<std::string> chunks;
  std::vector<std::string> expected;
};

class LineSplitterTest : public testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitterTest, DeliversPieces) {
  EXPECT_EQ(Pieces(GetParam().chunks), GetParam().expected);
}

const std::string k119 = Repeat('1', 119);
const std::string k120 = Repeat('2', 120);
const std::string k121 = Repeat('3', 121);

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSplitterTest,
    testing::ValuesIn<SplitCase>({
        {"NoInput", {}, {std::string(kEnd)}},
        {"LineFeed", {"12\n"}, {"12\r\n", std::string(kEnd)}},
        {"CarriageReturnLineFeed", {"12\r\n"}, {"12\r\n", std::string(kEnd)}},
        {"EmptyLines", {"\n\r\n\n"}, {"\r\n", "\r\n", "\r\n", std::string(kEnd)}},
        {"LastLineWithoutEnd", {"1\n2"}, {"1\r\n", "2\r\n", std::string(kEnd)}},
        {"ManyLinesInOneRead", {"1\n2\n3\n"}, {"1\r\n", "2\r\n", "3\r\n", std::string(kEnd)}},
        {"LineAcrossReads", {"1", "2+", "3\n"}, {"12+3\r\n", std::string(kEnd)}},
        {"LineEndAcrossReads", {"12\r", "\n3\n"}, {"12\r\n", "3\r\n", std::string(kEnd)}},
        {"LoneCarriageReturnIsContent", {"1\r2\n"}, {"1\r2\r\n", std::string(kEnd)}},
        {"CarriageReturnAtEnd", {"1\r"}, {"1\r\r\n", std::string(kEnd)}},
        {"DoubleCarriageReturn", {"1\r\r\n"}, {"1\r\r\n", std::string(kEnd)}},
        {"NulIsContent",
         {std::string("1\0002\n", 4)},
         {std::string("1\0002\r\n", 5), std::string(kEnd)}},
        {"Line119", {k119 + "\n"}, {k119 + "\r\n", std::string(kEnd)}},
        {"Line120", {k120 + "\n"}, {k120 + "\r", "\n", std::string(kEnd)}},
        {"Line120WithCarriageReturn", {k120 + "\r\n"}, {k120 + "\r", "\n", std::string(kEnd)}},
        {"Line121", {k121 + "\n"}, {k121, "\r\n", std::string(kEnd)}},
        {"Line122", {k121 + "x\n"}, {k121, "x\r\n", std::string(kEnd)}},
        {"Line121WithoutEnd", {k121}, {k121, "\r\n", std::string(kEnd)}},
        {"Line242", {k121 + k121 + "\n"}, {k121, k121, "\r\n", std::string(kEnd)}},
        {"FailureAfterALine", {"1\n", std::string(kReadFailure)}, {"1\r\n", std::string(kFailed)}},
        {"FailureMidLine", {"1", std::string(kReadFailure)}, {std::string(kFailed)}},
        {"AReadOfNothingIsTheEnd", {"1", "", "2\n"}, {"1\r\n", std::string(kEnd)}},
    }),
    CaseName());

TEST(LineSplitterReadsTest, ReadsOnlyWhenItHoldsNothing) {
  Pieces({"1\n2\n3\n"});
  EXPECT_EQ(readCalls, 2U);  // one read for all three lines, one to find the end
}

TEST(LineSplitterReadsTest, NeverReadsAfterTheEnd) {
  scriptedChunks = {"1\n"};
  nextChunk = 0;
  readCalls = 0;
  LineSplitter splitter;
  std::array<char, kPieceLimit> buffer{};
  EXPECT_EQ(splitter.NextPiece(buffer, scripted).status, ReadStatus::kPiece);
  for (int attempt = 0; attempt < 3; ++attempt) {
    EXPECT_EQ(splitter.NextPiece(buffer, scripted).status, ReadStatus::kEndOfInput);
  }
  EXPECT_EQ(readCalls, 2U);
}

TEST(LineSplitterReadsTest, ResetForgetsWhatItHeldAndWhatItOwedOfALineEnd) {
  scriptedChunks = {"1\n2\n", "3\n"};
  nextChunk = 0;
  LineSplitter splitter;
  std::array<char, kPieceLimit> buffer{};
  ASSERT_EQ(splitter.NextPiece(std::span(buffer).first(2), scripted).count, 2U);  // "1\r"
  splitter.Reset();
  const ReadResult next = splitter.NextPiece(buffer, scripted);
  EXPECT_EQ(std::string_view(buffer.data(), next.count), "3\r\n");
}

TEST(LineSplitterReadsTest, ByteByByteReadsGiveTheSamePieces) {
  const std::string input = k120 + "\r\n1 + 2\r\n\n" + k121 + "7";
  std::vector<std::string> oneByteChunks;
  for (const char byte : input)
    oneByteChunks.emplace_back(1, byte);
  EXPECT_EQ(Pieces(oneByteChunks), Pieces({input}));
}

// PiecesAfterEmptyOnes: asks for three pieces of no bytes, then reads to the end.
std::vector<std::string> PiecesAfterEmptyOnes(std::vector<std::string> chunks) {
  scriptedChunks = std::move(chunks);
  nextChunk = 0;
  readCalls = 0;
  LineSplitter splitter;
  std::array<char, kPieceLimit> buffer{};
  std::vector<std::string> pieces;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const ReadResult empty = splitter.NextPiece(std::span(buffer).first(0), scripted);
    pieces.push_back(empty.status == ReadStatus::kPiece ? std::string(empty.count, '?') : "?");
  }
  EXPECT_EQ(readCalls, 0U);
  while (pieces.size() < 10) {
    const ReadResult result = splitter.NextPiece(buffer, scripted);
    if (result.status != ReadStatus::kPiece) {
      pieces.emplace_back(kEnd);
      break;
    }
    pieces.emplace_back(buffer.data(), result.count);
    EXPECT_EQ(result.endsLine, pieces.back().ends_with('\n')) << pieces.back();
  }
  return pieces;
}

TEST(LineSplitterReadsTest, AnEmptyPieceBufferGetsNothingAndTakesNothing) {
  EXPECT_EQ(PiecesAfterEmptyOnes({"1\n"}),
            (std::vector<std::string>{"", "", "", "1\r\n", std::string(kEnd)}));
  EXPECT_EQ(PiecesAfterEmptyOnes({}), (std::vector<std::string>{"", "", "", std::string(kEnd)}));
}

TEST(LineSplitterReadsTest, HonoursSmallLimits) {
  EXPECT_EQ(Pieces({"abc\n"}, 1),
            (std::vector<std::string>{"a", "b", "c", "\r", "\n", std::string(kEnd)}));
}

}  // namespace
}  // namespace intcalc
