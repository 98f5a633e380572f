// Drawing: the bytes that draw the edited line on its row of the terminal. Nothing here
// reads or writes: the bytes are the caller's to write.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/line_editing.h"
#include "text/bounded_array.h"
#include "text/decimal.h"
#include "text/limits.h"

namespace intcalc {

// What goes before the line is drawn again.
enum class Clearing : std::uint8_t {
  kRow,        // the row the line is on
  kScreen,     // the whole screen: the prompt and the line are drawn at its top
  kResized,    // the rows the line took before the terminal's width changed to state.columns
  kContinued,  // nothing: after a continue, the prompt on the row the cursor is on, the
               // line below it
};

// The controls a drawing uses.
inline constexpr std::string_view kStartOfRow = "\r";
inline constexpr std::string_view kEraseRowAfter = "\x1b[0K";
inline constexpr std::string_view kEraseScreenAfter = "\x1b[J";
inline constexpr std::string_view kClearScreen = "\x1b[H\x1b[2J";
inline constexpr std::string_view kControlIntroducer = "\x1b[";
inline constexpr char kCursorForward = 'C';
inline constexpr char kCursorUp = 'A';
inline constexpr char kCursorToColumn = 'G';  // counted from 1
// kMostMove: a cursor move of at most kMostColumns.
inline constexpr std::size_t kMostMove =
    kControlIntroducer.size() + Decimal<std::uint16_t>(kMostColumns).View().size() + 1;
static_assert(kMostMove <= kMostColumnMoveBytes);
// The most a drawing's controls take besides the prompt, the line and the moves to a
// column: a clearing, then the row started, the marks of hidden text, the row erased after
// the line and started again, and the cursor moved.
inline constexpr std::size_t kHiddenMarks = 2;
static_assert(std::max(kClearScreen.size(),
                       kMostMove + kStartOfRow.size() + kEraseScreenAfter.size()) +
                  kStartOfRow.size() + kHiddenMarks + kEraseRowAfter.size() + kStartOfRow.size() +
                  kMostMove <=
              kMostDrawingControls);

// The marks of text hidden at the left and at the right of a line scrolled sideways.
inline constexpr char kHiddenBefore = '<';
inline constexpr char kHiddenAfter = '>';

// The words that show a search under way: kSearchBefore (kFailedSearchBefore when no
// entry holds the text), what it searches for, kSearchAfter, then the line found.
inline constexpr std::string_view kSearchBefore = "search \"";
inline constexpr std::string_view kFailedSearchBefore = "failed search \"";
inline constexpr std::string_view kSearchAfter = "\": ";
static_assert(kFailedSearchBefore.size() + kSearchAfter.size() <= kMostSearchWords);

// Drawing: the bytes of one drawing.
using Drawing = BoundedArray<char, kDrawingCapacity>;

// DrawLine: into `drawing`, the part of state's line around the cursor, on a row of
// state.columns, the last column kept free for the cursor, after the words of a search
// under way. When the line is wider than the row, it scrolls sideways no further than it
// must: the character before the cursor and the one under it stay shown, and during a
// search the whole match; columns are never left free at the right while text is hidden
// at the left; and a mark in the first column, or the last, shows text hidden there.
// After a character whose width terminals disagree on, the next is placed by its column,
// as the cursor is: a terminal that draws it otherwise shifts a glyph, never where the
// cursor stands. After a resize, the rows above the cursor that the line's last drawing
// took when the terminal wrapped it to its new width are cleared first, no more than
// certainly belong to it. On a cleared screen and after a continue, the prompt, on a line
// of its own, comes above the line. What it shows goes into state.windowStart and
// state.cursorColumn.
void DrawLine(EditorState& state, Clearing clearing, std::string_view prompt, Drawing& drawing);

}  // namespace intcalc
