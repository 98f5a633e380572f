// Typing: the keys of one read applied together, each character that arrives whole going
// in whole.
#pragma once

#include <cstddef>
#include <string_view>

#include "editor/key_decoder.h"
#include "editor/line_editing.h"

namespace intcalc {

// BytesApplied: what the bytes of one read did to the line.
struct BytesApplied {
  std::size_t used = 0;  // bytes taken; those after a key that ends the line are not
  // kGoOn when every byte was taken; else what the key that stopped the taking asks for:
  // kLineDone, kEndOfInput, kInterrupt, kQuit or kSuspend.
  EditOutcome outcome = EditOutcome::kGoOn;
  bool changed = false;      // the line or the cursor may have changed: draw it again
  bool bell = false;         // a key could not be taken: ring the bell, once
  bool clearScreen = false;  // Ctrl-L: draw it on a cleared screen
};

// ApplyBytes: the keys of `bytes`, decoded by `decoder`, which keeps an unfinished key for
// the next bytes, applied in turn until one ends the line or must be acted on at once. A
// character of several code points that these bytes bring whole goes in whole or, with
// the bell, not at all.
BytesApplied ApplyBytes(EditorState& state, KeyDecoder& decoder, std::string_view bytes);

// ApplyKeys: the same for keys already decoded, such as those an Escape's wait expired.
BytesApplied ApplyKeys(EditorState& state, const Keys& keys);

}  // namespace intcalc
