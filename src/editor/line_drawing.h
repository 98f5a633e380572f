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

// The answer after the line: kAnswerBefore, then the answer, dim (kDim to kNotDim) where
// the terminal may show attributes.
inline constexpr std::string_view kAnswerBefore = "  =";
inline constexpr std::string_view kDim = "\x1b[2m";
inline constexpr std::string_view kNotDim = "\x1b[22m";
static_assert(kDim.size() + kNotDim.size() + kAnswerBefore.size() + kResultCapacity <=
              kMostAnswerBytes);

// Around: what a drawing shows around the line: the prompt above it, when the screen is
// cleared or after a continue, and an answer after it, dim when `dim`.
struct Around {
  std::string_view prompt;
  std::string_view answer = {};
  bool dim = false;
};

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
// of its own, comes above the line. The answer follows the line, two blanks and "=" before
// it, only where it tells the truth and fits: not during a search, nor while the line is
// scrolled, nor where it would pass the last column but one, two columns earlier for a line
// with a character whose width terminals disagree on. What it shows goes into
// state.windowStart and state.cursorColumn; returns the column where the answer begins,
// 0 when none is shown.
std::size_t DrawLine(EditorState& state, Clearing clearing, const Around& around, Drawing& drawing);

}  // namespace intcalc
