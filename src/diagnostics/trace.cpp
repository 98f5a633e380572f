// The trace on standard error, and the stepping through it: after each step, when asked
// to, a wait for a key.
#include "diagnostics/trace.h"

#include <string_view>

#include "console/console.h"
#include "diagnostics/trace_format.h"
#include "eval/trace_points.h"

namespace intcalc {

namespace {

constexpr std::string_view kStepHint =
    "step       Enter: the next step; q: the rest of this expression";

// StandardErrorRows: each row written to standard error at once; when stepping, a wait for
// a key after each step: q shows the rest of the expression at once, any other goes on;
// input that ends or is no terminal ends the stepping.
// Final and static: nothing derives from it, and nothing deletes it through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class StandardErrorRows final : public TraceRows {
 public:
  void Start(TraceMode mode) {
    stepping_ = mode == TraceMode::kStep;
    hintShown_ = false;
    skipping_ = false;
  }

  void ExpressionBegins() override { skipping_ = false; }

  void Row(std::string_view row) override { WriteErrorLine({row}); }

  void StepShown() override {
    if (!stepping_ || skipping_) return;
    if (!hintShown_) {
      hintShown_ = true;
      WriteErrorLine({kStepHint});
    }
    const KeyRead key = ReadKey();
    if (!key.arrived) {
      stepping_ = false;
      return;
    }
    skipping_ = key.key == 'q' || key.key == 'Q';
  }

 private:
  bool stepping_ = false;
  bool hintShown_ = false;
  bool skipping_ = false;  // q was pressed: no more waiting in this expression
};

constinit StandardErrorRows standardErrorRows;

}  // namespace

void StartTracing(TraceMode mode) {
  if (mode == TraceMode::kOff) {
    Watcher() = nullptr;
    return;
  }
  standardErrorRows.Start(mode);
  Watcher() = &MakeTraceFormatter(standardErrorRows);
}

}  // namespace intcalc
