// TraceLine: the text of one trace line, built from the evaluation's facts: its texts
// escaped so that every byte shows, its numbers, signed operands and tables.
#pragma once

#include <cstddef>
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
  bool Continues(std::size_t index) const { return index < continues_.Size() && continues_[index]; }

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
  BoundedArray<char, kTraceLineCapacity> bytes_;
  BoundedArray<bool, kTraceLineCapacity> continues_;
};

}  // namespace intcalc
