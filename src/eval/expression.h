// The road of one expression through the evaluator, and all the storage it works in.
#pragma once

#include <cstdint>

#include "eval/evaluation_tables.h"
#include "eval/trace_points.h"
#include "text/limits.h"
#include "text/result_text.h"
#include "text/text_buffer.h"

namespace intcalc {

using WorkingText = TextBuffer<kWorkingCapacity>;
using GroupText = TextBuffer<kGroupCapacity>;
using ScratchText = TextBuffer<kScratchCapacity>;

// Evaluation: everything the evaluation of one expression reads and writes, and who
// watches it. Its owner puts the expression into `working`; every stage is handed the
// parts it needs.
struct Evaluation {
  WorkingText working;                   // rewritten by parenthesis resolution, then evaluated
  ResultTextBuffer result;               // the value, a lone operand as typed, or an error word
  GroupText group;                       // the inner text of the group being evaluated
  ScratchText scratch;                   // where a splice is assembled
  FlatEvaluation flat;                   // the reader's state, the tables, the arithmetic's value
  EvaluationWatcher* watcher = nullptr;  // told of every step; nobody watches when null
};

// kGroupOpen: the character that opens a group.
inline constexpr char kGroupOpen = '(';

// Groups: what whoever filled the working text knows of its groups: it may hold some, or it
// holds no kGroupOpen at all, and parenthesis resolution has none to look for.
enum class Groups : std::uint8_t { kMaybe, kNone };

// EvaluateExpression: resolves the parentheses of the working text, then evaluates what is
// left only if that succeeded; either way the result text holds what is to be shown.
Outcome EvaluateExpression(Evaluation& evaluation, Groups groups = Groups::kMaybe);

}  // namespace intcalc
