// The flat expression reader: reads an expression without parentheses into the tables.
#pragma once

#include <string_view>

#include "eval/evaluation_tables.h"
#include "text/text_buffer.h"

namespace intcalc {

// At most this many digits in one operand, leading zeros included.
inline constexpr TextLength kOperandDigitsCapacity = 20;

using OperandDigits = TextBuffer<kOperandDigitsCapacity>;

// EvaluateFlat: evaluates text, which holds no parentheses, into the result text. A lone
// operand is its own result. May blank text's first character while folding two signs.
Outcome EvaluateFlat(TextSpan text);

// MergeLeadingSigns: folds two leading signs into one, blanking the first and stepping
// `rest` past it; fails on three leading signs.
Outcome MergeLeadingSigns(TextSpan text, std::string_view& rest);

// ReadOperand: reads an optional sign, digits, and the operator after them from `rest`,
// the part of the text not yet read, and steps `rest` past them; on failure `rest` is left
// where the operand began. A sign followed directly by an operator is an operand without
// digits.
Outcome ReadOperand(std::string_view& rest, TextSpan digits, SignFlag& sign,
                    OperatorCode& operatorCode);

// DigitsToMagnitude: the value of the operand's digits; fails when it leaves 32 bits.
Outcome DigitsToMagnitude(const OperandDigits& digits, Magnitude& magnitude);

// PushOperator: appends to the operator table; fails, changing nothing, when it is full.
Outcome PushOperator(OperatorCode code);

// AddOperand: the operand after the latest operator, as the right half of the pair before
// it and the left half of the next.
void AddOperand(SignFlag sign, Magnitude magnitude);

}  // namespace intcalc
