// The characters of an edited line: UTF-8 decoded, user-perceived characters (Unicode's
// extended grapheme clusters: a base with its combining marks, a sequence joined by U+200D,
// a pair of regional indicators), and the columns a terminal gives each. All of it comes
// from utf8proc. A byte that begins no valid UTF-8 sequence, or that a valid one does not
// take, is a character of its own, one column wide.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/limits.h"

namespace intcalc {

// SequenceLength: the bytes of a UTF-8 sequence that begins with `lead`; 1 for a byte
// that is a character alone (an ASCII byte, or one that begins no sequence).
std::size_t SequenceLength(char lead);

// BeginsCodePoint: whether bytes, a lead byte and what followed it, may still become the
// UTF-8 of one code point, or already are.
bool BeginsCodePoint(std::string_view bytes);

// CharacterLength: the bytes of the character that begins at `index`, inside text; `index`
// is where a character begins.
std::size_t CharacterLength(std::string_view text, std::size_t index);

// CharacterBefore: where the character that ends at `index` begins; 0 < `index`.
std::size_t CharacterBefore(std::string_view text, std::size_t index);

// CharacterColumns: the columns of the character at `index`: its first code point's width
// (0 for a mark alone, 2 for a wide one), or 2 for an emoji shown as one (with U+FE0F, or
// a pair of regional indicators).
std::size_t CharacterColumns(std::string_view text, std::size_t index);

// WidthDisputed: whether the character at `index` is one whose width terminals disagree
// on: a base with a presentation selector (U+FE0F or U+FE0E), a sequence joined by
// U+200D, an emoji with a skin tone, a keycap, or a pair of regional indicators. Each is
// counted as CharacterColumns says; some terminals draw it narrower or wider.
bool WidthDisputed(std::string_view text, std::size_t index);

// ColumnsBetween: the columns of the characters from `first` up to `last`.
std::size_t ColumnsBetween(std::string_view text, std::size_t first, std::size_t last);

// CharacterJoins: a run of code points followed one by one: whether each continues the
// character of those before it (a mark after its letter, the parts of an emoji sequence)
// or begins another, as CharacterLength would split them.
class CharacterJoins {
 public:
  // Continues: for `codePoint`, the UTF-8 of one code point, or a byte that is none.
  bool Continues(std::string_view codePoint);

 private:
  std::int32_t previous_ = -1;  // none yet, or a byte that was no code point
  std::int32_t state_ = 0;      // utf8proc's, within the character
};

// IsWordCharacter: whether the character at `index` is part of a word: a letter or digit.
bool IsWordCharacter(std::string_view text, std::size_t index);

}  // namespace intcalc
