// The calculator's limits: the range of its numbers and every capacity of its fixed
// storage, each derived in one line from the limit it follows from. Tests size their
// buffers from here; the tests that check the specified limits keep their own numbers, so
// that a wrong one here shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "text/line_ends.h"
#include "text/text_buffer.h"

namespace intcalc {

// ---- Numbers --------------------------------------------------------------------------

// kLargestMagnitude: 4294967295, the end of the range: a magnitude is 32 bits.
inline constexpr std::uint64_t kLargestMagnitude = std::numeric_limits<std::uint32_t>::max();
// kMagnitudeDigits: the digits of the largest magnitude.
inline constexpr std::size_t kMagnitudeDigits = std::numeric_limits<std::uint32_t>::digits10 + 1;

// ---- One line of input ----------------------------------------------------------------

// kReadLimit: the most bytes the dialogue takes with one read.
inline constexpr TextLength kReadLimit = 121;
// kEditCapacity: the longest line one read takes whole, with its line end.
inline constexpr TextLength kEditCapacity = kReadLimit - decltype(kLineEnd)::Length();

// ---- The dialogue's texts -------------------------------------------------------------

// kExpressionCapacity: a whole read without its blanks, and one to spare (122).
inline constexpr TextLength kExpressionCapacity = kReadLimit + 1;
// kResultCapacity: a value, a lone operand as typed (cut to this), or an error word.
inline constexpr TextLength kResultCapacity = 20;
// kEchoCapacity: the expression, "=", and the result text (143).
inline constexpr TextLength kEchoCapacity = kExpressionCapacity + 1 + kResultCapacity;

// ---- The evaluation -------------------------------------------------------------------

// kWorkingCapacity: the copy of the expression that parenthesis resolution rewrites (123).
inline constexpr TextLength kWorkingCapacity = kExpressionCapacity + 1;
// kGroupCapacity: the longest inner text of a group that is evaluated; a limit of its own.
inline constexpr TextLength kGroupCapacity = 80;
// kScratchCapacity: where a splice is assembled: any working text plus any result text.
inline constexpr TextLength kScratchCapacity = kWorkingCapacity + kResultCapacity;
// kOperandDigitsCapacity: the most digits one operand may have, leading zeros included.
inline constexpr TextLength kOperandDigitsCapacity = 20;
// kTableCapacity: the most operators one flat evaluation takes.
inline constexpr std::uint32_t kTableCapacity = 200;

// Each operator needs a character before it, so the tables hold every operator of a text.
static_assert(kTableCapacity >= kWorkingCapacity / 2);
static_assert(kGroupCapacity < kWorkingCapacity);
static_assert(kMagnitudeDigits + 1 < kResultCapacity, "a sign and the digits fit the result");

// ---- The console ----------------------------------------------------------------------

// kOutputCapacity: output kept between writes, so that a pipe gets few, big ones.
inline constexpr TextLength kOutputCapacity = TextLength{64} * 1024;
// kInputChunkCapacity: the most bytes one raw read of a pipe or a file brings.
inline constexpr std::size_t kInputChunkCapacity = std::size_t{64} * 1024;
// kErrorLineCapacity: the longest message to standard error; what would go past it is cut.
inline constexpr std::size_t kErrorLineCapacity = 512;
// kSystemReasonCapacity: the longest reason the system gives in its own words (Windows).
inline constexpr std::size_t kSystemReasonCapacity = 256;
// kLongestLimitText: the longest text made when the program is built that names a limit.
inline constexpr std::size_t kLongestLimitText = 64;

// ---- The line editor ------------------------------------------------------------------

// kLongestCodePoint: the most bytes the UTF-8 of one code point takes.
inline constexpr std::size_t kLongestCodePoint = 4;
// kHistoryEntries: the lines of this session the line editor keeps for Up and Down.
inline constexpr std::size_t kHistoryEntries = 64;
// kUndoSteps: the changes of a line the editor can undo, the latest.
inline constexpr std::size_t kUndoSteps = 32;
// kKeysCapacity: what one read of the terminal takes at most; the rest of a paste waits.
inline constexpr std::size_t kKeysCapacity = 4096;
// kLongestParameters: the parameter bytes of a key's escape sequence that are read; a key
// with more is none of the editor's.
inline constexpr std::size_t kLongestParameters = 8;
// kMostColumns: the widest terminal drawn for; a wider one is drawn as if this wide.
inline constexpr std::size_t kMostColumns = 1024;
// kLeastColumns: the narrowest drawn for: a column for the line and one for the cursor.
inline constexpr std::size_t kLeastColumns = 2;
// kDefaultColumns: the width taken for a terminal that does not tell its own.
inline constexpr std::size_t kDefaultColumns = 80;
// kMostPrompt: the most of a prompt drawn above the line on a cleared screen.
inline constexpr std::size_t kMostPrompt = 128;
// kMostDrawingControls: the bytes of the controls one drawing writes around the prompt and
// the line, and the two marks of text hidden at either side (line_drawing.h proves its
// controls fit).
inline constexpr std::size_t kMostDrawingControls = 48;
// kMostSearchWords: the words that show a search under way, around what it searches for
// (line_drawing.h proves they fit).
inline constexpr std::size_t kMostSearchWords = 24;
// kLeastDisputedBytes: the fewest bytes of a character whose width terminals disagree on:
// one byte and a mark of three, as "#" and U+FE0F.
inline constexpr std::size_t kLeastDisputedBytes = 4;
// kMostColumnMoveBytes: one move to a column of at most kMostColumns (line_drawing.h
// proves it).
inline constexpr std::size_t kMostColumnMoveBytes = 8;
// kMostColumnMoves: the moves to a column a drawing makes: after each character whose width
// terminals disagree on, in the line and in what a search looks for, and to the mark of
// text hidden on the right.
inline constexpr std::size_t kMostColumnMoves = 2 * (kEditCapacity / kLeastDisputedBytes) + 1;
// kMostAnswerBytes: the answer shown after a line as it is edited: its attribute set and
// ended, the two blanks and "=" before it, and the longest result text.
inline constexpr std::size_t kMostAnswerBytes = 16 + 3 + kResultCapacity;
// kDrawingCapacity: one drawing: its controls, the prompt and its line end, a search and
// what it searches for, the line, the moves to a column, and the answer.
inline constexpr std::size_t kDrawingCapacity =
    kMostDrawingControls + kMostPrompt + decltype(kLineEnd)::Length() + kMostSearchWords +
    kEditCapacity + kEditCapacity + kMostColumnMoves * kMostColumnMoveBytes + kMostAnswerBytes;

// ---- The history file -----------------------------------------------------------------

// kHistoryPathCapacity: the longest path Linux takes (PATH_MAX), its NUL counted.
inline constexpr std::size_t kHistoryPathCapacity = 4096;
// kHistoryFileLine: the longest line of the file: the longest the editor takes, and its LF.
inline constexpr std::size_t kHistoryFileLine = kEditCapacity + 1;
// kHistoryFileTail: the most of the file read at start: its newest kHistoryEntries lines at
// their longest, and the LF before them, which shows the first of them whole (7,681).
inline constexpr std::size_t kHistoryFileTail = 1 + kHistoryEntries * kHistoryFileLine;
// kHistoryFileMostLines: past this many lines the file is trimmed to its newest
// kHistoryFileKeptLines.
inline constexpr std::size_t kHistoryFileMostLines = 2000;
inline constexpr std::size_t kHistoryFileKeptLines = 1000;
// kHistoryFileCountable: the largest file whose lines are counted, to know whether to trim
// it: twice kHistoryFileMostLines at their longest (480,000 bytes). A larger one is no
// history the editor wrote: only its end is read, and it is never written.
inline constexpr std::size_t kHistoryFileCountable = 2 * kHistoryFileMostLines * kHistoryFileLine;

// ---- The trace ------------------------------------------------------------------------

// kTraceColumns: the width of every row of the trace.
inline constexpr std::size_t kTraceColumns = 80;
// kWidestTableEntry: an operator and its blank, then a pair of operands, each a sign and
// the largest magnitude's digits, with a comma between them and a blank after.
inline constexpr std::size_t kWidestTableEntry = 2 + 2 * (1 + kMagnitudeDigits) + 2;
// kLongestLabel: the widest label of a trace line: an operator's step, its pass and index.
inline constexpr std::size_t kLongestLabel = 16;
// kTraceLineCapacity: the longest line the trace makes, before it is cut into rows: the
// tables of the most operators, with a row's width to spare for the words around them.
inline constexpr std::size_t kTraceLineCapacity =
    kTableCapacity * kWidestTableEntry + kTraceColumns;
// Every other line is an escaped text of the evaluation with words around it.
static_assert(kTraceLineCapacity > 4 * std::size_t{kScratchCapacity} + kTraceColumns);

}  // namespace intcalc
