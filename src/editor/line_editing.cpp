#include "editor/line_editing.h"

#include <algorithm>
#include <cstring>

#include "editor/characters.h"
#include "text/text_buffer.h"

namespace intcalc {

namespace {

// Erase: removes the bytes from `first` up to `last`, where the cursor ends.
void Erase(EditorState& state, std::size_t first, std::size_t last) {
  state.line.Erase(first, last);
  state.cursor = first;
}

EditOutcome Insert(EditorState& state, std::string_view character) {
  if (state.line.Size() + character.size() > state.capacity) return EditOutcome::kBell;
  state.line.Insert(state.cursor, character);
  state.cursor += character.size();
  return EditOutcome::kGoOn;
}

// WordStartBefore: where the word before `index` begins: back over what separates words,
// then over the word.
std::size_t WordStartBefore(std::string_view text, std::size_t index) {
  while (index > 0 && !IsWordCharacter(text, CharacterBefore(text, index))) {
    index = CharacterBefore(text, index);
  }
  while (index > 0 && IsWordCharacter(text, CharacterBefore(text, index))) {
    index = CharacterBefore(text, index);
  }
  return index;
}

// WordEndAfter: where the word after `index` ends: on over what separates words, then
// over the word.
std::size_t WordEndAfter(std::string_view text, std::size_t index) {
  while (index < text.size() && !IsWordCharacter(text, index)) {
    index += CharacterLength(text, index);
  }
  while (index < text.size() && IsWordCharacter(text, index)) {
    index += CharacterLength(text, index);
  }
  return index;
}

// KillToBlank: the word before the cursor and the blanks between it and the cursor, where
// a word is whatever lies between blanks.
void KillToBlank(EditorState& state) {
  const std::string_view text = state.line.View();
  std::size_t first = state.cursor;
  while (first > 0 && text[first - 1] == kBlank)
    --first;
  while (first > 0 && text[first - 1] != kBlank)
    --first;
  Erase(state, first, state.cursor);
}

const EditLine& HistoryEntry(const History& history, std::size_t age) {
  return history.entries[(history.next + kHistoryEntries - age) % kHistoryEntries];
}

// Remember: keeps a finished line for Up and Down, unless it is empty or the same as the
// newest entry.
void Remember(History& history, const EditLine& line) {
  if (line.IsEmpty()) return;
  if (history.count > 0 && HistoryEntry(history, 1).View() == line.View()) return;
  history.entries[history.next] = line;
  history.next = (history.next + 1) % kHistoryEntries;
  history.count = std::min(history.count + 1, kHistoryEntries);
}

// Recall: shows history entry `age`, or for 0 the line that was being typed, cut to what
// this line may hold.
void Recall(EditorState& state, std::size_t age) {
  state.historyAge = age;
  const EditLine& shown = age == 0 ? state.unsent : HistoryEntry(state.history, age);
  state.line = shown;
  state.line.Truncate(std::min(shown.Size(), state.capacity));
  state.cursor = state.line.Size();
}

}  // namespace

void StartLine(EditorState& state, std::size_t capacity) {
  state.line.Clear();
  state.capacity = std::min<std::size_t>(capacity, kEditCapacity);
  state.cursor = 0;
  state.windowStart = 0;
  state.cursorColumn = 0;
  state.historyAge = 0;
}

EditOutcome Apply(EditorState& state, const Key& key) {
  const std::string_view text = state.line.View();
  const bool atStart = state.cursor == 0;
  const bool atEnd = state.cursor == state.line.Size();
  switch (key.action) {
    case EditAction::kInsert:
      return Insert(state, key.Character());
    case EditAction::kLeft:
      if (!atStart) state.cursor = CharacterBefore(text, state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kRight:
      if (!atEnd) state.cursor += CharacterLength(text, state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kHome:
      state.cursor = 0;
      return EditOutcome::kGoOn;
    case EditAction::kEnd:
      state.cursor = state.line.Size();
      return EditOutcome::kGoOn;
    case EditAction::kEndOfFile:
      if (state.line.IsEmpty()) return EditOutcome::kEndOfInput;
      [[fallthrough]];
    case EditAction::kDelete:
      if (!atEnd) Erase(state, state.cursor, state.cursor + CharacterLength(text, state.cursor));
      return EditOutcome::kGoOn;
    case EditAction::kErase:
      if (!atStart) Erase(state, CharacterBefore(text, state.cursor), state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillToStart:
      Erase(state, 0, state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillToEnd:
      state.line.Truncate(state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillToBlank:
      KillToBlank(state);
      return EditOutcome::kGoOn;
    case EditAction::kWordLeft:
      state.cursor = WordStartBefore(text, state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kWordRight:
      state.cursor = WordEndAfter(text, state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillWordBefore:
      Erase(state, WordStartBefore(text, state.cursor), state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillWordAfter:
      Erase(state, state.cursor, WordEndAfter(text, state.cursor));
      return EditOutcome::kGoOn;
    case EditAction::kUp:
      if (state.historyAge == state.history.count) return EditOutcome::kBell;
      if (state.historyAge == 0) state.unsent = state.line;
      Recall(state, state.historyAge + 1);
      return EditOutcome::kGoOn;
    case EditAction::kDown:
      if (state.historyAge == 0) return EditOutcome::kBell;
      Recall(state, state.historyAge - 1);
      return EditOutcome::kGoOn;
    case EditAction::kEnter:
      state.cursor = state.line.Size();
      Remember(state.history, state.line);
      return EditOutcome::kLineDone;
    case EditAction::kInterrupt:
      StartLine(state, state.capacity);  // the line is dropped, as the terminal's own would
      return EditOutcome::kInterrupt;
    case EditAction::kSuspend:
      return EditOutcome::kSuspend;
    case EditAction::kClearScreen:
      return EditOutcome::kClearScreen;
    case EditAction::kNone:
      break;
  }
  return EditOutcome::kGoOn;
}

BytesApplied ApplyKeys(EditorState& state, const Keys& keys) {
  BytesApplied applied;
  for (const Key& key : keys.Elements()) {
    switch (Apply(state, key)) {
      case EditOutcome::kGoOn:
        applied.changed = true;
        break;
      case EditOutcome::kBell:
        applied.bell = true;
        break;
      case EditOutcome::kClearScreen:
        applied.clearScreen = true;
        break;
      case EditOutcome::kLineDone:
        applied.outcome = EditOutcome::kLineDone;
        return applied;
      case EditOutcome::kEndOfInput:
        applied.outcome = EditOutcome::kEndOfInput;
        return applied;
      case EditOutcome::kInterrupt:
        applied.outcome = EditOutcome::kInterrupt;
        applied.changed = true;
        return applied;
      case EditOutcome::kSuspend:
        applied.outcome = EditOutcome::kSuspend;
        return applied;
    }
  }
  return applied;
}

BytesApplied ApplyBytes(EditorState& state, KeyDecoder& decoder, std::string_view bytes) {
  BytesApplied applied;
  for (const char byte : bytes) {
    const BytesApplied keys = ApplyKeys(state, decoder.Feed(byte));
    ++applied.used;
    applied.changed = applied.changed || keys.changed;
    applied.bell = applied.bell || keys.bell;
    applied.clearScreen = applied.clearScreen || keys.clearScreen;
    if (keys.outcome != EditOutcome::kGoOn) {
      applied.outcome = keys.outcome;
      return applied;
    }
  }
  return applied;
}

}  // namespace intcalc
