// Drawing: the bytes that draw the edited line on its row of the terminal. Nothing here
// reads or writes: the bytes are the caller's to write.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/line_editing.h"

namespace intcalc {

// kMostColumns: the widest terminal drawn for; a wider one is drawn as if this wide.
inline constexpr std::size_t kMostColumns = 1024;
inline constexpr std::size_t kLeastColumns = 2;

// What goes before the line is drawn again.
enum class Clearing : std::uint8_t {
  kRow,      // the row the line is on
  kScreen,   // the whole screen: the prompt and the line are drawn at its top
  kResized,  // the rows the line took before the terminal's width changed to state.columns
};

// The controls a drawing uses, and the most bytes it takes.
inline constexpr std::string_view kStartOfRow = "\r";
inline constexpr std::string_view kEraseRowAfter = "\x1b[0K";
inline constexpr std::string_view kEraseScreenAfter = "\x1b[J";
inline constexpr std::string_view kClearScreen = "\x1b[H\x1b[2J";
inline constexpr std::string_view kControlIntroducer = "\x1b[";
inline constexpr char kCursorForward = 'C';
inline constexpr char kCursorUp = 'A';
inline constexpr std::size_t kMostColumnDigits = 4;
static_assert(kMostColumns < 10'000, "a column count has at most kMostColumnDigits digits");
inline constexpr std::size_t kMostMove = kControlIntroducer.size() + kMostColumnDigits + 1;
// kMostPrompt: the most of a prompt drawn above the line on a cleared screen.
inline constexpr std::size_t kMostPrompt = 128;
inline constexpr std::size_t kDrawingCapacity =
    std::max(kClearScreen.size() + kMostPrompt,
             kMostMove + kStartOfRow.size() + kEraseScreenAfter.size()) +
    kStartOfRow.size() + kEditCapacity + kEraseRowAfter.size() + kStartOfRow.size() + kMostMove;

struct Drawing {
  std::array<char, kDrawingCapacity> bytes{};
  std::size_t length = 0;
  std::size_t windowStart = 0;   // the first byte of the line shown
  std::size_t cursorColumn = 0;  // where the cursor is left on the row

  std::string_view View() const { return {bytes.data(), length}; }
};

// DrawLine: the part of state's line around the cursor, on a row of state.columns, the
// last column kept free for the cursor; when the cursor would leave the part shown before,
// the line scrolls sideways. After a resize, the rows above the cursor that the line's
// last drawing took when the terminal wrapped it to its new width are cleared first. On a
// cleared screen the prompt, a line of its own with its line end, comes above the line.
Drawing DrawLine(const EditorState& state, Clearing clearing, std::string_view prompt = {});

}  // namespace intcalc
