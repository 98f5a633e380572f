#include "console/history_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

#include "console/system_calls.h"
#include "text/limits.h"

namespace intcalc {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;  // space; every byte before it controls
constexpr unsigned char kDelete = 0x7f;

// IsControl: whether `byte` is NUL or another control byte, which no line typed holds.
bool IsControl(char byte) {
  const auto code = static_cast<unsigned char>(byte);
  return code < kFirstPrintable || code == kDelete;
}

// PieceAt: as much of `piece` as the bytes from `at` up to `end` fill.
std::span<char> PieceAt(std::span<char> piece, off_t at, off_t end) {
  return piece.first(std::min(piece.size(), static_cast<std::size_t>(end - at)));
}

// LineScan: what a file holds, as ScanLines found it.
struct LineScan {
  std::size_t lines = 0;   // the last counted too when no LF ends it
  off_t afterSkipped = 0;  // where the line after the skipped ones begins
  bool allText = true;     // every line is one IsHistoryLine takes
  SystemError error = 0;   // of a read that failed; the counts are then unfinished
};

// ScanLines: the first `size` bytes of the file open as `descriptor`, read a piece at a
// time: its lines counted and checked, and where the first `skip` of them end.
LineScan ScanLines(int descriptor, off_t size, std::span<char> piece, std::size_t skip) {
  LineScan scan;
  std::size_t length = 0;  // of the line read so far, and whether it is text so far
  bool text = true;
  off_t at = 0;
  while (at < size) {
    const ssize_t count = ReadPiece(descriptor, PieceAt(piece, at, size), at);
    if (count <= 0) {
      scan.error = count < 0 ? errno : EIO;  // shorter than it was: nothing holds
      return scan;
    }
    for (const char byte : piece.first(static_cast<std::size_t>(count))) {
      ++at;
      if (byte != '\n') {
        ++length;
        text = text && !IsControl(byte);
        continue;
      }
      scan.allText = scan.allText && text && length <= kEditCapacity;
      if (++scan.lines == skip) scan.afterSkipped = at;
      length = 0;
      text = true;
    }
  }
  if (length > 0) {
    ++scan.lines;
    scan.allText = scan.allText && text && length <= kEditCapacity;
  }
  return scan;
}

// CopyBytes: the bytes of `from` from `start` up to `end`, written to `to` through
// `piece`; 0, or why a read or a write failed.
SystemError CopyBytes(int from, off_t start, off_t end, int to, std::span<char> piece) {
  for (off_t at = start; at < end;) {
    const ssize_t count = ReadPiece(from, PieceAt(piece, at, end), at);
    if (count <= 0) return count < 0 ? errno : EIO;
    if (!WriteWhole(to, {piece.data(), static_cast<std::size_t>(count)})) return errno;
    at += count;
  }
  return 0;
}

// Replace: the file's bytes from `start` to `end` as the whole file: written to a new file
// beside it, synced, and renamed over it, so that no reader sees half a file; the new file
// is removed when a step fails.
SystemError Replace(int descriptor, off_t start, off_t end, const char* path,
                    const char* trimmedPath, std::span<char> piece) {
  (void)Calls().unlink(trimmedPath);  // one a session left, stopped as it trimmed
  const int trimmed =
      Calls().open(trimmedPath, O_WRONLY | O_CREAT | O_EXCL | kNeverWaits, kPrivateFile);
  if (trimmed < 0) return errno;
  SystemError error = CopyBytes(descriptor, start, end, trimmed, piece);
  if (error == 0 && Calls().sync(trimmed) != 0) error = errno;
  if (Calls().close(trimmed) != 0 && error == 0) error = errno;
  if (error == 0 && Calls().rename(trimmedPath, path) != 0) error = errno;
  if (error != 0) (void)Calls().unlink(trimmedPath);
  return error;
}

}  // namespace

bool IsHistoryLine(std::string_view line) {
  return line.size() <= kEditCapacity && std::none_of(line.begin(), line.end(), IsControl);
}

ssize_t ReadPiece(int descriptor, std::span<char> piece, off_t offset) {
  std::size_t filled = 0;
  while (filled < piece.size()) {
    const ssize_t count = Calls().readAt(descriptor, piece.data() + filled, piece.size() - filled,
                                         offset + static_cast<off_t>(filled));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return -1;
    if (count == 0) break;  // the file ends here
    filled += static_cast<std::size_t>(count);
  }
  return static_cast<ssize_t>(filled);
}

bool WriteWhole(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = Calls().write(descriptor, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count == 0) errno = ENOSPC;  // no progress: a regular file that takes no more
    if (count <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

FileFault TrimToNewest(int descriptor, off_t size, const char* path, const char* trimmedPath,
                       std::span<char> piece) {
  if (size <= off_t{kHistoryFileMostLines}) return {};  // too few bytes for more lines
  if (size > off_t{kHistoryFileCountable}) return {0, kTooBig};
  struct stat status {};
  if (Calls().pathStatus(path, &status, AT_SYMLINK_NOFOLLOW) != 0) return {errno, {}};
  if (!S_ISREG(status.st_mode)) return {};  // where the link leads stays as it is
  LineScan scan = ScanLines(descriptor, size, piece, 0);
  if (scan.error != 0) return {scan.error, {}};
  if (!scan.allText) return {0, kNotText};
  if (scan.lines <= kHistoryFileMostLines) return {};
  scan = ScanLines(descriptor, size, piece, scan.lines - kHistoryFileKeptLines);
  if (scan.error != 0) return {scan.error, {}};
  return {Replace(descriptor, scan.afterSkipped, size, path, trimmedPath, piece), {}};
}

}  // namespace intcalc
