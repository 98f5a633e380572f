// Counted text buffers: fixed capacity, current length, and a NUL after the text.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/move_bytes.h"

namespace intcalc {

using TextLength = std::uint32_t;

// kBlank: the one byte the calculator takes for a blank; a tab is not one.
inline constexpr char kBlank = ' ';

// kTextSlack: bytes every TextBuffer holds after the NUL past its capacity, so that a
// block moved from or to the start of the text stays inside the buffer.
inline constexpr TextLength kTextSlack = kPaddedBlock;

// CheckBounds: stops the program rather than let a write leave its buffer.
// Every index and length that reaches a buffer's storage passes through here.
constexpr void CheckBounds(bool holds) {
  if (!holds) [[unlikely]] {
    std::abort();
  }
}

template <TextLength kCapacity>
class TextBuffer;

// TextSpan: a capacity-erased handle to one TextBuffer; what the text operations take.
// It keeps the buffer's invariant: length <= capacity and text[length] == NUL. Only a
// TextBuffer makes one, so kTextSlack bytes always follow the capacity.
class TextSpan {
 public:
  constexpr TextLength Capacity() const { return capacity_; }
  constexpr TextLength Length() const {
    CheckBounds(*length_ <= capacity_);
    return *length_;
  }
  constexpr bool IsEmpty() const { return *length_ == 0; }
  constexpr std::string_view View() const { return {text_, Length()}; }
  constexpr operator std::string_view() const { return View(); }

  constexpr char At(TextLength index) const {
    CheckBounds(index < *length_);
    return text_[index];
  }
  // Put: overwrites one character that the buffer already holds.
  constexpr void Put(TextLength index, char character) const {
    CheckBounds(index < *length_);
    text_[index] = character;
  }
  // SetLength: makes the first `length` characters the text and writes the NUL after them.
  constexpr void SetLength(TextLength length) const {
    CheckBounds(length <= capacity_);
    *length_ = length;
    text_[length] = '\0';
  }
  // AdoptLength: SetLength for text whose NUL is already in place; it stores nothing,
  // so a wide read that soon follows a wide write of the text is not held up.
  constexpr void AdoptLength(TextLength length) const {
    CheckBounds(length <= capacity_ && text_[length] == '\0');
    *length_ = length;
  }
  // Storage: the writable characters, for bulk copies; the caller then sets the length.
  constexpr char* Storage() const { return text_; }

 private:
  template <TextLength kCapacity>
  friend class TextBuffer;

  constexpr TextSpan(char* text, TextLength capacity, TextLength* length)
      : text_(text), capacity_(capacity), length_(length) {}

  char* text_;
  TextLength capacity_;
  TextLength* length_;
};

// TextBuffer: the statically sized storage behind a TextSpan.
template <TextLength kCapacity>
class TextBuffer {
 public:
  constexpr TextBuffer() = default;
  ~TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  TextBuffer(TextBuffer&&) = delete;
  TextBuffer& operator=(TextBuffer&&) = delete;

  static constexpr TextLength Capacity() { return kCapacity; }
  constexpr TextLength Length() const { return length_; }
  constexpr std::string_view View() const {
    CheckBounds(length_ <= kCapacity);
    return {text_.data(), length_};
  }
  constexpr const char* CString() const { return text_.data(); }

  constexpr TextSpan Span() { return {text_.data(), kCapacity, &length_}; }
  // A TextBuffer converts to a TextSpan only, so text operations given a buffer take the
  // overloads that use its slack.
  constexpr operator TextSpan() { return Span(); }

 private:
  TextLength length_ = 0;
  std::array<char, kCapacity + 1 + kTextSlack> text_{};
};

// ClearText: length 0, first byte NUL.
inline void ClearText(TextSpan buffer) {
  buffer.SetLength(0);
}

namespace detail {

using MoveFunction = void (*)(char*, const char*, std::size_t);

template <MoveFunction kMove>
inline void CopyTextWith(std::string_view source, TextSpan destination) {
  const TextLength length = source.size() < destination.Capacity()
                                ? static_cast<TextLength>(source.size())
                                : destination.Capacity();
  kMove(destination.Storage(), source.data(), length);
  destination.SetLength(length);
}

template <MoveFunction kMove>
inline void AppendTextWith(std::string_view source, TextSpan destination) {
  const TextLength room = destination.Capacity() - destination.Length();
  if (source.empty() || source.size() > room) return;
  const auto added = static_cast<TextLength>(source.size());
  kMove(destination.Storage() + destination.Length(), source.data(), added);
  destination.SetLength(destination.Length() + added);
}

}  // namespace detail

// CopyText: makes destination hold source's text, silently cut to destination's capacity.
// Source may be part of destination's own text.
inline void CopyText(std::string_view source, TextSpan destination) {
  detail::CopyTextWith<MoveBytes>(source, destination);
}
inline void CopyText(TextSpan source, TextSpan destination) {
  detail::CopyTextWith<MovePadded>(source.View(), destination);
}

// AppendText: adds source after destination's text, or changes nothing if it would not fit.
inline void AppendText(std::string_view source, TextSpan destination) {
  detail::AppendTextWith<MoveBytes>(source, destination);
}
inline void AppendText(TextSpan source, TextSpan destination) {
  detail::AppendTextWith<MovePadded>(source.View(), destination);
}

// RemoveBlanks: removes every blank (byte 32, and only that byte) in place.
void RemoveBlanks(TextSpan buffer);

// StripLeadingZeros: removes leading "0" characters, keeping one "0" when the text is all zeros.
void StripLeadingZeros(TextSpan buffer);

}  // namespace intcalc
