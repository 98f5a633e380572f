// The characters of an edited line: UTF-8 sequences, where each begins and ends, and how
// many columns a terminal gives it. A byte that begins no valid sequence, or that a valid
// sequence does not take, is a character of its own, one column wide.
#pragma once

#include <cstddef>
#include <string_view>

namespace intcalc {

// kLongestCharacter: the most bytes one character takes.
inline constexpr std::size_t kLongestCharacter = 4;

// SequenceLength: the bytes of a sequence that begins with `lead`; 1 for a byte that is a
// character alone (an ASCII byte, or one that begins no sequence).
std::size_t SequenceLength(char lead);

// BeginsCharacter: whether bytes, a lead byte and what followed it, may still become one
// valid character, or already are one.
bool BeginsCharacter(std::string_view bytes);

// CharacterLength: the bytes of the character that begins at `index`, which is inside text.
std::size_t CharacterLength(std::string_view text, std::size_t index);

// CharacterBefore: where the character that ends at `index` begins; `index` > 0.
std::size_t CharacterBefore(std::string_view text, std::size_t index);

// CharacterColumns: 2 for an East Asian wide character at `index`, else 1.
std::size_t CharacterColumns(std::string_view text, std::size_t index);

// ColumnsBetween: the columns of the characters from `first` up to `last`.
std::size_t ColumnsBetween(std::string_view text, std::size_t first, std::size_t last);

}  // namespace intcalc
