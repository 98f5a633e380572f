// Key decoding: the bytes a terminal sends for keys, turned into what each key asks for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/characters.h"
#include "text/bounded_array.h"

namespace intcalc {

// What a key asks the editor to do.
enum class EditAction : std::uint8_t {
  kNone,
  kInsert,  // the key's character
  kLeft,
  kRight,
  kHome,
  kEnd,
  kUp,
  kDown,
  kDelete,       // the character under the cursor
  kErase,        // the character before the cursor
  kKillToStart,  // from the start of the line to the cursor
  kKillToEnd,
  kKillToBlank,     // back to the previous blank: the word before the cursor, blanks after it
  kWordLeft,        // to the start of the word before the cursor
  kWordRight,       // past the end of the word after the cursor
  kKillWordBefore,  // from the start of the word before the cursor to the cursor
  kKillWordAfter,   // from the cursor past the end of the word after it
  kYank,            // the text the latest erasures took, inserted again
  kUndo,            // the line as it was before the latest change
  kTranspose,       // the character before the cursor and the one under it swapped
  kSearchBackward,  // an incremental search back through the history
  kCancel,          // Ctrl-G: a search left, the line as it was
  kEscape,          // Escape alone: a search left, the line found kept
  kEnter,
  kEndOfFile,  // Ctrl-D: the end of input on an empty line, else kDelete
  kInterrupt,  // the terminal's interrupt key
  kQuit,       // the terminal's quit key
  kSuspend,    // the terminal's suspend key
  kClearScreen,
};
inline constexpr std::size_t kEditActions = static_cast<std::size_t>(EditAction::kClearScreen) + 1;

// TerminalKeys: the keys the terminal's settings name, which win over the editor's own
// where they are the same; kNoKey for a key the settings disable, or for the signal keys
// when the terminal sends no signals.
struct TerminalKeys {
  static constexpr int kNoKey = -1;
  int interrupt = '\x03';  // Ctrl-C
  int quit = '\x1c';       // Ctrl-backslash
  int suspend = '\x1a';    // Ctrl-Z
  int erase = '\x7f';      // what Backspace sends
  int eraseWord = '\x17';  // Ctrl-W
  int kill = '\x15';       // Ctrl-U: the line before the cursor
  int endOfFile = '\x04';  // Ctrl-D
};

struct Key {
  EditAction action = EditAction::kNone;
  BoundedArray<char, kLongestCodePoint> character;  // the code point, for kInsert

  std::string_view Character() const { return character.View(); }
};

// Keys: the keys one byte completes. Every key the terminal sends is one, kNone for one
// that asks the editor nothing. A byte that breaks off an unfinished code point ends each
// of its bytes as a character of its own, so one byte may complete several keys.
using Keys = BoundedArray<Key, kLongestCodePoint>;

// KeyDecoder: the state between the bytes of one key.
class KeyDecoder {
 public:
  explicit KeyDecoder(const TerminalKeys& terminalKeys = {}) : terminalKeys_(terminalKeys) {}

  // Feed: one byte as the terminal sent it.
  Keys Feed(char byte);

  // Unfinished: whether the bytes so far begin a key that more bytes must finish: after
  // Escape, the rest of a sequence; after a UTF-8 lead byte, the rest of the code point.
  bool Unfinished() const { return pending_ != 0; }

  // Expire: no more bytes came in time. An Escape alone is the Escape key, a sequence cut
  // short a key that asks nothing, and the bytes of an unfinished code point are
  // characters of their own.
  Keys Expire();

 private:
  Keys FeedSequence(char byte);
  Keys FeedAltCodePoint(char byte);
  Keys FeedCodePoint(char byte);
  EditAction ControlAction(char byte) const;

  TerminalKeys terminalKeys_;
  // An unfinished code point, or sequence, which may be Escape and a code point (Alt).
  std::array<char, 1 + kLongestCodePoint> bytes_{};
  std::size_t pending_ = 0;            // bytes of it so far
  std::array<unsigned, 2> numbers_{};  // a sequence's first two number parameters
  std::size_t parameters_ = 0;         // a sequence's parameter bytes so far
  std::size_t separators_ = 0;         // the semicolons among them
};

}  // namespace intcalc
