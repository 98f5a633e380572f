#include "dialogue/live_answers.h"

#include <algorithm>
#include <cstring>

namespace intcalc {

namespace {

// Finished: whether the text without blanks may be a whole expression yet: it does not end
// with an operator or a sign, and closes every group it opens.
bool Finished(std::string_view text) {
  constexpr std::string_view kOperatorsAndSigns = "-+*/\\";
  if (kOperatorsAndSigns.find(text.back()) != std::string_view::npos) return false;
  return std::count(text.begin(), text.end(), '(') <= std::count(text.begin(), text.end(), ')');
}

}  // namespace

std::string_view LiveAnswers::Answer(std::string_view line) {
  // The editor's line is shorter than a read, which the raw line holds with a NUL after it.
  const std::size_t count = std::min<std::size_t>(line.size(), kReadLimit);
  std::memcpy(rawLine_.data(), line.data(), count);
  rawLine_[count] = '\0';
  Groups groups = Groups::kMaybe;
  if (CompactInput(rawLine_, expression_, groups) || !Finished(expression_.View())) return {};
  (void)Calculate(expression_, groups, evaluation_);  // the result text is the answer either way
  const std::string_view answer = evaluation_.result.View();
  return answer == expression_.View() ? std::string_view{} : answer;
}

}  // namespace intcalc
