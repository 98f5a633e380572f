#include "editor/history_search.h"

#include <algorithm>

#include "editor/characters.h"
#include "text/text_buffer.h"

namespace intcalc {

namespace {

// HistoryEntry: the line entered `age` lines ago, 1 the newest.
const EditLine& HistoryEntry(const History& history, std::size_t age) {
  return history.Newest(age - 1);
}

// Show: `line` as the line, cut to what this line may hold, the cursor at `cursor`, and
// nothing to undo: it is the line as it was recalled.
void Show(EditorState& state, const EditLine& line, std::size_t cursor) {
  state.line = line;
  state.line.Truncate(std::min(line.Size(), state.capacity));
  state.cursor = std::min(cursor, state.line.Size());
  state.undo.Clear();
}

// Find: from history entry `age` back, the first that holds the text searched for; shows
// it, the cursor where the text begins, or rings the bell.
EditOutcome Find(EditorState& state, std::size_t age) {
  Search& search = state.search;
  for (; age <= state.history.Size(); ++age) {
    const EditLine& entry = HistoryEntry(state.history, age);
    const std::size_t at = entry.View().rfind(search.text.View());
    if (at == std::string_view::npos) continue;
    search.age = age;
    Show(state, entry, at);
    return EditOutcome::kGoOn;
  }
  return EditOutcome::kBell;
}

// Leave: the search ends; the line found stays, as a recalled one does.
void Leave(EditorState& state) {
  state.search.active = false;
  if (state.search.age != state.historyAge) {
    if (state.historyAge == 0) state.unsent = state.search.before.line;
    state.historyAge = state.search.age;
  }
}

}  // namespace

void Remember(History& history, const EditLine& line) {
  if (line.IsEmpty()) return;
  if (!history.IsEmpty() && history.Newest().View() == line.View()) return;
  history.Put(line);
}

void Recall(EditorState& state, std::size_t age) {
  state.historyAge = age;
  const EditLine& shown = age == 0 ? state.unsent : HistoryEntry(state.history, age);
  Show(state, shown, shown.Size());
}

void BeginSearch(EditorState& state) {
  state.search = Search{true, {}, state.historyAge, {state.line, state.cursor}, state.historyAge};
}

bool ApplyWhileSearching(EditorState& state, const Key& key, EditOutcome& outcome) {
  Search& search = state.search;
  outcome = EditOutcome::kGoOn;
  switch (key.action) {
    case EditAction::kInsert:
      if (search.text.Size() + key.Character().size() > kEditCapacity) {
        outcome = EditOutcome::kBell;
        return true;
      }
      search.text.Append(key.Character());
      outcome = Find(state, std::max<std::size_t>(search.age, 1));
      if (outcome == EditOutcome::kBell)
        search.text.Truncate(search.text.Size() - key.Character().size());
      return true;
    case EditAction::kSearchBackward:
      outcome = Find(state, search.age + 1);
      return true;
    case EditAction::kErase:
      if (search.text.IsEmpty()) return true;
      search.text.Truncate(CharacterBefore(search.text.View(), search.text.Size()));
      if (search.text.IsEmpty() || Find(state, 1) == EditOutcome::kBell) {
        search.age = search.ageBefore;
        Show(state, search.before.line, search.before.cursor);
      }
      return true;
    case EditAction::kCancel:
      search.age = search.ageBefore;
      Show(state, search.before.line, search.before.cursor);
      Leave(state);
      return true;
    case EditAction::kEscape:
      Leave(state);
      return true;
    default:
      Leave(state);
      return false;
  }
}

}  // namespace intcalc
