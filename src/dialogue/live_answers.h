// The answer shown as a line is edited: the one Enter would print, by the dialogue's own
// road, on an evaluation of its own that nobody watches, so it never differs from the
// answer and never disturbs the dialogue.
#pragma once

#include <string_view>

#include "console/interactive.h"
#include "dialogue/line_answer.h"

namespace intcalc {

// LiveAnswers: what the line editor shows after a line as it is edited.
// Final, and never deleted through its base.
// NOLINTNEXTLINE(cppcoreguidelines-virtual-class-destructor)
class LiveAnswers final : public LineAnswers {
 public:
  // Answer: the result text Enter would print for `line`; nothing for a blank line, for
  // one not finished (it ends with an operator or a sign, or opens more groups than it
  // closes: an error only for now), or where the answer is the line itself.
  std::string_view Answer(std::string_view line) override;

 private:
  RawLine rawLine_{};
  ExpressionBuffer expression_;
  Evaluation evaluation_;
};

}  // namespace intcalc
