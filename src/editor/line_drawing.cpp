#include "editor/line_drawing.h"

#include "editor/characters.h"
#include "text/text_buffer.h"

namespace intcalc {

namespace {

// PutMove: ESC [ count final, for a count above zero.
void PutMove(Drawing& drawing, std::size_t count, char final) {
  drawing.Append(kControlIntroducer);
  drawing.Append(Decimal<std::size_t>(std::min(count, kMostColumns)).View());
  drawing.Push(final);
}

// PutPromptLine: the prompt, on a line of its own.
void PutPromptLine(Drawing& drawing, std::string_view prompt) {
  drawing.Append(prompt);
  drawing.Append(std::string_view(kLineEnd));
}

// PutShown: as much of text as fits in `width` columns, whole characters; returns the
// columns it took.
std::size_t PutShown(Drawing& drawing, std::string_view text, std::size_t width) {
  std::size_t shown = 0;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t characterColumns = CharacterColumns(text, end);
    if (shown + characterColumns > width) break;
    shown += characterColumns;
    end += CharacterLength(text, end);
  }
  drawing.Append(Part(text, 0, end));
  return shown;
}

// WindowStart: the first byte to show so that the cursor lies within `width` columns: the
// window moves forward only as far as the cursor needs, and back while the rest of the
// line, and the cursor after it, still fit.
std::size_t WindowStart(const EditorState& state, std::size_t width) {
  const std::string_view text = state.line.View();
  std::size_t start = std::min(state.windowStart, state.cursor);
  while (ColumnsBetween(text, start, state.cursor) >= width) {
    start += CharacterLength(text, start);
  }
  const std::size_t cursorAtTheEnd = state.cursor == text.size() ? 1 : 0;
  std::size_t rest = ColumnsBetween(text, start, text.size());
  while (start > 0) {
    const std::size_t before = CharacterBefore(text, start);
    const std::size_t withIt = rest + CharacterColumns(text, before);
    if (withIt + cursorAtTheEnd > width) break;
    rest = withIt;
    start = before;
  }
  return start;
}

}  // namespace

void DrawLine(EditorState& state, Clearing clearing, std::string_view prompt, Drawing& drawing) {
  drawing.Clear();
  const std::size_t columns = std::clamp(state.columns, kLeastColumns, kMostColumns);
  const std::size_t width = columns - 1;  // the last column stays free for the cursor
  const std::string_view shownPrompt = Part(prompt, 0, std::min(prompt.size(), kMostPrompt));
  switch (clearing) {
    case Clearing::kRow:
      break;
    case Clearing::kScreen:
      drawing.Append(kClearScreen);
      if (!prompt.empty()) PutPromptLine(drawing, shownPrompt);
      break;
    case Clearing::kContinued:
      if (!prompt.empty()) {
        drawing.Append(kStartOfRow);
        drawing.Append(kEraseRowAfter);
        PutPromptLine(drawing, shownPrompt);
      }
      break;
    case Clearing::kResized: {
      // A terminal that rewraps its rows put the cursor this many rows below the line's
      // first; from there on, everything is the line's and goes.
      const std::size_t rowsAbove = std::min(state.cursorColumn, kMostColumns) / columns;
      if (rowsAbove > 0) PutMove(drawing, rowsAbove, kCursorUp);
      drawing.Append(kStartOfRow);
      drawing.Append(kEraseScreenAfter);
      break;
    }
  }

  drawing.Append(kStartOfRow);
  std::size_t searchColumns = 0;  // the words of a search under way, before the line
  if (state.search.active) {
    BoundedArray<char, kMostSearchWords + kEditCapacity> words;
    words.Append(kSearchBefore);
    words.Append(state.search.text.View());
    words.Append(kSearchAfter);
    searchColumns = PutShown(drawing, words.View(), width);
  }
  const std::size_t lineWidth = width - searchColumns;
  const std::string_view text = state.line.View();
  state.windowStart = lineWidth == 0 ? state.cursor : WindowStart(state, lineWidth);
  PutShown(drawing, Part(text, state.windowStart, text.size() - state.windowStart), lineWidth);
  drawing.Append(kEraseRowAfter);
  drawing.Append(kStartOfRow);
  state.cursorColumn = searchColumns + ColumnsBetween(text, state.windowStart, state.cursor);
  if (state.cursorColumn > 0) PutMove(drawing, state.cursorColumn, kCursorForward);
}

}  // namespace intcalc
