// The console: everything the program reads and writes, through one Console that keeps
// what lasts between calls: what is read (standard input, a file or a text, split into
// pieces of lines), what is written and not yet written out, the platform's state, and
// the line editor's session. Standard output gets the answers, standard error the
// messages and the trace, and a person at a terminal gives lines and keys.
//
// The one rule of reading and writing (Output::ReadyToWait): before a read that may wait,
// the answers so far are written out, so the person sees all of them before being asked
// for more; once a write to standard output has failed, nothing more is written or read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <tuple>

#include "console/interactive.h"
#include "console/line_splitter.h"
#include "console/output.h"
#include "console/platform.h"
#include "console/read_result.h"
#include "text/limits.h"
#include "text/line_ends.h"
#include "text/text_buffer.h"

namespace intcalc {

// Line: the texts of one line, for WriteLines: LineOf(kLabel, result).
template <typename... Texts>
struct Line {
  std::tuple<const Texts&...> texts;
};

template <typename... Texts>
Line<Texts...> LineOf(const Texts&... texts) {
  return {{texts...}};
}

class Console {
 public:
  constexpr Console() = default;

  // ---- Reading ------------------------------------------------------------------------

  // ReadFromStandardInput, ReadFromFile, ReadFromText: what ReadLine reads from then on,
  // until its end: standard input, from where it stands; the named file, false when it
  // cannot be opened (FailureReason(Stream::kInput) says why); or a text that lives as
  // long as it is read. The end of each ends its last line, and what was read of a file
  // or a text before a read failed is delivered before the failure. A file read before is
  // closed.
  void ReadFromStandardInput();
  bool ReadFromFile(const char* name);
  void ReadFromText(std::string_view text);

  // ReadNothing: a file read before is closed; ReadLine reads nothing more.
  void ReadNothing();

  // ReadLine: stores the next piece of input, at most buffer.size() bytes, into buffer.
  // A line end in the input (LF or CR LF) arrives as CR LF and counts two bytes against
  // the limit; a longer line arrives in successive pieces, the first without a line end;
  // a last line without a line end still gets one. Every piece shorter than the limit
  // ends its line. No NUL is added and the rest of buffer is left as it was.
  ReadResult ReadLine(std::span<char> buffer);

  // ShowAnswers: what a line the person edits would be answered with, shown as it is
  // edited, where the line editor runs; null for nothing (see ShowAnswers in interactive.h).
  void ShowAnswers(LineAnswers* answers) { intcalc::ShowAnswers(interactive_, answers); }

  // KeysCanBeWaitedFor: whether a person sees what is written to standard error and can
  // answer it with a key.
  static bool KeysCanBeWaitedFor() { return intcalc::KeysCanBeWaitedFor(); }

  // ReadKey: writes out the pending output, then waits for one key at the terminal or
  // console that standard input is, and takes it without echo.
  KeyRead ReadKey();

  // ---- Writing ------------------------------------------------------------------------

  // WriteLine: the texts, then the dialogue's line end CR LF, as one append.
  template <typename... Texts>
  void WriteLine(const Texts&... texts) {
    output_.Write(texts..., kLineEnd);
  }

  // WriteLines: WriteLine of each line in turn, as one append: an answer of several lines
  // costs one append, not one a line, as each append waits for the length the one before
  // stored.
  template <typename... Lines>
  void WriteLines(const Lines&... lines) {
    const auto parts =
        std::tuple_cat(std::tuple_cat(lines.texts, std::tie(kLineEnd))...);  // references all
    std::apply([this](const auto&... part) { output_.Write(part...); }, parts);
  }

  // WritePlatformLine: the text, then the platform's own line end.
  void WritePlatformLine(TextView text) { output_.Write(text, kPlatformLineEnd); }

  // WritePrompt: WriteLine of a prompt that lives as long as the program, which the line
  // editor shows again above the line.
  void WritePrompt(TextView prompt) {
    WriteLine(prompt);
    prompt_ = prompt;
  }

  // Flush: writes out everything kept so far (Output::Flush).
  void Flush() { output_.Flush(); }

  // ReadyToWait: the one rule before a read that may wait (see above).
  bool ReadyToWait() { return output_.ReadyToWait(); }

  bool OutputFailed() const { return output_.Failed(); }

  // WriteErrorLine, WriteMessage: a line on standard error at once; a message of the
  // program's own, "intcalc: " and the parts (Output).
  bool WriteErrorLine(std::initializer_list<std::string_view> parts) {
    return output_.WriteErrorLine(parts);
  }
  bool WriteMessage(std::initializer_list<std::string_view> parts) {
    return output_.WriteMessage(parts);
  }

  // FailureReason: the system's words for why the latest read of an input, or the write
  // to standard output, failed.
  std::string_view FailureReason(Stream stream);

  // Restore: puts back what the console changed, the terminal's settings among them.
  void Restore() { RestorePlatform(platform_); }

 private:
  // What ReadLine reads from: standard input, a file, a text in memory, or nothing more.
  enum class Source : std::uint8_t { kStandardInput, kFile, kText, kNothing };
  class Chunks;  // NOLINT(cppcoreguidelines-virtual-class-destructor): final, never deleted

  void Switch(Source next);

  // Reading.
  LineSplitter splitter_;
  Source source_ = Source::kStandardInput;
  InputKind standardInput_ = InputKind::kUnknown;  // found at the first read
  std::string_view textLeft_;                      // the text's, while one is read
  InputFile file_;                                 // the file's, while one is read
  SystemError readError_ = 0;                      // of the latest failed read

  Output output_;
  PlatformState platform_;
  InteractiveState interactive_;
  TextView prompt_ = kNoPrompt;  // the latest, which the line editor shows again
  std::array<char, kSystemReasonCapacity> reason_{};  // the system's words for a failure

  static constexpr ConstantText kNoPrompt{""};
};

}  // namespace intcalc
