#include "text/text_buffer.h"

#include <algorithm>
#include <cstring>

namespace intcalc {

namespace {

constexpr char kBlank = ' ';
constexpr char kZero = '0';

// ClampedLength: the length of a view as a TextLength, capped so no text can wrap the count.
TextLength ClampedLength(std::string_view text, TextLength limit) {
  return static_cast<TextLength>(std::min<std::size_t>(text.size(), limit));
}

}  // namespace

void ClearText(TextSpan buffer) {
  buffer.SetLength(0);
}

void CopyText(std::string_view source, TextSpan destination) {
  const TextLength length = ClampedLength(source, destination.Capacity());
  // memmove: a caller may copy a buffer's own tail to its front.
  std::memmove(destination.Storage(), source.data(), length);
  destination.SetLength(length);
}

void AppendText(std::string_view source, TextSpan destination) {
  if (source.empty()) return;
  const TextLength room = destination.Capacity() - destination.Length();
  if (source.size() > room) return;
  const auto added = static_cast<TextLength>(source.size());
  std::memmove(destination.Storage() + destination.Length(), source.data(), added);
  destination.SetLength(destination.Length() + added);
}

void RemoveBlanks(TextSpan buffer) {
  char* const begin = buffer.Storage();
  char* const end = std::remove(begin, begin + buffer.Length(), kBlank);
  buffer.SetLength(static_cast<TextLength>(end - begin));
}

void StripLeadingZeros(TextSpan buffer) {
  const std::string_view text = buffer.View();
  if (text.empty() || text.front() != kZero) return;
  std::size_t zeros = text.find_first_not_of(kZero);
  if (zeros == std::string_view::npos) zeros = text.size() - 1;  // all zeros: keep the last one
  CopyText(text.substr(zeros), buffer);
}

}  // namespace intcalc
