#include "dialogue/arguments.h"

#include <algorithm>
#include <array>

#include "text/text_buffer.h"

namespace intcalc {

namespace {

using Kind = Argument::Kind;

struct LongOption {
  std::string_view name;
  Kind kind;
};

constexpr std::array<LongOption, 7> kLongOptions = {{
    {"--results", Kind::kResults},
    {"--trace", Kind::kTrace},
    {"--step", Kind::kStep},
    {"--no-live", Kind::kNoLive},
    {"--expression", Kind::kExpression},
    {"--help", Kind::kHelp},
    {"--version", Kind::kVersion},
}};

}  // namespace

bool ArgumentReader::Next(Argument& argument) {
  if (letter_ > 0) return NextShort(argument);
  if (index_ == arguments_.size()) return false;
  const std::string_view text = arguments_[index_];
  if (optionsEnded_ || text.size() < 2 || text[0] != '-') {
    ++index_;
    argument = {Kind::kOperand, text};
    return true;
  }
  if (text == "--") {
    ++index_;
    optionsEnded_ = true;
    return Next(argument);
  }
  if (text[1] == '-') return NextLong(text, argument);
  letter_ = 1;
  return NextShort(argument);
}

bool ArgumentReader::NextLong(std::string_view option, Argument& argument) {
  ++index_;
  const std::size_t equals = option.find('=');
  const std::string_view name = Part(option, 0, std::min(equals, option.size()));
  for (const LongOption& known : kLongOptions) {
    if (name != known.name) continue;
    if (known.kind != Kind::kExpression) {
      argument = {equals == std::string_view::npos ? known.kind : Kind::kUnwantedValue, name};
      return true;
    }
    argument =
        Expression(name, equals == std::string_view::npos ? nullptr : option.data() + equals + 1);
    return true;
  }
  argument = {Kind::kUnknownOption, name};
  return true;
}

bool ArgumentReader::NextShort(Argument& argument) {
  const std::string_view cluster = arguments_[index_];
  const char letter = cluster[letter_++];
  const bool last = letter_ == cluster.size();
  if (last) {
    letter_ = 0;
    ++index_;
  }
  switch (letter) {
    case 'r':
      argument = {Kind::kResults, cluster};
      return true;
    case 'h':
      argument = {Kind::kHelp, cluster};
      return true;
    case 'V':
      argument = {Kind::kVersion, cluster};
      return true;
    case 'e': {
      const char* const rest = last ? nullptr : cluster.data() + letter_;  // the expression
      if (!last) {
        letter_ = 0;
        ++index_;
      }
      argument = Expression("-e", rest);
      return true;
    }
    default:
      argument = {Kind::kUnknownOption, cluster, letter};
      return true;
  }
}

Argument ArgumentReader::Expression(std::string_view option, const char* attached) {
  if (attached != nullptr) return {Kind::kExpression, attached};  // it ends with its NUL
  if (index_ < arguments_.size()) return {Kind::kExpression, arguments_[index_++]};
  return {Kind::kMissingExpression, option};
}

}  // namespace intcalc
