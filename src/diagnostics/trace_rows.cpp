#include "diagnostics/trace_rows.h"

#include <algorithm>

namespace intcalc {

namespace {

constexpr std::string_view kStepHint =
    "step       Enter: the next step; q: the rest of this expression";

}  // namespace

void StartTraceRows(Console& console, bool step) {
  TraceRows& rows = console.traceRows;
  rows.stepping = step && KeysCanBeWaitedFor(console);
  rows.hintShown = false;
  rows.skipping = false;
}

bool WriteTraceRow(Console& console, std::string_view row) {
  TraceRows& rows = console.traceRows;
  if (!ReadyToWait(console) || !WriteErrorLine(console, {row})) {
    rows.stepping = false;
    return false;
  }
  rows.lastRow.Assign(Part(row, 0, std::min(row.size(), kTraceColumns)));
  return true;
}

void StepShown(Console& console) {
  TraceRows& rows = console.traceRows;
  if (!rows.stepping || rows.skipping) return;
  if (!rows.hintShown) {
    rows.hintShown = true;
    (void)WriteErrorLine(console, {kStepHint});
  }
  while (true) {
    const KeyRead key = ReadKey(console);
    switch (key.status) {
      case KeyStatus::kKey:
        rows.skipping = key.key == 'q' || key.key == 'Q';
        return;
      case KeyStatus::kNone:
        rows.stepping = false;
        return;
      case KeyStatus::kContinued:  // the step's row again, where the person looks now
        (void)WriteErrorLine(console, {rows.lastRow.View()});
        break;
    }
  }
}

void BeginExpressionRows(Console& console) {
  console.traceRows.skipping = false;
}

}  // namespace intcalc
