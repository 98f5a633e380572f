// Line splitting: turns the platform's raw reads into the pieces ReadLine delivers: each
// line with CR LF for its line end, in pieces of at most the reader's limit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "text/limits.h"

namespace intcalc {

enum class ReadStatus : std::uint8_t {
  kPiece,        // a piece of a line arrived
  kEndOfInput,   // input has ended; nothing more will come
  kFailed,       // the platform's read failed
  kWriteFailed,  // a write to standard output had failed, so nothing was read
};

struct ReadResult {
  ReadStatus status = ReadStatus::kPiece;
  std::size_t count = 0;  // bytes stored into the caller's buffer
  bool endsLine = false;  // the piece ends with its line's line end, LF its last byte
};

// ChunkSource: where the splitter's raw reads come from. ReadChunk reports kPiece with
// count > 0 when bytes arrived, kEndOfInput when input has ended, and kFailed or
// kWriteFailed when the read failed or could not be made.
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
    failure_ = ReadStatus::kPiece;
  }

 private:
  ReadResult FinishLine(std::span<char> piece, std::size_t count);
  ReadResult DeliverLineEnd(std::span<char> piece, std::size_t count);
  // Refill: reads again after what is left; kPiece when the splitter may go on (bytes
  // came, the end, or a failure to come after the line it cut short), else the read's
  // failure.
  ReadStatus Refill(ChunkSource& source);

  std::array<char, kInputChunkCapacity> input_{};
  std::size_t begin_ = 0;        // first byte not yet delivered
  std::size_t end_ = 0;          // one past the last byte read
  std::size_t lineEndLeft_ = 0;  // bytes of a CR LF that did not fit in the previous piece
  bool lineOpen_ = false;        // part of the current line went out without its line end
  bool endSeen_ = false;         // the platform reported the end of input, or a failure
  bool answerBeforeFailure_ = false;
  ReadStatus failure_ = ReadStatus::kPiece;  // the failure that ended the reading, if one did
};

}  // namespace intcalc
