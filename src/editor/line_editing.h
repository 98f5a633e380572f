// Editing: keys applied to the line being edited and to the history of this session.
// Nothing here reads or writes: the state is all there is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/key_decoder.h"
#include "text/bounded_array.h"
#include "text/bounded_ring.h"
#include "text/limits.h"

namespace intcalc {

using EditLine = BoundedArray<char, kEditCapacity>;

// History: the latest lines entered, newest first.
using History = BoundedRing<EditLine, kHistoryEntries>;

// Snapshot: a line and where its cursor was, as an undo puts them back.
struct Snapshot {
  EditLine line;
  std::size_t cursor = 0;
};

// UndoList: the lines as they were before the latest changes; past kUndoSteps the oldest
// are forgotten.
using UndoList = BoundedRing<Snapshot, kUndoSteps>;

// Search: an incremental search back through the history, while one is under way.
struct Search {
  bool active = false;
  bool failing = false;  // no entry holds the text: the line found last stays
  EditLine text;         // what is searched for
  std::size_t age = 0;   // the entry found, counted as historyAge counts
  Snapshot before;       // the line as it was when the search began
  std::size_t ageBefore = 0;
};

// Drafts: each line of the history as edited while this line is edited, by age, 0 the
// line being typed; they are dropped when the line ends, and the history keeps the lines
// as they were entered.
struct Drafts {
  std::array<EditLine, kHistoryEntries + 1> lines{};
  std::array<bool, kHistoryEntries + 1> kept{};
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
  Drafts drafts;               // the lines left while they were edited
  EditLine killed;             // what the latest erasures in a row took, for Ctrl-Y
  UndoList undo;               // the line's changes since it began or was recalled
  Search search;
  EditLine lastSearch;  // what the latest search looked for, which Ctrl-R Ctrl-R looks for
  EditAction lastAction = EditAction::kNone;  // erasures in a row join; typing is one change
};

// What the editor's caller must do after a key.
enum class EditOutcome : std::uint8_t {
  kGoOn,
  kBell,         // the key could not be taken: the line is full, or no history is left
  kLineDone,     // Enter: the line is finished, and remembered
  kEndOfInput,   // Ctrl-D on an empty line
  kInterrupt,    // the interrupt key: interrupt as the terminal would, then drop the line
  kQuit,         // the quit key: quit as the terminal would
  kSuspend,      // the suspend key: stop as the terminal would
  kClearScreen,  // Ctrl-L: clear the screen, then draw the line at its top
};

// StartLine: an empty line to edit, of at most `capacity` bytes (no more than
// kEditCapacity), the history kept.
void StartLine(EditorState& state, std::size_t capacity);

// Fits: whether `bytes` more fit the line: the one test of a line's room.
inline bool Fits(const EditorState& state, std::size_t bytes) {
  return state.line.Size() + bytes <= state.capacity;
}

// Apply: what one key does to the line, the history and a search.
EditOutcome Apply(EditorState& state, const Key& key);

}  // namespace intcalc
