// The trace's rows on standard error, and the stepping through them: after each step,
// when asked to, a wait for a key.
#pragma once

#include <cstddef>
#include <string_view>

#include "console/console.h"
#include "text/bounded_array.h"
#include "text/limits.h"

namespace intcalc {

// kTraceLabelWidth: the columns of the label that begins a row, a blank after it.
inline constexpr std::size_t kTraceLabelWidth = 10;

class TraceRows {
 public:
  // Start: rows on `console` from now on; with `step`, a wait for a key after each step,
  // where a person sees the rows and can answer them: elsewhere it is the trace, byte for
  // byte.
  void Start(Console& console, bool step);

  // Open: whether rows are still written: once one could not be, the trace ends, and the
  // answers go on as they would without it.
  bool Open() const { return console_ != nullptr; }

  // TextWidth: the columns a row's text has after an indent and a label.
  static std::size_t TextWidth(std::size_t indent, std::string_view label);

  // WriteRow: one row, after `indent` columns (at most 2): the label (blanks in its place
  // when the row continues a line), padded to its width, and the text; written at once
  // after the answers so far, so that where both streams show together, at a terminal or
  // in one file, they come in the order they happened.
  void WriteRow(std::size_t indent, std::string_view label, std::string_view text, bool continued);

  // StepShown: the rows of one step are all out: when stepping, the wait for a key: q
  // shows the rest of the expression at once, any other key goes on; input that ends ends
  // the stepping.
  void StepShown();

  // BeginExpression: the rows of another expression follow; q's skipping ends.
  void BeginExpression() { skipping_ = false; }

 private:
  bool Send(std::size_t indent, std::string_view label, std::string_view text, bool continued);

  Console* console_ = nullptr;  // where the rows go
  BoundedArray<char, kTraceColumns> row_;
  BoundedArray<char, kTraceColumns> lastRow_;  // to show again after a continue
  bool stepping_ = false;                      // a key is waited for after each step
  bool hintShown_ = false;                     // the keys of the stepping have been told
  bool skipping_ = false;                      // q was pressed: no more waiting in this expression
};

}  // namespace intcalc
