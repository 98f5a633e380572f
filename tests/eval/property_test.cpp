// Random well-formed expressions, checked against an evaluation in 64-bit integers written
// here from the rules a person is told: precedence, left to right, truncating division, a
// remainder with the product's sign, and the range -4294967295 to 4294967295.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "support/calculate.h"

namespace intcalc {
namespace {

constexpr std::int64_t kLimit = 4294967295;
constexpr std::size_t kLongestExpression = 80;  // fits any group as well as the line
constexpr int kExpressions = 50000;
constexpr int kDeepest = 3;

// ---- Reference evaluation -------------------------------------------------------------

class Reference {
 public:
  explicit Reference(std::string_view text) : text_(text) {}

  // Value: the expression's value, or nothing when a step leaves the range or divides by 0.
  std::optional<std::int64_t> Value() {
    const auto value = Sum();
    if (position_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  static std::optional<std::int64_t> InRange(std::int64_t value) {
    if (value > kLimit || value < -kLimit) return std::nullopt;
    return value;
  }

  static std::optional<std::int64_t> Apply(std::int64_t left, char op, std::int64_t right) {
    switch (op) {
      case '+':
        return InRange(left + right);
      case '-':
        return InRange(left - right);
      case '*': {  // the product of two values in range may not fit 64 bits
        const std::int64_t magnitude = right < 0 ? -right : right;
        if (magnitude != 0 && (left < 0 ? -left : left) > kLimit / magnitude) return std::nullopt;
        return left * right;
      }
      case '/':
        if (right == 0) return std::nullopt;
        return left / right;
      default: {  // remainder: the magnitudes' remainder with the product's sign
        if (right == 0) return std::nullopt;
        const std::int64_t magnitude = (left < 0 ? -left : left) % (right < 0 ? -right : right);
        return (left < 0) != (right < 0) ? -magnitude : magnitude;
      }
    }
  }

  std::optional<std::int64_t> Sum() {
    auto value = Product();
    while (value && position_ < text_.size() && (Peek() == '+' || Peek() == '-')) {
      const char op = text_[position_++];
      const auto right = Product();
      value = right ? Apply(*value, op, *right) : std::nullopt;
    }
    return value;
  }

  std::optional<std::int64_t> Product() {
    auto value = Factor();
    while (value && (Peek() == '*' || Peek() == '/' || Peek() == '\\')) {
      const char op = text_[position_++];
      const auto right = Factor();
      value = right ? Apply(*value, op, *right) : std::nullopt;
    }
    return value;
  }

  std::optional<std::int64_t> Factor() {
    if (Peek() == '(') {
      ++position_;
      const auto value = Sum();
      if (Peek() != ')') return std::nullopt;
      ++position_;
      return value;
    }
    bool negative = false;
    if (Peek() == '-' || Peek() == '+') negative = text_[position_++] == '-';
    std::int64_t value = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      value = value * 10 + (text_[position_++] - '0');
      if (value > kLimit) return std::nullopt;
    }
    return negative ? -value : value;
  }

  char Peek() const { return position_ < text_.size() ? text_[position_] : '\0'; }

  std::string_view text_;
  std::size_t position_ = 0;
};

// ---- Generation -----------------------------------------------------------------------

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  // Expression: at least one operator, so the result is always calculated.
  std::string Expression(int depth = 0) {
    std::string text = Factor(depth);
    const int operators = Pick(1, 4);
    for (int index = 0; index < operators; ++index) {
      text += "+-*/\\"[Pick(0, 4)];
      text += Factor(depth);
    }
    return text;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // Factor: a group holding an expression, or a number with an optional sign and leading
  // zeros. No sign goes before a group, where it would join the group's own sign.
  std::string Factor(int depth) {
    std::string text;
    if (depth < kDeepest && Pick(0, 3) == 0) {
      text += '(';
      text += Expression(depth + 1);
      text += ')';
      return text;
    }
    const int sign = Pick(0, 5);
    if (sign == 0) text += '-';
    if (sign == 1) text += '+';
    if (Pick(0, 9) == 0) text.append(static_cast<std::size_t>(Pick(1, 3)), '0');
    std::uint64_t magnitude = 0;
    switch (Pick(0, 3)) {
      case 0:
        magnitude = static_cast<std::uint64_t>(Pick(0, 9));
        break;
      case 1:
      case 2:
        magnitude = static_cast<std::uint64_t>(Pick(0, 99999));
        break;
      default:
        magnitude = std::uniform_int_distribution<std::uint64_t>(0, kLimit)(random_);
        break;
    }
    text += std::to_string(magnitude);
    return text;
  }

  std::mt19937 random_;
};

TEST(PropertyTest, AgreesWithSixtyFourBitEvaluation) {
  Generator generator(20261208);
  int compared = 0;
  for (int attempt = 0; attempt < kExpressions; ++attempt) {
    const std::string expression = generator.Expression();
    if (expression.size() > kLongestExpression) continue;
    const auto expected = Reference(expression).Value();
    if (!expected) continue;
    ++compared;
    ASSERT_EQ(Calculate(expression), std::to_string(*expected)) << expression;
  }
  EXPECT_GT(compared, kExpressions / 4) << "too few expressions stayed within range";
}

}  // namespace
}  // namespace intcalc
