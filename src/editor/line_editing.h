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
};

// What the editor's caller must do after a key.
enum class EditOutcome : std::uint8_t {
  kGoOn,
  kBell,         // the key could not be taken: the line is full, or no history is left
  kLineDone,     // Enter: the line is finished, and remembered
  kEndOfInput,   // Ctrl-D on an empty line
  kInterrupt,    // Ctrl-C: the line is dropped; interrupt as the terminal would
  kSuspend,      // Ctrl-Z: stop as the terminal would
  kClearScreen,  // Ctrl-L: clear the screen, then draw the line at its top
};

// StartLine: an empty line to edit, of at most `capacity` bytes (no more than
// kEditCapacity), the history kept.
void StartLine(EditorState& state, std::size_t capacity);

// Apply: what one key does to the line and the history.
EditOutcome Apply(EditorState& state, const Key& key);

// BytesApplied: what the bytes of one read did to the line.
struct BytesApplied {
  std::size_t used = 0;  // bytes taken; those after a key that ends the line are not
  // kGoOn when every byte was taken; else what the key that stopped the taking asks for:
  // kLineDone, kEndOfInput, kInterrupt or kSuspend.
  EditOutcome outcome = EditOutcome::kGoOn;
  bool changed = false;      // the line or the cursor may have changed: draw it again
  bool bell = false;         // a key could not be taken: ring the bell, once
  bool clearScreen = false;  // Ctrl-L: draw it on a cleared screen
};

// ApplyBytes: the keys of `bytes`, decoded by `decoder`, which keeps an unfinished key for
// the next bytes, applied in turn until one ends the line or must be acted on at once.
BytesApplied ApplyBytes(EditorState& state, KeyDecoder& decoder, std::string_view bytes);

// ApplyKeys: the same for keys already decoded, such as those an Escape's wait expired.
BytesApplied ApplyKeys(EditorState& state, const Keys& keys);

}  // namespace intcalc
