#include "diagnostics/trace_rows.h"

#include <algorithm>

namespace intcalc {

namespace {

constexpr std::string_view kSpaces = "                                        ";
constexpr std::size_t kMostIndent = 2;
static_assert(kMostIndent + kLongestLabel + 1 <= kSpaces.size());

constexpr std::string_view kStepLabel = "step";
constexpr std::string_view kStepHint = "Enter: the next step; q: the rest of this expression";

}  // namespace

void TraceRows::Start(Console& console, bool step) {
  console_ = &console;
  stepping_ = step && Console::KeysCanBeWaitedFor();
  hintShown_ = false;
  skipping_ = false;
}

std::size_t TraceRows::TextWidth(std::size_t indent, std::string_view label) {
  return kTraceColumns - indent - std::max(label.size(), kTraceLabelWidth) - 1;
}

void TraceRows::WriteRow(std::size_t indent, std::string_view label, std::string_view text,
                         bool continued) {
  if (Send(indent, label, text, continued)) lastRow_ = row_;
}

// Send: the row made and written; false, and no more rows, when it could not be written.
bool TraceRows::Send(std::size_t indent, std::string_view label, std::string_view text,
                     bool continued) {
  if (console_ == nullptr) return false;
  CheckBounds(indent <= kMostIndent && label.size() <= kLongestLabel);
  const std::size_t labelWidth = std::max(label.size(), kTraceLabelWidth);
  const std::string_view shown = continued ? std::string_view{} : label;
  row_.Clear();
  row_.Append(Part(kSpaces, 0, indent));
  row_.Append(shown);
  row_.Append(Part(kSpaces, 0, labelWidth - shown.size() + 1));
  row_.Append(text);
  if (console_->ReadyToWait() && console_->WriteErrorLine({row_.View()})) return true;
  console_ = nullptr;
  stepping_ = false;
  return false;
}

void TraceRows::StepShown() {
  if (console_ == nullptr || !stepping_ || skipping_) return;
  if (!hintShown_) {
    hintShown_ = true;
    (void)Send(0, kStepLabel, kStepHint, false);  // not a step's row, which a continue shows again
  }
  while (console_ != nullptr) {
    const KeyRead key = console_->ReadKey();
    switch (key.status) {
      case KeyStatus::kKey:
        skipping_ = key.key == 'q' || key.key == 'Q';
        return;
      case KeyStatus::kNone:
        stepping_ = false;
        return;
      case KeyStatus::kContinued:  // the step's row again, where the person looks now
        (void)console_->WriteErrorLine({lastRow_.View()});
        break;
    }
  }
}

}  // namespace intcalc
