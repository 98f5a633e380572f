// TraceLine: the text of one trace line, built from the evaluation's facts: its texts
// escaped so that every byte shows, its numbers, signed operands and tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "eval/trace_points.h"
#include "text/bounded_array.h"
#include "text/limits.h"

namespace intcalc {

class TraceLine {
 public:
  void Clear();
  std::string_view View() const { return bytes_.View(); }

  // Continues: whether the byte at `index` continues the escape of the byte before it, so
  // that a row never breaks inside one.
  bool Continues(std::size_t index) const { return Marked(index, kContinuing); }

  // Quoted: whether the byte at `index` is one of a text shown between quotes, such as a
  // blank that is part of the text, not a break between words.
  bool Quoted(std::size_t index) const { return Marked(index, kQuoted); }

  void Add(std::string_view text);
  void Add(char byte, bool continuing = false);

  // AddShown: a text of the evaluation, between quotes when it has a blank or is empty,
  // each byte that is not printable as \xHH, and a backslash as \\: so a backslash shown
  // always begins an escape.
  void AddShown(std::string_view text);

  // AddNumber: the decimal digits of a number.
  void AddNumber(std::uint32_t number);

  // AddOperand: a signed magnitude as the tables hold it; a negative zero keeps its sign.
  void AddOperand(SignedMagnitude operand);

  // AddOperator: an operator's symbol, shown as a text's byte is, or "." for one applied.
  void AddOperator(OperatorCode code);

  // AddTables: every operator, then every pair of operands, as they are now.
  void AddTables(const EvaluationTables& tables);

  // AddApplication: the operator between the operands of its pair.
  void AddApplication(const Application& application);

 private:
  static constexpr std::uint8_t kContinuing = 1;
  static constexpr std::uint8_t kQuoted = 2;

  bool Marked(std::size_t index, std::uint8_t mark) const {
    return index < marks_.Size() && (marks_[index] & mark) != 0;
  }

  BoundedArray<char, kTraceLineCapacity> bytes_;
  BoundedArray<std::uint8_t, kTraceLineCapacity> marks_;  // of each byte
  bool quoting_ = false;                                  // bytes added now are quoted
};

}  // namespace intcalc
