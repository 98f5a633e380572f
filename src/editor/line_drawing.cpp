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

// WindowStart: the first byte to show so that the cursor lies within `width` columns.
std::size_t WindowStart(const EditorState& state, std::size_t width) {
  const std::string_view text = state.line.View();
  std::size_t start = std::min(state.windowStart, state.cursor);
  while (ColumnsBetween(text, start, state.cursor) >= width) {
    start += CharacterLength(text, start);
  }
  return start;
}

}  // namespace

void DrawLine(EditorState& state, Clearing clearing, std::string_view prompt, Drawing& drawing) {
  drawing.Clear();
  const std::size_t columns = std::clamp(state.columns, kLeastColumns, kMostColumns);
  const std::size_t width = columns - 1;  // the last column stays free for the cursor
  switch (clearing) {
    case Clearing::kRow:
      break;
    case Clearing::kScreen:
      drawing.Append(kClearScreen);
      if (!prompt.empty()) {
        drawing.Append(Part(prompt, 0, std::min(prompt.size(), kMostPrompt)));
        drawing.Append(std::string_view(kLineEnd));
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

  const std::string_view text = state.line.View();
  state.windowStart = WindowStart(state, width);
  std::size_t end = state.windowStart;
  for (std::size_t shown = 0; end < text.size();) {
    const std::size_t characterColumns = CharacterColumns(text, end);
    if (shown + characterColumns > width) break;
    shown += characterColumns;
    end += CharacterLength(text, end);
  }
  drawing.Append(kStartOfRow);
  drawing.Append(Part(text, state.windowStart, end - state.windowStart));
  drawing.Append(kEraseRowAfter);
  drawing.Append(kStartOfRow);
  state.cursorColumn = ColumnsBetween(text, state.windowStart, state.cursor);
  if (state.cursorColumn > 0) PutMove(drawing, state.cursorColumn, kCursorForward);
}

}  // namespace intcalc
