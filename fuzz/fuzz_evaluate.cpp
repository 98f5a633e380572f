// Evaluates arbitrary bytes as an expression and checks what the result text may be:
// at most 20 characters with a NUL after them, and an error word, a decimal number in
// range, or, for a lone operand, the text itself.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "eval/expression.h"
#include "support/dialogue_shape.h"
#include "support/load_text.h"
#include "text/result_text.h"

namespace {

void Require(bool holds, const char* what, std::string_view text) {
  if (holds) return;
  std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace intcalc;
  static Evaluation evaluation;
  LoadText({reinterpret_cast<const char*>(data), size}, evaluation.working);
  ClearText(evaluation.result);
  (void)EvaluateExpression(evaluation);

  const std::string_view result = evaluation.result.View();
  Require(result.size() <= kResultCapacity, "result text too long", result);
  Require(ByteAfter(evaluation.result) == '\0', "no NUL after the result", result);
  Require(IsPossibleResult(result), "impossible result", result);
  const bool decimalOrWord =
      result == kErrorWord || result == kOverflowWord || result.front() != ' ';
  const std::string_view text = evaluation.working.View();
  Require(decimalOrWord || result == text.substr(0, kResultCapacity),
          "a lone operand's result is not its text", result);
  return 0;
}
