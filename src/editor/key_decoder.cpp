#include "editor/key_decoder.h"

#include "text/decimal.h"
#include "text/limits.h"

namespace intcalc {

namespace {

constexpr char kEscape = '\x1b';
constexpr char kDeleteKey = '\x7f';  // what Backspace sends
constexpr char kFirstPrintable = ' ';
// The modifier parameter of a cursor key (ESC [ 1 ; m C): 1 + Shift 1 + Alt 2 + Ctrl 4.
constexpr unsigned kAltModifier = 3;
constexpr unsigned kControlModifier = 5;

// EditingControl: what a control key asks of the editor itself; kNone for those that ask
// nothing.
constexpr EditAction EditingControl(char byte) {
  switch (byte) {
    case '\x01':  // Ctrl-A
      return EditAction::kHome;
    case '\x02':  // Ctrl-B
      return EditAction::kLeft;
    case '\x04':  // Ctrl-D
      return EditAction::kEndOfFile;
    case '\x05':  // Ctrl-E
      return EditAction::kEnd;
    case '\x06':  // Ctrl-F
      return EditAction::kRight;
    case '\x07':  // Ctrl-G
      return EditAction::kCancel;
    case '\x08':  // Ctrl-H
    case kDeleteKey:
      return EditAction::kErase;
    case '\x0b':  // Ctrl-K
      return EditAction::kKillToEnd;
    case '\x0c':  // Ctrl-L
      return EditAction::kClearScreen;
    case '\r':  // Enter
    case '\n':  // Ctrl-J
      return EditAction::kEnter;
    case '\x0e':  // Ctrl-N
      return EditAction::kDown;
    case '\x10':  // Ctrl-P
      return EditAction::kUp;
    case '\x12':  // Ctrl-R
      return EditAction::kSearchBackward;
    case '\x14':  // Ctrl-T
      return EditAction::kTranspose;
    case '\x15':  // Ctrl-U
      return EditAction::kKillToStart;
    case '\x17':  // Ctrl-W
      return EditAction::kKillToBlank;
    case '\x19':  // Ctrl-Y
      return EditAction::kYank;
    case '\x1f':  // Ctrl-_
      return EditAction::kUndo;
    default:
      return EditAction::kNone;
  }
}

// AltAction: what Escape and a key, as a terminal sends the key with Alt, ask for.
constexpr EditAction AltAction(char byte) {
  switch (byte) {
    case 'b':
    case 'B':
      return EditAction::kWordLeft;
    case 'f':
    case 'F':
      return EditAction::kWordRight;
    case 'd':
    case 'D':
      return EditAction::kKillWordAfter;
    case '\x08':  // Ctrl-H
    case kDeleteKey:
      return EditAction::kKillWordBefore;
    default:
      return EditAction::kNone;
  }
}

constexpr bool ByWord(unsigned modifier) {
  return modifier == kAltModifier || modifier == kControlModifier;
}

// SequenceAction: what ESC [ or ESC O, a number and a modifier, and a final byte ask for.
constexpr EditAction SequenceAction(char final, unsigned number, unsigned modifier) {
  switch (final) {
    case 'A':
      return EditAction::kUp;
    case 'B':
      return EditAction::kDown;
    case 'C':
      return ByWord(modifier) ? EditAction::kWordRight : EditAction::kRight;
    case 'D':
      return ByWord(modifier) ? EditAction::kWordLeft : EditAction::kLeft;
    case 'H':
      return EditAction::kHome;
    case 'F':
      return EditAction::kEnd;
    case '~':
      if (number == 1 || number == 7) return EditAction::kHome;
      if (number == 4 || number == 8) return EditAction::kEnd;
      if (number == 3) return EditAction::kDelete;
      return EditAction::kNone;
    default:
      return EditAction::kNone;
  }
}

Key ActionKey(EditAction action) {
  Key key;
  key.action = action;
  return key;
}

Key CharacterKey(std::string_view character) {
  Key key;
  key.action = EditAction::kInsert;
  key.character.Append(character);
  return key;
}

}  // namespace

Keys KeyDecoder::Feed(char byte) {
  if (pending_ > 0 && bytes_[0] == kEscape) return FeedSequence(byte);
  if (pending_ > 0) return FeedCodePoint(byte);

  Keys keys;
  if (byte == kEscape || SequenceLength(byte) > 1) {
    bytes_[pending_++] = byte;
    return keys;
  }
  const EditAction control = ControlAction(byte);
  if (control == EditAction::kNone &&
      static_cast<unsigned char>(byte) >= static_cast<unsigned char>(kFirstPrintable)) {
    keys.Push(CharacterKey({&byte, 1}));  // a printable byte, or one that begins nothing
  } else {
    keys.Push(ActionKey(control));  // kNone for a control that asks nothing
  }
  return keys;
}

// ControlAction: the terminal's own keys first, then the editor's.
EditAction KeyDecoder::ControlAction(char byte) const {
  const int key = static_cast<unsigned char>(byte);
  if (key == terminalKeys_.interrupt) return EditAction::kInterrupt;
  if (key == terminalKeys_.quit) return EditAction::kQuit;
  if (key == terminalKeys_.suspend) return EditAction::kSuspend;
  if (key == terminalKeys_.erase) return EditAction::kErase;
  if (key == terminalKeys_.eraseWord) return EditAction::kKillToBlank;
  if (key == terminalKeys_.kill) return EditAction::kKillToStart;
  if (key == terminalKeys_.endOfFile) return EditAction::kEndOfFile;
  return EditingControl(byte);
}

Keys KeyDecoder::FeedSequence(char byte) {
  Keys keys;
  if (byte == kEscape) {  // an Escape always begins a sequence; an unfinished one is dropped
    pending_ = 1;
    return keys;
  }
  if (pending_ == 1) {  // the introducer, or the key pressed with Alt
    if (byte == '[' || byte == 'O') {
      bytes_[pending_++] = byte;
      numbers_ = {};
      parameters_ = 0;
      separators_ = 0;
    } else if (SequenceLength(byte) > 1) {
      bytes_[pending_++] = byte;  // Alt and a character of several bytes
    } else {
      pending_ = 0;
      keys.Push(ActionKey(AltAction(byte)));
    }
    return keys;
  }
  if (SequenceLength(bytes_[1]) > 1) return FeedAltCodePoint(byte);
  if ((byte >= '0' && byte <= '9') || byte == ';') {
    if (++parameters_ <= kLongestParameters) {
      if (byte == ';') {
        ++separators_;
      } else if (separators_ < numbers_.size()) {
        unsigned& number = numbers_[separators_];
        number = number * kDecimalBase + static_cast<unsigned>(byte - '0');
      }
    }
    return keys;
  }
  pending_ = 0;  // the final byte: a sequence with more parameters than ours asks nothing
  keys.Push(ActionKey(parameters_ <= kLongestParameters
                          ? SequenceAction(byte, numbers_[0], numbers_[1])
                          : EditAction::kNone));
  return keys;
}

// FeedAltCodePoint: the rest of a character of several bytes pressed with Alt, one key
// that asks nothing, taken whole; broken off, none at all, and this byte starts afresh.
Keys KeyDecoder::FeedAltCodePoint(char byte) {
  bytes_[pending_] = byte;
  const std::string_view codePoint(bytes_.data() + 1, pending_);
  if (!BeginsCodePoint(codePoint)) {
    pending_ = 0;
    return Feed(byte);
  }
  Keys keys;
  if (++pending_ == 1 + SequenceLength(bytes_[1])) {
    pending_ = 0;
    keys.Push(ActionKey(EditAction::kNone));
  }
  return keys;
}

Keys KeyDecoder::FeedCodePoint(char byte) {
  bytes_[pending_] = byte;
  if (BeginsCodePoint({bytes_.data(), pending_ + 1})) {
    Keys keys;
    if (++pending_ == SequenceLength(bytes_[0])) {
      keys.Push(CharacterKey({bytes_.data(), pending_}));
      pending_ = 0;
    }
    return keys;
  }
  // Broken off: the bytes so far are characters of their own, and this byte starts afresh.
  Keys keys = Expire();
  keys.Append(Feed(byte).Elements());
  return keys;
}

Keys KeyDecoder::Expire() {
  Keys keys;
  if (pending_ == 1 && bytes_[0] == kEscape) {
    keys.Push(ActionKey(EditAction::kEscape));
  } else if (pending_ > 0 && bytes_[0] == kEscape) {
    keys.Push(ActionKey(EditAction::kNone));  // a key cut short: a key still, that asks nothing
  } else {
    for (std::size_t index = 0; index < pending_; ++index) {
      keys.Push(CharacterKey({&bytes_[index], 1}));
    }
  }
  pending_ = 0;
  return keys;
}

}  // namespace intcalc
