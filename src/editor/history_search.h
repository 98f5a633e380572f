// The history of this session, and the search back through it, as the editor's keys use
// them.
#pragma once

#include <cstddef>
#include <string_view>

#include "editor/line_editing.h"

namespace intcalc {

// Kept: whether a finished line is kept after `newest`: it is not empty, and not the same
// again.
inline bool Kept(std::string_view newest, const EditLine& line) {
  return !line.IsEmpty() && line.View() != newest;
}

// Remember: keeps a finished line for Up and Down, where Kept says so.
void Remember(History& history, const EditLine& line);

// Recall: shows history entry `age`, or for 0 the line that was being typed, as it was
// left if it was edited while this line is, with nothing to undo: it is the line as it
// was brought back. The line left is kept as it is, for when it is shown again.
void Recall(EditorState& state, std::size_t age);

// ForgetDrafts: the lines left while edited are dropped, as a new line begins.
void ForgetDrafts(EditorState& state);

// BeginSearch: a search back through the history, of nothing yet, from the line shown.
void BeginSearch(EditorState& state);

// ApplyWhileSearching: what a key does to a search under way: a character or Ctrl-R
// searches further back (Ctrl-R first, for what the latest search looked for), and when no
// entry holds the text the search is failing and the line found last stays; Backspace
// shortens what is searched for, Escape leaves the search and Ctrl-G leaves it with the
// line as it was; any other key leaves it and is to be applied as always: false for such
// a key.
bool ApplyWhileSearching(EditorState& state, const Key& key, EditOutcome& outcome);

}  // namespace intcalc
