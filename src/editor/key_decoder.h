// Key decoding: the bytes a terminal sends for keys, turned into what each key asks for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/characters.h"

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
  kKillWord,  // the word before the cursor, with the blanks after it
  kEnter,
  kEndOfFile,  // Ctrl-D: the end of input on an empty line, else kDelete
  kInterrupt,
  kSuspend,
  kClearScreen,
};

struct Key {
  EditAction action = EditAction::kNone;
  std::array<char, kLongestCharacter> bytes{};  // the character, for kInsert
  std::size_t length = 0;

  std::string_view Character() const { return {bytes.data(), length}; }
};

// Keys: the keys one byte completes. A byte that breaks off an unfinished character ends
// each of its bytes as a character of its own, so one byte may complete several keys.
struct Keys {
  std::array<Key, kLongestCharacter> keys{};
  std::size_t count = 0;

  void Add(const Key& key) { keys[count++] = key; }
};

// KeyDecoder: the state between the bytes of one key.
class KeyDecoder {
 public:
  // Feed: one byte as the terminal sent it.
  Keys Feed(char byte);

  // Unfinished: whether the bytes so far begin a key that more bytes must finish: after
  // Escape, the rest of a sequence; after a UTF-8 lead byte, the rest of the character.
  bool Unfinished() const { return pending_ != 0; }

  // Expire: no more bytes came in time. An Escape alone, or a sequence cut short, asks for
  // nothing; the bytes of an unfinished character are characters of their own.
  Keys Expire();

 private:
  Keys FeedSequence(char byte);
  Keys FeedCharacter(char byte);

  std::array<char, kLongestCharacter> bytes_{};  // an unfinished character, or sequence
  std::size_t pending_ = 0;                      // bytes of it so far
  unsigned number_ = 0;                          // a sequence's number parameter
  std::size_t parameters_ = 0;                   // a sequence's parameter bytes so far
};

}  // namespace intcalc
