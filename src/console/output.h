// Standard output and standard error: answers kept and written out in big writes, the one
// rule before a read that may wait, and the messages.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string_view>

#include "console/platform.h"
#include "console/read_result.h"
#include "text/bounded_array.h"
#include "text/limits.h"
#include "text/text_buffer.h"

namespace intcalc {

// kMessageStart: what begins every message of the program's own: its name.
inline constexpr std::string_view kMessageStart = "intcalc: ";

// Output: what is written to standard output and not yet written out, and whether a write
// has failed, after which nothing more is written. What is kept is written out before any
// read that may wait (ReadyToWait), whenever the buffer fills, and by Flush.
class Output {
 public:
  static constexpr TextLength kCapacity = kOutputCapacity;

  constexpr Output() = default;

  // Write: the texts, kept as one append when they all fit; else written out first, and
  // what the buffer cannot hold at all at once.
  template <typename... Texts>
  void Write(const Texts&... texts) {
    if (!AppendTexts(pending_, texts...)) [[unlikely]] {
      KeepAfterFlush({TextView(texts)...});
    }
  }
  void Write(TextView text) {
    if (text.Length() <= kCapacity - pending_.Length()) {
      AppendText(text, pending_);  // fits: checked just above
      return;
    }
    KeepAfterFlush({text});
  }

  // WriteBytes: the same for bytes that are no text of the program's own, such as the
  // drawing of an edited line.
  void WriteBytes(std::string_view bytes);

  // Flush: writes out everything kept. A write that fails outright, rather than being
  // interrupted or asked to wait, marks the output failed: from then on nothing more is
  // written, and nothing more is read.
  void Flush();

  // ReadyToWait: the one rule before a read that may wait: the answers so far are written
  // out, so the person sees all of them before being asked for more; false once output
  // has failed.
  bool ReadyToWait();

  bool Failed() const { return failed_; }
  SystemError Error() const { return error_; }  // why the write failed

  // WriteErrorLine: writes the parts to standard error at once, as one line with the
  // platform's line end; nothing is kept for it, and a long line is cut. Returns whether
  // all of it was written; a failure there is standard error's alone.
  bool WriteErrorLine(std::initializer_list<std::string_view> parts);

  // WriteMessage: WriteErrorLine of kMessageStart and the parts: a message of the
  // program's own.
  bool WriteMessage(std::initializer_list<std::string_view> parts);

 private:
  void KeepAfterFlush(std::initializer_list<TextView> texts);
  bool KeepBytes(std::string_view bytes);
  void WriteOut(std::string_view bytes);
  bool WriteAll(Stream stream, std::string_view bytes);
  bool WriteToError(std::string_view start, std::initializer_list<std::string_view> parts);

  TextBuffer<kCapacity> pending_;
  bool failed_ = false;
  SystemError error_ = 0;
  WriteState state_;
  BoundedArray<char, kErrorLineCapacity> errorLine_;  // a message, made whole before it goes
};

}  // namespace intcalc
