#include "console/line_splitter.h"

#include <algorithm>
#include <cstring>

namespace intcalc {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr std::array<char, 2> kLineEnd = {kCarriageReturn, kLineFeed};

}  // namespace

ReadResult LineSplitter::NextPiece(std::span<char> piece, ReadChunkFunction readChunk) {
  if (piece.empty()) return {ReadStatus::kLine, 0};  // like a read of zero bytes
  if (lineEndLeft_ > 0) return DeliverLineEnd(piece, 0);

  std::size_t count = 0;
  while (true) {
    // Copy content up to the line end, the piece's limit, or the end of what was read.
    const std::size_t room = piece.size() - count;
    const std::size_t available = std::min(end_ - begin_, room);
    const char* const start = input_.data() + begin_;
    const char* const stop = std::find_if(start, start + available, [](char byte) {
      return byte == kLineFeed || byte == kCarriageReturn;
    });
    std::size_t taken = static_cast<std::size_t>(stop - start);
    std::memcpy(piece.data() + count, start, taken);
    count += taken;
    begin_ += taken;

    if (taken < available) {
      if (input_[begin_] == kLineFeed) {
        ++begin_;
        return FinishLine(piece, count);
      }
      // A CR ends the line only when an LF follows it; with nothing after it yet, read on.
      if (begin_ + 1 < end_) {
        if (input_[begin_ + 1] == kLineFeed) {
          begin_ += 2;
          return FinishLine(piece, count);
        }
      } else if (!endSeen_) {
        if (!Refill(readChunk)) return {ReadStatus::kFailed, count};
        continue;
      }
      piece[count++] = kCarriageReturn;  // a CR that is not part of a line end is content
      ++begin_;
      continue;
    }

    if (count == piece.size()) {
      lineOpen_ = true;
      return {ReadStatus::kLine, count};
    }

    // Everything read so far has been delivered.
    if (endSeen_) {
      if (count > 0 || lineOpen_) return FinishLine(piece, count);
      return {ReadStatus::kEndOfInput, 0};
    }
    if (!Refill(readChunk)) return {ReadStatus::kFailed, count};
  }
}

ReadResult LineSplitter::FinishLine(std::span<char> piece, std::size_t count) {
  lineOpen_ = false;
  lineEndLeft_ = kLineEndBytes;
  return DeliverLineEnd(piece, count);
}

ReadResult LineSplitter::DeliverLineEnd(std::span<char> piece, std::size_t count) {
  const std::size_t fitting = std::min(lineEndLeft_, piece.size() - count);
  const std::size_t first = kLineEndBytes - lineEndLeft_;
  std::memcpy(piece.data() + count, kLineEnd.data() + first, fitting);
  lineEndLeft_ -= fitting;
  return {ReadStatus::kLine, count + fitting};
}

bool LineSplitter::Refill(ReadChunkFunction readChunk) {
  const std::size_t leftover = end_ - begin_;  // at most a CR waiting for its LF
  std::memmove(input_.data(), input_.data() + begin_, leftover);
  begin_ = 0;
  end_ = leftover;
  const ReadResult read = readChunk(std::span(input_).subspan(end_));
  if (read.status == ReadStatus::kFailed) return false;
  // A read that brings nothing counts as the end, so a faulty platform cannot make us spin.
  if (read.status == ReadStatus::kEndOfInput || read.count == 0) endSeen_ = true;
  end_ += std::min(read.count, input_.size() - end_);
  return true;
}

}  // namespace intcalc
