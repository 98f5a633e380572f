#include "support/dialogue_shape.h"

#include <algorithm>
#include <cstdint>

namespace intcalc {

namespace {

constexpr std::size_t kPieceLimit = 121;
constexpr std::size_t kLongestResult = 20;
constexpr std::uint64_t kLargest = 4294967295;
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kIntro =
    "It does Sub(-), Add(+), Mul(*), Div(/) and Remainder(\\)\r\n"
    "It uses integers from -4 294 967 295 to 4 294 967 295 \r\n\r\n";
constexpr std::string_view kPrompt =
    "Type an expression and press enter [ ex: -2 + 3*(7 - 2*8) ]\r\n";
constexpr std::string_view kExpressionLabel = "This is your expression: ";
constexpr std::string_view kResultLabel = "This is your Result:  ";
constexpr std::string_view kRule = "---------------------------------------------\r\n";

bool IsDigit(char character) {
  return character >= '0' && character <= '9';
}

// Compact: the piece up to its first NUL, CR or LF, without blanks.
std::string Compact(std::string_view piece) {
  std::string expression;
  for (const char byte : piece) {
    if (byte == '\0' || byte == '\r' || byte == '\n') break;
    if (byte != ' ') expression += byte;
  }
  return expression;
}

bool IsDecimalInRange(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  if (text.empty() || text.size() > 10 || !std::all_of(text.begin(), text.end(), IsDigit)) {
    return false;
  }
  if (text.size() > 1 && text.front() == '0') return false;
  return std::stoull(std::string(text)) <= kLargest;
}

bool IsLoneOperand(std::string_view text) {
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  return std::all_of(text.begin(), text.end(), IsDigit);
}

// Reader: walks through the output, noting the first place it differs from the model.
class Reader {
 public:
  explicit Reader(std::string_view output) : output_(output) {}

  bool Expect(std::string_view text, const std::string& what) {
    if (output_.substr(position_, text.size()) == text) {
      position_ += text.size();
      return true;
    }
    Fail("expected " + what);
    return false;
  }

  // UpToLineEnd: the bytes before the next CR LF, which it passes.
  bool UpToLineEnd(std::string& text, const std::string& what) {
    const std::size_t end = output_.find(kLineEnd, position_);
    if (end == std::string_view::npos) {
      Fail("no line end after " + what);
      return false;
    }
    text = std::string(output_.substr(position_, end - position_));
    position_ = end + kLineEnd.size();
    return true;
  }

  bool AtEnd() {
    if (position_ == output_.size()) return true;
    Fail("output goes on after the last prompt");
    return false;
  }

  void Fail(const std::string& what) {
    if (!problem_.empty()) return;
    problem_ = "at output byte " + std::to_string(position_) + ": " + what + "; found \"" +
               std::string(output_.substr(position_, 60)) + "\"";
  }

  const std::string& Problem() const { return problem_; }

 private:
  std::string_view output_;
  std::size_t position_ = 0;
  std::string problem_;
};

}  // namespace

std::vector<std::string> ModelPieces(std::string_view input) {
  std::vector<std::string> pieces;
  while (!input.empty()) {
    const std::size_t lineFeed = input.find('\n');
    std::string line(input.substr(0, lineFeed));
    input.remove_prefix(lineFeed == std::string_view::npos ? input.size() : lineFeed + 1);
    if (lineFeed != std::string_view::npos && !line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    line += kLineEnd;
    for (std::size_t at = 0; at < line.size(); at += kPieceLimit) {
      pieces.push_back(line.substr(at, kPieceLimit));
    }
  }
  return pieces;
}

bool IsPossibleResult(std::string_view result) {
  if (result.empty() || result.size() > kLongestResult) return false;
  // "ResolveIt ERROR" is not among them: tables the reader builds always reach a result.
  return result == "ERROR" || result == "OVERFLOW" || IsDecimalInRange(result) ||
         IsLoneOperand(result);
}

std::string CheckDialogue(std::string_view input, std::string_view output,
                          std::vector<std::string>* results) {
  Reader reader(output);
  if (!reader.Expect(kIntro, "the intro") || !reader.Expect(kPrompt, "the prompt")) {
    return reader.Problem();
  }
  int block = 0;
  for (const std::string& piece : ModelPieces(input)) {
    ++block;
    const std::string where = " of block " + std::to_string(block);
    const std::string expression = Compact(piece);
    if (expression.empty()) {
      if (!reader.Expect(kIntro, "the intro again" + where) ||
          !reader.Expect(kPrompt, "the prompt" + where)) {
        return reader.Problem();
      }
      continue;
    }
    std::string result;
    if (!reader.Expect(kExpressionLabel, "the expression label" + where) ||
        !reader.Expect(expression, "the expression \"" + expression + "\"" + where) ||
        !reader.Expect(kLineEnd, "the expression's line end" + where) ||
        !reader.Expect(kResultLabel, "the result label" + where) ||
        !reader.UpToLineEnd(result, "the result" + where)) {
      return reader.Problem();
    }
    if (!IsPossibleResult(result)) {
      reader.Fail("an impossible result \"" + result + "\"" + where);
      return reader.Problem();
    }
    if (results != nullptr) results->push_back(result);
    if (!reader.Expect(expression + "=" + result + "\r\n", "the echo line" + where) ||
        !reader.Expect(kRule, "the rule" + where) ||
        !reader.Expect(kPrompt, "the prompt" + where)) {
      return reader.Problem();
    }
  }
  reader.AtEnd();
  return reader.Problem();
}

std::string CheckTrace(std::string_view trace, std::size_t expressions) {
  constexpr std::size_t kColumns = 80;
  std::size_t begun = 0;
  std::size_t ended = 0;
  while (!trace.empty()) {
    const std::size_t end = trace.find('\n');
    if (end == std::string_view::npos) return "a trace line without a line end";
    const std::string_view line = trace.substr(0, end);
    trace.remove_prefix(end + 1);
    if (line.size() > kColumns) return "a trace line wider than 80 columns: " + std::string(line);
    const auto printable = [](char byte) { return byte >= ' ' && byte <= '~'; };
    if (!std::all_of(line.begin(), line.end(), printable)) {
      return "a trace line with a byte that is not printable: " + std::string(line);
    }
    if (line.starts_with("expression ")) ++begun;
    if (line.starts_with("result ")) ++ended;
  }
  if (begun != expressions || ended != expressions) {
    return std::to_string(expressions) + " expressions, but " + std::to_string(begun) +
           " expression lines and " + std::to_string(ended) + " result lines";
  }
  return "";
}

std::string ExpectedResults(std::string_view input, const std::vector<std::string>& results,
                            std::string_view lineEnd) {
  std::string expected;
  std::size_t next = 0;       // the next of the dialogue's results
  std::size_t evaluated = 0;  // in the line so far
  std::string lineResult;
  for (const std::string& piece : ModelPieces(input)) {
    if (!Compact(piece).empty()) {
      lineResult = next < results.size() ? results[next] : "<missing result>";
      ++next;
      ++evaluated;
    }
    if (piece.back() != '\n') continue;
    expected += evaluated == 0 ? "" : evaluated == 1 ? lineResult : "ERROR";
    expected += lineEnd;
    evaluated = 0;
  }
  return expected;
}

}  // namespace intcalc
