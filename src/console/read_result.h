// What one read delivers: a piece of a line, the end of input, or why nothing came.
#pragma once

#include <cstddef>
#include <cstdint>

namespace intcalc {

// SystemError: the system's number for why a call failed: errno on POSIX, GetLastError on
// Windows.
#if defined(_WIN32)
using SystemError = std::uint32_t;
#else
using SystemError = int;
#endif

enum class ReadStatus : std::uint8_t {
  kPiece,        // a piece of a line arrived
  kEndOfInput,   // input has ended; nothing more will come
  kFailed,       // the platform's read failed, for the reason `error`
  kWriteFailed,  // a write to standard output had failed, so nothing was read
};

// ReadResult: small enough to come back in registers.
struct ReadResult {
  std::size_t count = 0;  // bytes stored into the caller's buffer
  SystemError error = 0;  // for kFailed: the system's reason
  ReadStatus status = ReadStatus::kPiece;
  bool endsLine = false;  // the piece ends with its line's line end, LF its last byte

  static constexpr ReadResult Piece(std::size_t count, bool endsLine = false) {
    return {count, 0, ReadStatus::kPiece, endsLine};
  }
  static constexpr ReadResult Ended() { return {0, 0, ReadStatus::kEndOfInput, false}; }
  static constexpr ReadResult Failed(SystemError error) {
    return {0, error, ReadStatus::kFailed, false};
  }
  static constexpr ReadResult WriteFailed() { return {0, 0, ReadStatus::kWriteFailed, false}; }
};

}  // namespace intcalc
