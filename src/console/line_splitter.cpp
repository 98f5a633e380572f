#include "console/line_splitter.h"

#include <algorithm>
#include <cstring>

namespace intcalc {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr int kLineFeed = '\n';
constexpr std::string_view kLineEndBytes = kLineEnd;

}  // namespace

ReadResult LineSplitter::NextPiece(std::span<char> piece, ChunkSource& source) {
  if (piece.empty()) return ReadResult::Piece(0);  // like a read of zero bytes
  if (lineEndLeft_ > 0) return DeliverLineEnd(piece, 0);

  std::size_t count = 0;
  while (true) {
    const std::size_t room = piece.size() - count;
    const char* const start = input_.data() + begin_;
    const std::size_t held = end_ - begin_;

    // A CR LF may begin in the piece's last place, so look one byte past it for the LF.
    const std::size_t searched = std::min(held, room + 1);
    if (const void* found = std::memchr(start, kLineFeed, searched)) {
      const auto lineFeedAt = static_cast<std::size_t>(static_cast<const char*>(found) - start);
      const bool carriageReturn = lineFeedAt > 0 && start[lineFeedAt - 1] == kCarriageReturn;
      const std::size_t content = lineFeedAt - (carriageReturn ? 1 : 0);
      std::memcpy(piece.data() + count, start, content);
      begin_ += lineFeedAt + 1;
      return FinishLine(piece, count + content);
    }

    // No line end in reach: take what fits. A CR that ends what is held may be the start
    // of a CR LF whose LF is yet to come, so it waits for the next read.
    std::size_t taken = std::min(held, room);
    if (taken == held && taken > 0 && !endSeen_ && start[taken - 1] == kCarriageReturn) --taken;
    std::memcpy(piece.data() + count, start, taken);
    count += taken;
    begin_ += taken;

    if (count == piece.size()) {
      lineOpen_ = true;
      return ReadResult::Piece(count);
    }
    if (endSeen_) {
      if (count > 0 || lineOpen_) return FinishLine(piece, count);
      return ending_;
    }
    if (const ReadResult read = Refill(source); read.status != ReadStatus::kPiece) return read;
  }
}

ReadResult LineSplitter::FinishLine(std::span<char> piece, std::size_t count) {
  lineOpen_ = false;
  if (piece.size() - count >= kLineEndBytes.size()) {  // the whole line end fits, as it mostly does
    std::memcpy(piece.data() + count, kLineEndBytes.data(), kLineEndBytes.size());
    return ReadResult::Piece(count + kLineEndBytes.size(), true);
  }
  lineEndLeft_ = kLineEndBytes.size();
  return DeliverLineEnd(piece, count);
}

ReadResult LineSplitter::DeliverLineEnd(std::span<char> piece, std::size_t count) {
  const std::size_t fitting = std::min(lineEndLeft_, piece.size() - count);
  const std::size_t first = kLineEndBytes.size() - lineEndLeft_;
  // Copies of a known length: one of a length unknown to the compiler may become a
  // `rep movs`, whose start-up costs more than all the rest of a short line's delivery.
  if (fitting == kLineEndBytes.size()) {
    std::memcpy(piece.data() + count, kLineEndBytes.data(), kLineEndBytes.size());
  } else if (fitting == 1) {
    piece[count] = kLineEndBytes[first];
  }
  lineEndLeft_ -= fitting;
  return ReadResult::Piece(count + fitting, fitting > 0 && lineEndLeft_ == 0);
}

ReadResult LineSplitter::Refill(ChunkSource& source) {
  const std::size_t leftover = end_ - begin_;  // at most a CR waiting for its LF
  std::memmove(input_.data(), input_.data() + begin_, leftover);
  begin_ = 0;
  end_ = leftover;
  const ReadResult read = source.ReadChunk(std::span(input_).subspan(end_));
  if (read.status == ReadStatus::kFailed && answerBeforeFailure_) {
    ending_ = read;  // after the line it cut short
    endSeen_ = true;
    return ReadResult::Piece(0);
  }
  if (read.status == ReadStatus::kFailed || read.status == ReadStatus::kWriteFailed) return read;
  // A read that brings nothing counts as the end, so a faulty platform cannot make us spin.
  if (read.status == ReadStatus::kEndOfInput || read.count == 0) endSeen_ = true;
  end_ += std::min(read.count, kInputChunkCapacity - end_);
  return ReadResult::Piece(0);
}

}  // namespace intcalc
