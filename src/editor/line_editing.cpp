#include "editor/line_editing.h"

#include <algorithm>

#include "editor/characters.h"
#include "editor/history_search.h"
#include "text/text_buffer.h"

namespace intcalc {

namespace {

// Erase: removes the bytes from `first` up to `last`, where the cursor ends.
void Erase(EditorState& state, std::size_t first, std::size_t last) {
  state.line.Erase(first, last);
  state.cursor = first;
}

// Insert: text at the cursor, the cursor after it, or the bell when it would not fit.
EditOutcome Insert(EditorState& state, std::string_view text) {
  if (!Fits(state, text.size())) return EditOutcome::kBell;  // refused whole, with the bell
  state.line.Insert(state.cursor, text);
  state.cursor += text.size();
  return EditOutcome::kGoOn;
}

constexpr bool IsKill(EditAction action) {
  return action == EditAction::kKillToStart || action == EditAction::kKillToEnd ||
         action == EditAction::kKillToBlank || action == EditAction::kKillWordBefore ||
         action == EditAction::kKillWordAfter;
}

// Kill: erases the bytes from `first` up to `last` and keeps them for Ctrl-Y: after the
// text of the erasures just before it, or before it for one that erased backwards. A row
// of erasures takes from one line, which they only shorten, so what they keep fits.
void Kill(EditorState& state, std::size_t first, std::size_t last) {
  if (first == last) return;
  if (!IsKill(state.lastAction)) state.killed.Clear();
  const std::string_view taken = Part(state.line.View(), first, last - first);
  state.killed.Insert(last == state.cursor ? 0 : state.killed.Size(), taken);
  Erase(state, first, last);
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

// BlankStartBefore: back over the blanks before `index`, then over what lies between
// blanks: where Ctrl-W's word begins.
std::size_t BlankStartBefore(std::string_view text, std::size_t index) {
  while (index > 0 && text[index - 1] == kBlank)
    --index;
  while (index > 0 && text[index - 1] != kBlank)
    --index;
  return index;
}

// Transpose: the character before the cursor and the one under it swapped, or at the end
// of the line the last two; the cursor goes past both.
EditOutcome Transpose(EditorState& state) {
  const std::string_view text = state.line.View();
  const std::size_t second = state.cursor == text.size() && state.cursor > 0
                                 ? CharacterBefore(text, state.cursor)
                                 : state.cursor;
  if (second == 0 || second == text.size()) return EditOutcome::kBell;
  const std::size_t first = CharacterBefore(text, second);
  const std::size_t end = second + CharacterLength(text, second);
  BoundedArray<char, kEditCapacity> swapped;
  swapped.Append(Part(text, second, end - second));
  swapped.Append(Part(text, first, second - first));
  state.line.Erase(first, end);
  state.line.Insert(first, swapped.View());
  state.cursor = end;
  return EditOutcome::kGoOn;
}

// ---- Undo -----------------------------------------------------------------------------

constexpr bool IsChange(EditAction action) {
  switch (action) {
    case EditAction::kInsert:
    case EditAction::kDelete:
    case EditAction::kErase:
    case EditAction::kEndOfFile:
    case EditAction::kYank:
    case EditAction::kTranspose:
      return true;
    default:
      return IsKill(action);
  }
}

EditOutcome Undo(EditorState& state) {
  UndoList& undo = state.undo;
  if (undo.IsEmpty()) return EditOutcome::kBell;
  state.line = undo.Newest().line;
  state.cursor = undo.Newest().cursor;
  undo.TakeNewest();
  return EditOutcome::kGoOn;
}

// ---- One key --------------------------------------------------------------------------

// Change: what a key that may change the line does to it.
EditOutcome Change(EditorState& state, const Key& key) {
  const std::string_view text = state.line.View();
  const bool atStart = state.cursor == 0;
  const bool atEnd = state.cursor == text.size();
  switch (key.action) {
    case EditAction::kInsert:
      return Insert(state, key.Character());
    case EditAction::kEndOfFile:
    case EditAction::kDelete:
      if (!atEnd) Erase(state, state.cursor, state.cursor + CharacterLength(text, state.cursor));
      return EditOutcome::kGoOn;
    case EditAction::kErase:
      if (!atStart) Erase(state, CharacterBefore(text, state.cursor), state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillToStart:
      Kill(state, 0, state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillToEnd:
      Kill(state, state.cursor, text.size());
      return EditOutcome::kGoOn;
    case EditAction::kKillToBlank:
      Kill(state, BlankStartBefore(text, state.cursor), state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillWordBefore:
      Kill(state, WordStartBefore(text, state.cursor), state.cursor);
      return EditOutcome::kGoOn;
    case EditAction::kKillWordAfter:
      Kill(state, state.cursor, WordEndAfter(text, state.cursor));
      return EditOutcome::kGoOn;
    case EditAction::kYank:
      if (state.killed.IsEmpty()) return EditOutcome::kBell;
      return Insert(state, state.killed.View());
    case EditAction::kTranspose:
      return Transpose(state);
    default:
      return EditOutcome::kGoOn;
  }
}

// Command: what any other key does: it brings back another line, undoes, searches, ends
// the line, or asks the shell to act.
EditOutcome Command(EditorState& state, const Key& key) {
  switch (key.action) {
    case EditAction::kUp:
      if (state.historyAge == state.history.Size()) return EditOutcome::kBell;
      Recall(state, state.historyAge + 1);
      return EditOutcome::kGoOn;
    case EditAction::kDown:
      if (state.historyAge == 0) return EditOutcome::kBell;
      Recall(state, state.historyAge - 1);
      return EditOutcome::kGoOn;
    case EditAction::kUndo:
      return Undo(state);
    case EditAction::kSearchBackward:
      BeginSearch(state);
      return EditOutcome::kGoOn;
    case EditAction::kCancel:
      return EditOutcome::kBell;
    case EditAction::kEnter:
      state.cursor = state.line.Size();
      Remember(state.history, state.line);
      return EditOutcome::kLineDone;
    case EditAction::kInterrupt:
      return EditOutcome::kInterrupt;
    case EditAction::kQuit:
      return EditOutcome::kQuit;
    case EditAction::kSuspend:
      return EditOutcome::kSuspend;
    case EditAction::kClearScreen:
      return EditOutcome::kClearScreen;
    default:
      return EditOutcome::kGoOn;
  }
}

// Move: the cursor moved within the line as a moving key asks; false for any other key.
bool Move(EditorState& state, const Key& key) {
  const std::string_view text = state.line.View();
  switch (key.action) {
    case EditAction::kLeft:
      if (state.cursor > 0) state.cursor = CharacterBefore(text, state.cursor);
      return true;
    case EditAction::kRight:
      if (state.cursor < text.size()) state.cursor += CharacterLength(text, state.cursor);
      return true;
    case EditAction::kHome:
      state.cursor = 0;
      return true;
    case EditAction::kEnd:
      state.cursor = text.size();
      return true;
    case EditAction::kWordLeft:
      state.cursor = WordStartBefore(text, state.cursor);
      return true;
    case EditAction::kWordRight:
      state.cursor = WordEndAfter(text, state.cursor);
      return true;
    default:
      return false;
  }
}

}  // namespace

void StartLine(EditorState& state, std::size_t capacity) {
  state.line.Clear();
  state.capacity = std::min<std::size_t>(capacity, kEditCapacity);
  state.cursor = 0;
  state.windowStart = 0;
  state.cursorColumn = 0;
  state.historyAge = 0;
  ForgetDrafts(state);
  state.undo.Clear();
  state.search.active = false;
  state.lastAction = EditAction::kNone;
}

EditOutcome Apply(EditorState& state, const Key& key) {
  EditOutcome outcome = EditOutcome::kGoOn;
  if (state.search.active && ApplyWhileSearching(state, key, outcome)) {
    state.lastAction = key.action;
    return outcome;
  }
  if (key.action == EditAction::kEndOfFile && state.line.IsEmpty()) {
    return EditOutcome::kEndOfInput;
  }
  if (IsChange(key.action)) {
    // Typing in a row is one change to undo, as each erasure is.
    const Snapshot before{state.line, state.cursor};
    outcome = Change(state, key);
    const bool typing = key.action == EditAction::kInsert && state.lastAction == key.action;
    if (!typing && state.line.View() != before.line.View()) state.undo.Put(before);
  } else if (!Move(state, key)) {
    outcome = Command(state, key);
  }
  if (key.action != EditAction::kInterrupt) state.lastAction = key.action;
  return outcome;
}

}  // namespace intcalc
