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

constexpr std::array<LongOption, 6> kLongOptions = {{
    {"--results", Kind::kResults},
    {"--trace", Kind::kTrace},
    {"--step", Kind::kStep},
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
    if (equals != std::string_view::npos) {
      argument = {Kind::kExpression, Part(option, equals + 1, option.size() - equals - 1)};
    } else if (index_ < arguments_.size()) {
      argument = {Kind::kExpression, arguments_[index_++]};
    } else {
      argument = {Kind::kMissingExpression, name};
    }
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
    case 'e':
      if (!last) {  // the rest of the cluster is the expression
        argument = {Kind::kExpression, Part(cluster, letter_, cluster.size() - letter_)};
        letter_ = 0;
        ++index_;
      } else if (index_ < arguments_.size()) {
        argument = {Kind::kExpression, arguments_[index_++]};
      } else {
        argument = {Kind::kMissingExpression, "-e"};
      }
      return true;
    default:
      argument = {Kind::kUnknownOption, cluster, letter};
      return true;
  }
}

}  // namespace intcalc
