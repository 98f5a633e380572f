#include "editor/typing.h"

#include <algorithm>

#include "editor/characters.h"
#include "text/text_buffer.h"

namespace intcalc {

BytesApplied ApplyKeys(EditorState& state, const Keys& keys) {
  BytesApplied applied;
  for (const Key& key : keys.Elements()) {
    const EditOutcome outcome = Apply(state, key);
    switch (outcome) {
      case EditOutcome::kGoOn:
        applied.changed = true;
        break;
      case EditOutcome::kBell:
        applied.bell = true;
        break;
      case EditOutcome::kClearScreen:
        applied.clearScreen = true;
        break;
      default:  // one the shell must act on at once
        applied.outcome = outcome;
        return applied;
    }
  }
  return applied;
}

namespace {

// Character: the code points of one character as a read brings them, held until the
// character is whole; one too long for any line is held no further.
struct Character {
  BoundedArray<char, kEditCapacity> bytes;
  bool tooLong = false;
  CharacterJoins joins;

  void Add(std::string_view codePoint) {
    if (codePoint.size() > bytes.Room()) tooLong = true;
    if (!tooLong) bytes.Append(codePoint);
  }
};

// Into: what `from` did, added to what the bytes before it did.
void Into(BytesApplied& applied, const BytesApplied& from) {
  applied.changed = applied.changed || from.changed;
  applied.bell = applied.bell || from.bell;
  applied.clearScreen = applied.clearScreen || from.clearScreen;
  applied.outcome = from.outcome;
}

// InsertWhole: the character held goes in whole, as one key, or with the bell not at all.
BytesApplied InsertWhole(EditorState& state, Character& character) {
  BytesApplied applied;
  if (character.bytes.IsEmpty() && !character.tooLong) return applied;
  if (character.tooLong || !Fits(state, character.bytes.Size())) {
    applied.bell = true;  // refused whole, with the bell, as a key past the line's end is
  } else {
    // One code point at a time, as typed: the line takes them all, as checked above.
    for (std::size_t at = 0; at < character.bytes.Size();) {
      const std::size_t length = SequenceLength(character.bytes[at]);
      const std::size_t taken = std::min(length, character.bytes.Size() - at);
      Key key{EditAction::kInsert, {}};
      key.character.Append(Part(character.bytes.View(), at, taken));
      applied.changed = Apply(state, key) == EditOutcome::kGoOn || applied.changed;
      at += taken;
    }
  }
  character.bytes.Clear();
  character.tooLong = false;
  return applied;
}

}  // namespace

BytesApplied ApplyBytes(EditorState& state, KeyDecoder& decoder, std::string_view bytes) {
  BytesApplied applied;
  Character held;
  for (const char byte : bytes) {
    ++applied.used;
    const Keys keys = decoder.Feed(byte);
    for (const Key& key : keys.Elements()) {
      const bool insert = key.action == EditAction::kInsert && !state.search.active;
      if (insert && held.joins.Continues(key.Character())) {
        held.Add(key.Character());
        continue;
      }
      Into(applied, InsertWhole(state, held));
      if (insert) {
        held.Add(key.Character());
        continue;
      }
      held = Character{};  // a key between code points ends any character
      Keys one;
      one.Push(key);
      Into(applied, ApplyKeys(state, one));
      if (applied.outcome != EditOutcome::kGoOn) return applied;
    }
  }
  Into(applied, InsertWhole(state, held));
  return applied;
}

}  // namespace intcalc
