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

// PutColumn: the cursor to `column`, counted from 0 at the row's start.
void PutColumn(Drawing& drawing, std::size_t column) {
  PutMove(drawing, column + 1, kCursorToColumn);
}

// PutPromptLine: the prompt, on a line of its own.
void PutPromptLine(Drawing& drawing, std::string_view prompt) {
  drawing.Append(Part(prompt, 0, std::min(prompt.size(), kMostPrompt)));
  drawing.Append(std::string_view(kLineEnd));
}

// PutClearing: what goes before the row is drawn again.
void PutClearing(Drawing& drawing, const EditorState& state, Clearing clearing,
                 std::string_view prompt, std::size_t columns) {
  switch (clearing) {
    case Clearing::kRow:
      return;
    case Clearing::kScreen:
      drawing.Append(kClearScreen);
      if (!prompt.empty()) PutPromptLine(drawing, prompt);
      return;
    case Clearing::kContinued:
      if (prompt.empty()) return;
      drawing.Append(kStartOfRow);
      drawing.Append(kEraseRowAfter);
      PutPromptLine(drawing, prompt);
      return;
    case Clearing::kResized: {
      // A terminal that rewraps its rows put the character before the cursor this many rows
      // below the line's first, and the cursor there or, at the end of a row, on the next;
      // from the nearer on, everything is the line's and goes.
      const std::size_t cursorColumn = std::min(state.cursorColumn, kMostColumns);
      const std::size_t rowsAbove = cursorColumn == 0 ? 0 : (cursorColumn - 1) / columns;
      if (rowsAbove > 0) PutMove(drawing, rowsAbove, kCursorUp);
      drawing.Append(kStartOfRow);
      drawing.Append(kEraseScreenAfter);
      return;
    }
  }
}

// PutShown: as much of text from `first` as fits in `width` columns, whole characters,
// drawn from `column`; returns the columns it took. After a character whose width
// terminals disagree on, the next goes where it is counted to begin.
std::size_t PutShown(Drawing& drawing, std::string_view text, std::size_t first, std::size_t width,
                     std::size_t column) {
  std::size_t shown = 0;
  for (std::size_t at = first; at < text.size();) {
    const std::size_t columns = CharacterColumns(text, at);
    if (shown + columns > width) break;
    const std::size_t length = CharacterLength(text, at);
    drawing.Append(Part(text, at, length));
    shown += columns;
    if (WidthDisputed(text, at)) PutColumn(drawing, column + shown);
    at += length;
  }
  return shown;
}

// Window: the part of the line shown, from `start` to `end`, and whether text is hidden
// before and after it, which a mark shows.
struct Window {
  std::size_t start = 0;
  std::size_t end = 0;
  bool hiddenBefore = false;
  bool hiddenAfter = false;
};

// kLeastMarkedWidth: the narrowest row that shows the marks of hidden text: room for both
// and two wide characters between them; a narrower row shows characters only.
constexpr std::size_t kLeastMarkedWidth = 6;

// Frame: the window that begins at `start`, on `width` columns: the rest of the line when
// it fits, with the cursor's cell after it when the cursor is at the end; else as much as
// fits before the mark on the right.
Window Frame(std::string_view text, std::size_t start, std::size_t cursor, std::size_t width) {
  const bool marked = width >= kLeastMarkedWidth;
  Window window{start, text.size(), marked && start > 0, false};
  const std::size_t before = window.hiddenBefore ? 1 : 0;
  const std::size_t cursorCell = cursor == text.size() ? 1 : 0;
  if (before + ColumnsBetween(text, start, text.size()) + cursorCell <= width) return window;
  window.hiddenAfter = marked;
  const std::size_t room = width - before - (marked ? 1 : 0);
  std::size_t columns = 0;
  for (window.end = start; window.end < text.size();) {
    columns += CharacterColumns(text, window.end);
    if (columns > room) break;
    window.end += CharacterLength(text, window.end);
  }
  return window;
}

// Shows: whether the window shows the cursor and what must be seen after it, up to
// `focusEnd`.
bool Shows(const Window& window, std::size_t size, std::size_t cursor, std::size_t focusEnd) {
  if (cursor == size) return window.end == size;
  return window.start <= cursor && cursor < window.end && focusEnd <= window.end;
}

// Fit: the window on `width` columns that shows the cursor, the character before it and
// `focusEnd`, moved from the last no further than it must, and back while nothing after it
// is hidden.
Window Fit(const EditorState& state, std::size_t width, std::size_t focusEnd) {
  const std::string_view text = state.line.View();
  const std::size_t cursor = state.cursor;
  const std::size_t context = cursor > 0 ? CharacterBefore(text, cursor) : 0;
  std::size_t start = std::min(state.windowStart, context);
  Window window = Frame(text, start, cursor, width);
  // Forward to show what must be seen, the character before the cursor if it can be.
  while (!Shows(window, text.size(), cursor, focusEnd) && start < cursor) {
    start += CharacterLength(text, start);
    window = Frame(text, start, cursor, width);
    if (start >= context) focusEnd = cursor;  // no room for more than the cursor
  }
  while (start > 0) {
    const Window wider = Frame(text, CharacterBefore(text, start), cursor, width);
    if (wider.end < text.size() || !Shows(wider, text.size(), cursor, focusEnd)) break;
    window = wider;
    start = wider.start;
  }
  return window;
}

// FocusEnd: what must be seen after the cursor: the character under it, or during a
// search the whole match.
std::size_t FocusEnd(const EditorState& state) {
  const std::string_view text = state.line.View();
  if (state.cursor == text.size()) return state.cursor;
  const std::size_t under = state.cursor + CharacterLength(text, state.cursor);
  if (!state.search.active) return under;
  return std::max(under, std::min(text.size(), state.cursor + state.search.text.Size()));
}

// PutSearchWords: the words of a search under way, within `width`; the columns they took.
std::size_t PutSearchWords(Drawing& drawing, const Search& search, std::size_t width) {
  if (!search.active) return 0;
  BoundedArray<char, kMostSearchWords + kEditCapacity> words;
  words.Append(search.failing ? kFailedSearchBefore : kSearchBefore);
  words.Append(search.text.View());
  words.Append(kSearchAfter);
  return PutShown(drawing, words.View(), 0, width, 0);
}

// PutWindow: the window of the line, from column `column`, its marks in the first column
// and the last of `width`.
void PutWindow(Drawing& drawing, std::string_view text, const Window& window, std::size_t column,
               std::size_t width) {
  if (window.hiddenBefore) drawing.Push(kHiddenBefore);
  const std::size_t before = window.hiddenBefore ? 1 : 0;
  PutShown(drawing, Part(text, 0, window.end), window.start, width - before, column + before);
  if (!window.hiddenAfter) return;
  PutColumn(drawing, column + width - 1);
  drawing.Push(kHiddenAfter);
}

// kDisputedMargin: the columns an answer leaves for a line whose width terminals may count
// otherwise.
constexpr std::size_t kDisputedMargin = 2;

// AnyDisputed: whether the text holds a character whose width terminals disagree on.
bool AnyDisputed(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
    if (WidthDisputed(text, at)) return true;
  }
  return false;
}

// PutAnswer: the answer after the whole line, `lineColumns` wide, when it fits within
// `width` and tells the truth; returns the column where it begins, 0 when not shown.
std::size_t PutAnswer(Drawing& drawing, const EditorState& state, const Window& window,
                      const Around& around, std::size_t width) {
  const std::string_view text = state.line.View();
  if (around.answer.empty() || state.search.active || window.start > 0 || window.hiddenAfter) {
    return 0;
  }
  const std::size_t lineColumns = ColumnsBetween(text, 0, text.size());
  const std::size_t margin = AnyDisputed(text) ? kDisputedMargin : 0;
  if (lineColumns + kAnswerBefore.size() + around.answer.size() + margin > width) return 0;
  if (around.dim) drawing.Append(kDim);
  drawing.Append(kAnswerBefore);
  drawing.Append(
      Part(around.answer, 0, std::min<std::size_t>(around.answer.size(), kResultCapacity)));
  if (around.dim) drawing.Append(kNotDim);
  return lineColumns;
}

}  // namespace

std::size_t DrawLine(EditorState& state, Clearing clearing, const Around& around,
                     Drawing& drawing) {
  drawing.Clear();
  const std::size_t columns = std::clamp(state.columns, kLeastColumns, kMostColumns);
  const std::size_t width = columns - 1;  // the last column stays free for the cursor
  PutClearing(drawing, state, clearing, around.prompt, columns);
  drawing.Append(kStartOfRow);
  const std::size_t searchColumns = PutSearchWords(drawing, state.search, width);
  const std::string_view text = state.line.View();
  std::size_t cursorColumn = searchColumns;
  std::size_t answerColumn = 0;
  if (searchColumns < width) {
    const std::size_t lineWidth = width - searchColumns;
    const Window window = Fit(state, lineWidth, FocusEnd(state));
    PutWindow(drawing, text, window, searchColumns, lineWidth);
    answerColumn = PutAnswer(drawing, state, window, around, width);
    state.windowStart = window.start;
    cursorColumn +=
        (window.hiddenBefore ? 1 : 0) + ColumnsBetween(text, window.start, state.cursor);
  }
  drawing.Append(kEraseRowAfter);
  drawing.Append(kStartOfRow);
  state.cursorColumn = std::min(cursorColumn, width);
  if (state.cursorColumn > 0) PutMove(drawing, state.cursorColumn, kCursorForward);
  return answerColumn;
}

}  // namespace intcalc
