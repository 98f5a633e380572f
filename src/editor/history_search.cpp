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

// KeepDraft: the line shown at `age`, as it is, for when that age is shown again.
void KeepDraft(EditorState& state, std::size_t age, const EditLine& line) {
  state.drafts.lines[age] = line;
  state.drafts.kept[age] = true;
}

// Leave: the search ends; the line found stays, as a recalled one does.
void Leave(EditorState& state) {
  Search& search = state.search;
  search.active = false;
  if (!search.text.IsEmpty()) state.lastSearch = search.text;
  if (search.age != state.historyAge) {
    KeepDraft(state, state.historyAge, search.before.line);
    state.historyAge = search.age;
  }
}

// SearchFurther: the text searched for with what the key adds, from entry `age` back; the
// line found last stays when none holds it, and the search is failing.
EditOutcome SearchFurther(EditorState& state, std::size_t age) {
  Search& search = state.search;
  search.failing = search.failing || Find(state, age) == EditOutcome::kBell;
  return search.failing ? EditOutcome::kBell : EditOutcome::kGoOn;
}

}  // namespace

void Remember(History& history, const EditLine& line) {
  if (Kept(history.IsEmpty() ? std::string_view{} : history.Newest().View(), line)) {
    history.Put(line);
  }
}

void Recall(EditorState& state, std::size_t age) {
  KeepDraft(state, state.historyAge, state.line);
  state.historyAge = age;
  const EditLine& shown =
      state.drafts.kept[age] ? state.drafts.lines[age] : HistoryEntry(state.history, age);
  Show(state, shown, shown.Size());
}

void ForgetDrafts(EditorState& state) {
  state.drafts.kept.fill(false);
}

void BeginSearch(EditorState& state) {
  state.search =
      Search{true, false, {}, state.historyAge, {state.line, state.cursor}, state.historyAge};
}

bool ApplyWhileSearching(EditorState& state, const Key& key, EditOutcome& outcome) {
  Search& search = state.search;
  outcome = EditOutcome::kGoOn;
  switch (key.action) {
    case EditAction::kInsert:
      if (key.Character().size() > search.text.Room()) {
        outcome = EditOutcome::kBell;  // refused whole, as a key past a full line is
        return true;
      }
      search.text.Append(key.Character());
      outcome = SearchFurther(state, std::max<std::size_t>(search.age, 1));
      return true;
    case EditAction::kSearchBackward: {
      const bool again = search.text.IsEmpty();  // Ctrl-R Ctrl-R: the latest search again
      if (again) search.text = state.lastSearch;
      if (search.text.IsEmpty()) return true;
      outcome = SearchFurther(state, again ? std::max<std::size_t>(search.age, 1) : search.age + 1);
      return true;
    }
    case EditAction::kErase:
      if (search.text.IsEmpty()) return true;
      search.text.Truncate(CharacterBefore(search.text.View(), search.text.Size()));
      search.failing = false;
      if (search.text.IsEmpty()) {
        search.age = search.ageBefore;
        Show(state, search.before.line, search.before.cursor);
      } else {
        outcome = SearchFurther(state, 1);
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
