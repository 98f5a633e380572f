// Where the file is: INTCALC_HISTORY when it is set (none when it is empty), else
// $XDG_STATE_HOME/intcalc/history when XDG_STATE_HOME is an absolute path, as the XDG rules
// ask, else $HOME/.local/state/intcalc/history; without HOME, no file.
//
// Every descriptor is opened so that it never waits and never becomes the controlling
// terminal, and is checked by fstat before it is read or written: a FIFO, a device or a
// directory in the file's place is never read nor written, and nothing waits on it. A
// path that names something else than a regular file is not opened to write at all.
//
// What this file cannot check: that every program that writes the file takes the lock
// (other sessions of intcalc do), and that the file system honours flock (a network one
// may not).
#include "console/history_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <numeric>

#include "console/history_lines.h"
#include "console/platform.h"
#include "console/system_calls.h"
#include "editor/history_search.h"

namespace intcalc {

namespace {

constexpr std::string_view kFileInState = "/intcalc/history";
constexpr std::string_view kStateInHome = "/.local/state";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kTrimmedSuffix = ".new";
constexpr std::size_t kLongestSuffix = kLockSuffix.size();

// The words of the faults the system has no reason for, beside those of history_lines.h.
constexpr std::string_view kNotRegular = "not a regular file";
constexpr std::string_view kBusy = "locked by another session: no more lines are added";

constexpr mode_t kPrivateFolder = S_IRWXU;  // 0700, as the file is private

// The wait for the lock, which another session holds while it appends a line or trims: a
// trim's sync may take a while on a busy disk, but no session hangs on another.
constexpr int kLockTries = 20;
constexpr long kLockPauseNanoseconds = 25'000'000;  // 25 ms: half a second in all

// Join: the parts, one after another, and a NUL, as `path`; false, and `path` empty, when
// they do not fit with `spare` bytes more.
bool Join(PathName& path, std::initializer_list<std::string_view> parts, std::size_t spare = 0) {
  path.Clear();
  const std::size_t length =
      std::accumulate(parts.begin(), parts.end(), 1 + spare,
                      [](std::size_t sum, std::string_view part) { return sum + part.size(); });
  if (length > PathName::Capacity()) return false;
  for (const std::string_view part : parts)
    path.Append(part);
  path.Push('\0');
  return true;
}

// Name: the path, NUL-ended, as the system takes it.
const char* Name(const PathName& path) {
  return path.View().data();
}

// Named: the path without its NUL, as a message names it.
std::string_view Named(const PathName& path) {
  return path.View().substr(0, path.IsEmpty() ? 0 : path.Size() - 1);
}

// Found: the fault kept, unless one was found before; false, for the caller to return.
bool Found(HistoryFile& file, const FileFault& fault) {
  if (!file.fault.Found()) file.fault = fault;
  return false;
}
bool Found(HistoryFile& file, SystemError error) {
  return Found(file, FileFault{error, {}});
}
bool Found(HistoryFile& file, std::string_view words) {
  return Found(file, FileFault{0, words});
}

// Tell: the fault on standard error, once: "intcalc: history: PATH: REASON".
void Tell(HistoryFile& file, Output& output) {
  const FileFault& fault = file.fault;
  if (!fault.Found() || file.faultTold) return;
  file.faultTold = true;
  const std::string_view reason = fault.error != 0 ? SystemReason(fault.error, {}) : fault.words;
  if (file.path.IsEmpty()) {
    (void)output.WriteMessage({"history: ", reason});
  } else {
    (void)output.WriteMessage({"history: ", Named(file.path), ": ", reason});
  }
}

// FindPath: the file's path into file.path, with room for a suffix after it; false for no
// file, with the fault when the path is too long.
bool FindPath(HistoryFile& file) {
  const char* named = std::getenv("INTCALC_HISTORY");
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  bool fits = true;
  if (named != nullptr) {
    if (*named == '\0') return false;
    fits = Join(file.path, {named}, kLongestSuffix);
  } else if (state != nullptr && *state == '/') {
    fits = Join(file.path, {state, kFileInState}, kLongestSuffix);
  } else if (home != nullptr && *home != '\0') {
    fits = Join(file.path, {home, kStateInHome, kFileInState}, kLongestSuffix);
  } else {
    return false;
  }
  return fits || Found(file, ENAMETOOLONG);
}

// RememberLines: each line of `lines` the editor could have entered, oldest first, as the
// editor remembers a line; whether every line was one.
bool RememberLines(History& history, std::string_view lines) {
  bool allText = true;
  EditLine entry;
  while (!lines.empty()) {
    const std::size_t end = std::min(lines.find('\n'), lines.size());
    const std::string_view line = lines.substr(0, end);
    lines.remove_prefix(std::min(end + 1, lines.size()));
    if (!IsHistoryLine(line)) {
      allText = false;
      continue;
    }
    entry.Assign(line);
    Remember(history, entry);
  }
  return allText;
}

// ReadNewest: the newest lines of the file open as `descriptor` into `history`, as many as
// its end read holds; whether it is to be appended to: a regular file, small enough to be
// one the editor wrote, whose lines read are all text.
bool ReadNewest(HistoryFile& file, int descriptor, History& history) {
  struct stat status {};
  if (Calls().fileStatus(descriptor, &status) != 0) return Found(file, errno);
  if (!S_ISREG(status.st_mode)) return Found(file, kNotRegular);
  const off_t start = std::max<off_t>(0, status.st_size - off_t{kHistoryFileTail});
  const ssize_t count = ReadPiece(descriptor, file.piece, start);
  if (count < 0) return Found(file, errno);
  std::string_view tail(file.piece.data(), static_cast<std::size_t>(count));
  if (start > 0) {  // the first line read is whole only after an LF
    const std::size_t end = tail.find('\n');
    tail.remove_prefix(end == std::string_view::npos ? tail.size() : end + 1);
  }
  const bool allText = RememberLines(history, tail);
  if (!history.IsEmpty()) file.newest = history.Newest();
  if (!allText) return Found(file, kNotText);
  return status.st_size <= off_t{kHistoryFileCountable} || Found(file, kTooBig);
}

// MakeDirectories: each directory on the way to the file that is missing, made private.
bool MakeDirectories(HistoryFile& file) {
  const std::string_view path = Named(file.path);
  for (std::size_t slash = path.find('/', 1); slash != std::string_view::npos;
       slash = path.find('/', slash + 1)) {
    (void)Join(file.sidePath, {path.substr(0, slash)});  // shorter than the path
    if (Calls().makeDirectory(Name(file.sidePath), kPrivateFolder) != 0 && errno != EEXIST) {
      return Found(file, errno);
    }
  }
  return true;
}

// ReadyToOpen: what is in the file's place, before it is opened to write: a regular file,
// or nothing yet, its directories made.
bool ReadyToOpen(HistoryFile& file) {
  struct stat status {};
  if (Calls().pathStatus(Name(file.path), &status, 0) == 0) {
    return S_ISREG(status.st_mode) || Found(file, kNotRegular);
  }
  return errno == ENOENT ? MakeDirectories(file) : Found(file, errno);
}

// Lock: the lock on `descriptor` taken within kLockTries; 0, or why not: EWOULDBLOCK when
// another session kept it all that time.
SystemError Lock(int descriptor) {
  const timespec pause{0, kLockPauseNanoseconds};
  for (int tries = 1;; ++tries) {
    if (Calls().lock(descriptor, LOCK_EX | LOCK_NB) == 0) return 0;
    if ((errno != EWOULDBLOCK && errno != EINTR) || tries == kLockTries) return errno;
    (void)Calls().ppoll(nullptr, 0, &pause, nullptr);
  }
}

// Trim: the trim, when it is due; false after a fault.
bool Trim(HistoryFile& file, int descriptor, off_t size) {
  (void)Join(file.sidePath, {Named(file.path), kTrimmedSuffix});  // the path left room
  const FileFault fault =
      TrimToNewest(descriptor, size, Name(file.path), Name(file.sidePath), file.piece);
  return !fault.Found() || Found(file, fault);
}

// AppendTo: `line` and its LF at the end of the file open as `descriptor`, after an LF when
// its last line has none; a write that fails is taken back. Then the trim, when it is due.
bool AppendTo(HistoryFile& file, int descriptor, std::string_view line) {
  struct stat status {};
  if (Calls().fileStatus(descriptor, &status) != 0) return Found(file, errno);
  if (!S_ISREG(status.st_mode)) return Found(file, kNotRegular);
  char last = '\n';
  if (status.st_size > 0 && ReadPiece(descriptor, {&last, 1}, status.st_size - 1) < 0) {
    return Found(file, errno);
  }
  BoundedArray<char, kHistoryFileLine + 1> record;
  if (last != '\n') record.Push('\n');
  record.Append(line);
  record.Push('\n');
  if (!WriteWhole(descriptor, record.View())) {
    const SystemError error = errno;
    (void)Calls().truncate(descriptor, status.st_size);
    return Found(file, error);
  }
  return Trim(file, descriptor, status.st_size + static_cast<off_t>(record.Size()));
}

// Append: `line` appended under the lock, the file opened afresh, so that a trim by another
// session is never written past.
bool Append(HistoryFile& file, std::string_view line) {
  if (!ReadyToOpen(file)) return false;
  (void)Join(file.sidePath, {Named(file.path), kLockSuffix});  // the path left room
  const int lock =
      Calls().open(Name(file.sidePath), O_RDONLY | O_CREAT | kNeverWaits, kPrivateFile);
  if (lock < 0) return Found(file, errno);
  bool appended = false;
  if (const SystemError error = Lock(lock); error != 0) {
    (void)(error == EWOULDBLOCK ? Found(file, kBusy) : Found(file, error));
  } else if (const int descriptor = Calls().open(
                 Name(file.path), O_RDWR | O_APPEND | O_CREAT | kNeverWaits, kPrivateFile);
             descriptor < 0) {
    (void)Found(file, errno);
  } else {
    appended = AppendTo(file, descriptor, line);
    (void)Calls().close(descriptor);
  }
  (void)Calls().close(lock);  // the lock goes with it
  return appended;
}

}  // namespace

void LoadHistoryFile(HistoryFile& file, History& history, Output& output) {
  if (file.use != HistoryUse::kUnread) return;
  file.use = HistoryUse::kNone;
  if (FindPath(file)) {
    const int descriptor = Calls().open(Name(file.path), O_RDONLY | kNeverWaits, 0);
    if (descriptor >= 0) {
      if (ReadNewest(file, descriptor, history)) file.use = HistoryUse::kAppend;
      (void)Calls().close(descriptor);
    } else if (errno == ENOENT) {
      file.use = HistoryUse::kAppend;  // made by the first line kept
    } else {
      (void)Found(file, errno);
    }
  }
  Tell(file, output);
}

void KeepInHistoryFile(HistoryFile& file, const EditLine& line) {
  if (file.use != HistoryUse::kAppend) return;
  if (!Kept(file.newest.View(), line)) return;  // the rule of the history in memory
  file.newest = line;
  if (!Append(file, line.View())) file.use = HistoryUse::kNone;
}

void TellHistoryFault(HistoryFile& file, Output& output) {
  if (!file.fault.Found() || file.faultTold) return;
  output.Flush();  // all that shows before it
  Tell(file, output);
}

}  // namespace intcalc
