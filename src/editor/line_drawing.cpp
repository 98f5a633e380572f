#include "editor/line_drawing.h"

#include "editor/characters.h"
#include "text/text_buffer.h"

namespace intcalc {

namespace {

constexpr std::size_t kDecimalBase = 10;

void Put(Drawing& drawing, std::string_view text) {
  for (const char byte : text)
    drawing.bytes[drawing.length++] = byte;  // every drawing fits kDrawingCapacity
}

// PutMove: ESC [ count final, for a count above zero.
void PutMove(Drawing& drawing, std::size_t count, char final) {
  std::array<char, kMostColumnDigits> digits{};
  std::size_t used = 0;
  for (; count != 0 && used < digits.size(); count /= kDecimalBase) {
    digits[used++] = static_cast<char>('0' + count % kDecimalBase);
  }
  Put(drawing, kControlIntroducer);
  while (used > 0)
    Put(drawing, {&digits[--used], 1});
  Put(drawing, {&final, 1});
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

Drawing DrawLine(const EditorState& state, Clearing clearing, std::string_view prompt) {
  Drawing drawing;
  const std::size_t columns = std::clamp(state.columns, kLeastColumns, kMostColumns);
  const std::size_t width = columns - 1;  // the last column stays free for the cursor
  switch (clearing) {
    case Clearing::kRow:
      break;
    case Clearing::kScreen:
      Put(drawing, kClearScreen);
      Put(drawing, Part(prompt, 0, std::min(prompt.size(), kMostPrompt)));
      break;
    case Clearing::kResized: {
      // A terminal that rewraps its rows put the cursor this many rows below the line's
      // first; from there on, everything is the line's and goes.
      const std::size_t rowsAbove = std::min(state.cursorColumn, kMostColumns) / columns;
      if (rowsAbove > 0) PutMove(drawing, rowsAbove, kCursorUp);
      Put(drawing, kStartOfRow);
      Put(drawing, kEraseScreenAfter);
      break;
    }
  }

  const std::string_view text = state.line.View();
  drawing.windowStart = WindowStart(state, width);
  std::size_t end = drawing.windowStart;
  for (std::size_t shown = 0; end < text.size();) {
    const std::size_t characterColumns = CharacterColumns(text, end);
    if (shown + characterColumns > width) break;
    shown += characterColumns;
    end += CharacterLength(text, end);
  }
  Put(drawing, kStartOfRow);
  Put(drawing, Part(text, drawing.windowStart, end - drawing.windowStart));
  Put(drawing, kEraseRowAfter);
  Put(drawing, kStartOfRow);
  drawing.cursorColumn = ColumnsBetween(text, drawing.windowStart, state.cursor);
  if (drawing.cursorColumn > 0) PutMove(drawing, drawing.cursorColumn, kCursorForward);
  return drawing;
}

}  // namespace intcalc
