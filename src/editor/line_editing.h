// Editing: keys applied to the line being edited and to the history of this session.
// Nothing here reads or writes: the state is all there is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/key_decoder.h"
#include "text/bounded_array.h"
#include "text/limits.h"

namespace intcalc {

// The width taken for a terminal that does not tell its own.
inline constexpr std::size_t kDefaultColumns = 80;

using EditLine = BoundedArray<char, kEditCapacity>;

// History: a ring of the latest lines of this session.
struct History {
  std::array<EditLine, kHistoryEntries> entries{};
  std::size_t next = 0;   // where the next line goes
  std::size_t count = 0;  // lines kept
};

// Snapshot: a line and where its cursor was, as an undo puts them back.
struct Snapshot {
  EditLine line;
  std::size_t cursor = 0;
};

// UndoList: a ring of the lines as they were before the latest changes; past kUndoSteps
// the oldest are forgotten.
struct UndoList {
  std::array<Snapshot, kUndoSteps> steps{};
  std::size_t next = 0;   // where the next snapshot goes
  std::size_t count = 0;  // snapshots kept
};

// Search: an incremental search back through the history, while one is under way.
struct Search {
  bool active = false;
  BoundedArray<char, kEditCapacity> text;  // what is searched for
  std::size_t age = 0;                     // the entry found, counted as historyAge counts
  Snapshot before;                         // the line as it was when the search began
  std::size_t ageBefore = 0;
};

// EditorState: everything the editor knows between keys.
struct EditorState {
  EditLine line;
  std::size_t capacity = kEditCapacity;   // the most bytes this line may hold
  std::size_t cursor = 0;                 // a byte index where a character begins
  std::size_t windowStart = 0;            // the first byte shown when the line scrolls
  std::size_t columns = kDefaultColumns;  // the terminal's width
  std::size_t cursorColumn = 0;           // where the last drawing left the cursor
  History history;
  std::size_t historyAge = 0;  // 0 for the line being typed, 1 for the newest entry...
  EditLine unsent;             // the line being typed, while the history is shown
  EditLine killed;             // what the latest erasures in a row took, for Ctrl-Y
  UndoList undo;               // the line's changes since it began or was recalled
  Search search;
  EditAction lastAction = EditAction::kNone;  // erasures in a row join; typing is one change
};

// What the editor's caller must do after a key.
enum class EditOutcome : std::uint8_t {
  kGoOn,
  kBell,         // the key could not be taken: the line is full, or no history is left
  kLineDone,     // Enter: the line is finished, and remembered
  kEndOfInput,   // Ctrl-D on an empty line
  kInterrupt,    // the interrupt key: the line is dropped; interrupt as the terminal would
  kQuit,         // the quit key: quit as the terminal would
  kSuspend,      // the suspend key: stop as the terminal would
  kClearScreen,  // Ctrl-L: clear the screen, then draw the line at its top
};

// StartLine: an empty line to edit, of at most `capacity` bytes (no more than
// kEditCapacity), the history kept.
void StartLine(EditorState& state, std::size_t capacity);

// Apply: what one key does to the line, the history and a search.
EditOutcome Apply(EditorState& state, const Key& key);

// BytesApplied: what the bytes of one read did to the line.
struct BytesApplied {
  std::size_t used = 0;  // bytes taken; those after a key that ends the line are not
  // kGoOn when every byte was taken; else what the key that stopped the taking asks for:
  // kLineDone, kEndOfInput, kInterrupt, kQuit or kSuspend.
  EditOutcome outcome = EditOutcome::kGoOn;
  bool changed = false;      // the line or the cursor may have changed: draw it again
  bool bell = false;         // a key could not be taken: ring the bell, once
  bool clearScreen = false;  // Ctrl-L: draw it on a cleared screen
};

// ApplyBytes: the keys of `bytes`, decoded by `decoder`, which keeps an unfinished key for
// the next bytes, applied in turn until one ends the line or must be acted on at once. A
// character of several code points that these bytes bring whole goes in whole or, with
// the bell, not at all.
BytesApplied ApplyBytes(EditorState& state, KeyDecoder& decoder, std::string_view bytes);

// ApplyKeys: the same for keys already decoded, such as those an Escape's wait expired.
BytesApplied ApplyKeys(EditorState& state, const Keys& keys);

}  // namespace intcalc
