#include "text/text_buffer.h"

#include <algorithm>

namespace intcalc {

namespace {

constexpr char kZero = '0';

}  // namespace

void RemoveBlanks(TextSpan buffer) {
  char* const begin = buffer.Storage();
  // A copy of the blank, not a reference to the inline constant: mingw's linker, under
  // link-time optimisation, warns that it finds no symbol for such a reference.
  char* const end = std::remove(begin, begin + buffer.Length(), char{kBlank});
  buffer.SetLength(static_cast<TextLength>(end - begin));
}

void StripLeadingZeros(TextSpan buffer) {
  const std::string_view text = buffer.View();
  if (text.empty() || text.front() != kZero) return;
  std::size_t zeros = text.find_first_not_of(kZero);
  if (zeros == std::string_view::npos) zeros = text.size() - 1;  // all zeros: keep the last one
  CopyText(TextView(buffer).From(static_cast<TextLength>(zeros)), buffer);
}

}  // namespace intcalc
