// The trace on standard error, and the stepping through it: after each step, when asked
// to, a wait for a key.
#include "diagnostics/trace.h"

#include <algorithm>
#include <array>
#include <cstring>
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
// input that ends ends the stepping. It steps only where a person sees the rows and can
// answer them: elsewhere it is the trace, byte for byte.
// Final and static: nothing derives from it, and nothing deletes it through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class StandardErrorRows final : public TraceRows {
 public:
  void Start(TraceMode mode) {
    stepping_ = mode == TraceMode::kStep && KeysCanBeWaitedFor();
    hintShown_ = false;
    skipping_ = false;
  }

  void ExpressionBegins() override { skipping_ = false; }

  // Row: the answers so far first, so that where both streams show together, at a
  // terminal or in one file, they come in the order they happened.
  // A row that cannot be written ends the tracing: the answers go on as they would without.
  void Row(std::string_view row) override {
    FlushOutput();
    if (!WriteErrorLine({row})) {
      stepping_ = false;
      Watcher() = nullptr;
      return;
    }
    lastRowLength_ = std::min(row.size(), lastRow_.size());
    std::memcpy(lastRow_.data(), row.data(), lastRowLength_);
  }

  void StepShown() override {
    if (!stepping_ || skipping_) return;
    if (!hintShown_) {
      hintShown_ = true;
      (void)WriteErrorLine({kStepHint});
    }
    while (true) {
      const KeyRead key = ReadKey();
      switch (key.status) {
        case KeyStatus::kKey:
          skipping_ = key.key == 'q' || key.key == 'Q';
          return;
        case KeyStatus::kNone:
          stepping_ = false;
          return;
        case KeyStatus::kContinued:  // the step's row again, where the person looks now
          (void)WriteErrorLine({std::string_view(lastRow_.data(), lastRowLength_)});
          break;
      }
    }
  }

 private:
  std::array<char, kTraceColumns> lastRow_{};
  std::size_t lastRowLength_ = 0;
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
