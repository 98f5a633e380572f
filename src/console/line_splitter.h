// Line splitting: turns the platform's raw reads into the pieces ReadLine delivers: each
// line with CR LF for its line end, in pieces of at most the reader's limit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "console/read_result.h"
#include "text/limits.h"

namespace intcalc {

// ChunkSource: where the splitter's raw reads come from. ReadChunk reports a piece of
// count > 0 when bytes arrived, the end of input, or a read that failed or could not be
// made.
class ChunkSource {
 public:
  virtual ReadResult ReadChunk(std::span<char> destination) = 0;

 protected:
  ChunkSource() = default;
  ~ChunkSource() = default;
  ChunkSource(const ChunkSource&) = default;
  ChunkSource& operator=(const ChunkSource&) = default;
  ChunkSource(ChunkSource&&) = default;
  ChunkSource& operator=(ChunkSource&&) = default;
};

// LineSplitter: keeps what a raw read brought beyond the current piece, so that no byte
// is ever lost, and reads again only when it holds nothing it can deliver.
class LineSplitter {
 public:
  constexpr LineSplitter() = default;

  // NextPiece: fills piece with the next piece of input, as ReadLine describes.
  ReadResult NextPiece(std::span<char> piece, ChunkSource& source);

  // Reset: forgets all input kept and the end of input; the kept bytes need no clearing.
  // With `answerBeforeFailure`, a read that fails ends the line it cut short first, so that
  // what was read is answered; the failure comes at the next piece.
  void Reset(bool answerBeforeFailure = false) {
    begin_ = end_ = lineEndLeft_ = 0;
    lineOpen_ = endSeen_ = false;
    answerBeforeFailure_ = answerBeforeFailure;
    ending_ = ReadResult::Ended();
  }

 private:
  ReadResult FinishLine(std::span<char> piece, std::size_t count);
  ReadResult DeliverLineEnd(std::span<char> piece, std::size_t count);
  // Refill: reads again after what is left; a piece when the splitter may go on (bytes
  // came, the end, or a failure to come after the line it cut short), else the read's
  // failure.
  ReadResult Refill(ChunkSource& source);

  std::array<char, kInputChunkCapacity> input_{};
  std::size_t begin_ = 0;        // first byte not yet delivered
  std::size_t end_ = 0;          // one past the last byte read
  std::size_t lineEndLeft_ = 0;  // bytes of a CR LF that did not fit in the previous piece
  bool lineOpen_ = false;        // part of the current line went out without its line end
  bool endSeen_ = false;         // the platform reported the end of input, or a failure
  bool answerBeforeFailure_ = false;
  ReadResult ending_ = ReadResult::Ended();  // the end of input, or the failure that ended it
};

}  // namespace intcalc
