// The lines of the history file: which of them the history may take, the reads and writes
// that move its bytes, and the trim that keeps the newest of them, each call through the
// system-call seam, into storage the caller gives. POSIX only.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <span>
#include <string_view>

#include "console/read_result.h"

namespace intcalc {

// kNeverWaits: how each of the file's descriptors is opened: it never waits, nor becomes
// the controlling terminal, so that a FIFO or a device in the file's place is found by
// fstat before anything waits on it.
inline constexpr int kNeverWaits = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
// kPrivateFile: the mode of a file made: a history may be private (0600).
inline constexpr mode_t kPrivateFile = S_IRUSR | S_IWUSR;

// The words of the faults the system has no reason for.
inline constexpr std::string_view kTooBig =
    "too big: only its end is read, and it is left as it is";
inline constexpr std::string_view kNotText = "holds lines that are not text: it is left as it is";

// FileFault: why the file could not be used: the system's reason, or words of the file's
// own when the system gave none; neither when nothing went wrong.
struct FileFault {
  SystemError error = 0;
  std::string_view words;

  bool Found() const { return error != 0 || !words.empty(); }
};

// IsHistoryLine: whether `line`, a line of the file without its LF, is one the editor could
// have entered: no longer than kEditCapacity, and no NUL nor any other control byte in it.
bool IsHistoryLine(std::string_view line);

// ReadPiece: piece.size() bytes of the file open as `descriptor`, from `offset`, or fewer
// where the file ends; the count, or -1 with errno.
ssize_t ReadPiece(int descriptor, std::span<char> piece, off_t offset);

// WriteWhole: every byte written to `descriptor`; false with errno when a write fails, or
// ENOSPC when one writes nothing.
bool WriteWhole(int descriptor, std::string_view bytes);

// TrimToNewest: the file at `path`, open as `descriptor` under the lock, of `size` bytes,
// cut to its newest kHistoryFileKeptLines once it has more than kHistoryFileMostLines: they
// are written to `trimmedPath` beside it, synced, and renamed over it, so that no reader
// sees half a file, and the copy is removed when a step fails. A symlink is never replaced,
// and a file too big to count or with lines that are not text is left as it is.
FileFault TrimToNewest(int descriptor, off_t size, const char* path, const char* trimmedPath,
                       std::span<char> piece);

}  // namespace intcalc
