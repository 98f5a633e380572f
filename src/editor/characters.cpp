#include "editor/characters.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/text_buffer.h"

namespace intcalc {

namespace {

using CodePoint = std::uint32_t;

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;
constexpr unsigned kContinuationShift = 6;
constexpr CodePoint kContinuationValue = 0x3F;

constexpr unsigned char Byte(char byte) {
  return static_cast<unsigned char>(byte);
}

constexpr bool IsContinuation(char byte) {
  return (Byte(byte) & kContinuationMask) == kContinuationBits;
}

// The second byte's range for each lead, which rules out overlong forms, surrogates and
// code points beyond U+10FFFF.
struct Lead {
  unsigned char first;
  unsigned char last;
  std::size_t length;
  unsigned char secondLow;
  unsigned char secondHigh;
  CodePoint valueMask;
};

constexpr std::array<Lead, 8> kLeads = {{
    {0xC2, 0xDF, 2, 0x80, 0xBF, 0x1F},
    {0xE0, 0xE0, 3, 0xA0, 0xBF, 0x0F},
    {0xE1, 0xEC, 3, 0x80, 0xBF, 0x0F},
    {0xED, 0xED, 3, 0x80, 0x9F, 0x0F},
    {0xEE, 0xEF, 3, 0x80, 0xBF, 0x0F},
    {0xF0, 0xF0, 4, 0x90, 0xBF, 0x07},
    {0xF1, 0xF3, 4, 0x80, 0xBF, 0x07},
    {0xF4, 0xF4, 4, 0x80, 0x8F, 0x07},
}};

const Lead* FindLead(char byte) {
  const auto* const found = std::find_if(kLeads.begin(), kLeads.end(), [byte](const Lead& lead) {
    return Byte(byte) >= lead.first && Byte(byte) <= lead.last;
  });
  return found == kLeads.end() ? nullptr : found;
}

// The East Asian wide and fullwidth blocks a terminal shows in two columns.
struct Range {
  CodePoint first;
  CodePoint last;
};

constexpr std::array<Range, 15> kWide = {{
    {0x1100, 0x115F},
    {0x2E80, 0x303E},
    {0x3041, 0x33FF},
    {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF},
    {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},
    {0xFE30, 0xFE4F},
    {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF},
    {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
}};

}  // namespace

std::size_t SequenceLength(char lead) {
  const Lead* found = FindLead(lead);
  return found == nullptr ? 1 : found->length;
}

bool BeginsCharacter(std::string_view bytes) {
  const Lead* lead = bytes.empty() ? nullptr : FindLead(bytes[0]);
  if (lead == nullptr || bytes.size() > lead->length) return false;
  if (bytes.size() >= 2) {
    const unsigned char second = Byte(bytes[1]);
    if (second < lead->secondLow || second > lead->secondHigh) return false;
  }
  for (std::size_t next = 2; next < bytes.size(); ++next) {
    if (!IsContinuation(bytes[next])) return false;
  }
  return true;
}

std::size_t CharacterLength(std::string_view text, std::size_t index) {
  const std::size_t length = SequenceLength(text[index]);
  if (length == 1 || text.size() - index < length) return 1;
  return BeginsCharacter(Part(text, index, length)) ? length : 1;
}

std::size_t CharacterBefore(std::string_view text, std::size_t index) {
  // A character of several bytes ends with continuation bytes, at most three of them.
  for (std::size_t back = 2; back <= kLongestCharacter && back <= index; ++back) {
    if (!IsContinuation(text[index - back + 1])) break;
    if (CharacterLength(text, index - back) == back) return index - back;
  }
  return index - 1;
}

std::size_t CharacterColumns(std::string_view text, std::size_t index) {
  const std::size_t length = CharacterLength(text, index);
  if (length == 1) return 1;
  CodePoint value = Byte(text[index]) & FindLead(text[index])->valueMask;
  for (std::size_t next = 1; next < length; ++next) {
    value = (value << kContinuationShift) | (Byte(text[index + next]) & kContinuationValue);
  }
  const bool wide = std::any_of(kWide.begin(), kWide.end(), [value](const Range& range) {
    return value >= range.first && value <= range.last;
  });
  return wide ? 2 : 1;
}

std::size_t ColumnsBetween(std::string_view text, std::size_t first, std::size_t last) {
  std::size_t columns = 0;
  for (std::size_t index = first; index < last; index += CharacterLength(text, index)) {
    columns += CharacterColumns(text, index);
  }
  return columns;
}

}  // namespace intcalc
