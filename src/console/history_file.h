// The history kept in a file across runs, for the line editor at a terminal: its newest
// lines fill the history as the first line is edited, and each line the history keeps is
// appended at once, to the file opened afresh, under a lock on a file beside it that every
// session takes, so that sessions ending in any order lose none of each other's lines.
// Past kHistoryFileMostLines lines the session that appends trims it to its newest
// kHistoryFileKeptLines. A file that cannot be used leaves the session as it would be
// without one, is left as it is, and costs one warning: before the first prompt, or as the
// session ends. POSIX only.
#pragma once

#include <array>
#include <cstdint>

#include "console/history_lines.h"
#include "console/output.h"
#include "editor/line_editing.h"
#include "text/bounded_array.h"
#include "text/limits.h"

namespace intcalc {

enum class HistoryUse : std::uint8_t {
  kUnread,  // no line has been edited yet
  kAppend,  // each line the history keeps is appended
  kNone,    // no file is named, or it is left alone after a fault
};

// PathName: a path and the NUL after it, as the system takes it.
using PathName = BoundedArray<char, kHistoryPathCapacity>;

// HistoryFile: the file's path and what working with it needs, for the whole run.
struct HistoryFile {
  PathName path;
  PathName sidePath;                           // beside it: its lock, its trimmed copy
  std::array<char, kHistoryFileTail> piece{};  // its end, as read; then each piece moved
  EditLine newest;                             // the newest line in it, for the next
  FileFault fault;                             // the first met in this run
  bool faultTold = false;
  HistoryUse use = HistoryUse::kUnread;
};

// LoadHistoryFile: once, before the first line is edited: the file's newest lines into
// `history`, oldest first, as the editor remembers lines; a fault is told at once, before
// the output kept (the prompt) is written out.
void LoadHistoryFile(HistoryFile& file, History& history, Output& output);

// KeepInHistoryFile: `line`, just handed over, appended to the file when the history keeps
// it: when it is not empty and not the newest line again.
void KeepInHistoryFile(HistoryFile& file, const EditLine& line);

// TellHistoryFault: a fault met since the file was read, told once, after the output kept
// is written out: for the session's end, when no row is being edited.
void TellHistoryFault(HistoryFile& file, Output& output);

}  // namespace intcalc
