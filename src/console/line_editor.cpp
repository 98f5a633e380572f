// The line editor: one line at a time, drawn on a single terminal row that scrolls
// sideways when the line is wider than the terminal.
//
// What this editor cannot check: that the terminal understands the few ANSI sequences it
// draws with (carriage return, erase to end of line, cursor forward), and how wide the
// terminal shows a byte: every byte counts as one column, so a multi-byte character
// draws a little off until the line is entered.
#include "console/line_editor.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "console/output_buffer.h"
#include "console/platform.h"
#include "console/terminal_modes.h"

namespace intcalc {

namespace {

// ---- Limits and keys ------------------------------------------------------------------

constexpr std::size_t kLineCapacity = 4096;  // what a terminal's own line mode takes
constexpr std::size_t kHistoryEntries = 64;
constexpr std::size_t kHistoryEntryCapacity = 121;  // a line that one read takes whole
constexpr std::size_t kDefaultColumns = 80;
constexpr std::size_t kMostColumns = 1024;
constexpr int kEscapeWaitMilliseconds = 50;  // a lone Escape is not followed within this
constexpr std::size_t kLongestSequenceParameters = 8;

enum Key : unsigned char {
  kCtrlA = 1,
  kCtrlB = 2,
  kCtrlC = 3,
  kCtrlD = 4,
  kCtrlE = 5,
  kCtrlF = 6,
  kCtrlH = 8,
  kLineFeed = 10,
  kCtrlK = 11,
  kEnter = 13,
  kCtrlN = 14,
  kCtrlP = 16,
  kCtrlU = 21,
  kCtrlW = 23,
  kCtrlZ = 26,
  kEscape = 27,
  kFirstPrintable = 32,
  kBackspace = 127,
};

// What an escape sequence or a control key asks for.
enum class Action : unsigned char {
  kNone,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kUp,
  kDown,
  kDelete,
  kErase,
  kKillToStart,
  kKillToEnd,
  kKillWord,
};

// ---- State ----------------------------------------------------------------------------

struct EditLine {
  std::array<char, kLineCapacity> bytes{};
  std::size_t length = 0;
  std::size_t cursor = 0;
  std::size_t windowStart = 0;  // the first byte shown when the line is scrolled

  std::string_view View() const { return {bytes.data(), length}; }
};

struct HistoryEntry {
  std::array<char, kHistoryEntryCapacity> bytes{};
  std::size_t length = 0;
};

// History: a ring of the latest lines of this session, newest first when recalled.
struct History {
  std::array<HistoryEntry, kHistoryEntries> entries{};
  std::size_t next = 0;
  std::size_t count = 0;
};

constinit EditLine line;
constinit EditLine unsentLine;  // the line being typed, kept while the history is shown
constinit History history;
// The controls around the shown part of the line: a carriage return before it, then an
// erase to the end of the row, a carriage return, and a move of the cursor forward.
constexpr std::string_view kStartOfRow = "\r";
constexpr std::string_view kEraseToEndThenStart = "\x1b[0K\r";
constexpr std::string_view kCursorForwardOpen = "\x1b[";
constexpr std::string_view kCursorForwardClose = "C";
constexpr std::size_t kMostColumnDigits = 4;
static_assert(kMostColumns < 10'000, "a column count has at most kMostColumnDigits digits");
constexpr std::size_t kMostRowControls = kStartOfRow.size() + kEraseToEndThenStart.size() +
                                         kCursorForwardOpen.size() + kMostColumnDigits +
                                         kCursorForwardClose.size();

constinit std::array<char, kMostColumns + kMostRowControls> screen{};

// The terminal's mode to put back (its own, in line mode), the raw mode to edit in, and
// the calls that set them. Signal handlers read these.
constinit const SystemCalls* modeCalls = nullptr;
constinit termios savedMode{};
constinit termios rawMode{};
volatile sig_atomic_t rawModeOn = 0;
volatile sig_atomic_t redrawWanted = 0;
constinit bool handlersInstalled = false;

// ---- Terminal modes and signals -------------------------------------------------------

bool EnterRawMode() {
  termios current{};
  if (modeCalls->getModes(STDIN_FILENO, &current) != 0) return false;
  savedMode = WithLineMode(current);
  rawMode = WithRawMode(savedMode);
  rawModeOn = 1;  // before the change, so a signal arriving during it still puts back
  if (modeCalls->setModes(STDIN_FILENO, TCSANOW, &rawMode) != 0) {
    rawModeOn = 0;
    return false;
  }
  return true;
}

// A handler that is reset on entry and does not hold its signal back, so the signal it
// raises again takes its default action at once.
constexpr int kOnceAndAtOnce = static_cast<int>(SA_RESETHAND | SA_NODEFER);

void LeaveRawMode() {
  if (rawModeOn == 0) return;
  (void)modeCalls->setModes(STDIN_FILENO, TCSANOW, &savedMode);
  rawModeOn = 0;
}

// LeaveOnSignal: puts the terminal back, then lets the signal do what it does by default
// (the handler is reset on entry and the signal is not held back while it runs).
extern "C" void LeaveOnSignal(int signalNumber) {
  if (rawModeOn != 0) (void)modeCalls->setModes(STDIN_FILENO, TCSANOW, &savedMode);
  rawModeOn = 0;
  (void)raise(signalNumber);  // with the default action back, this does not return
}

extern "C" void StopOnSignal(int signalNumber);

void Handle(int signalNumber, void (*handler)(int), int flags) {
  struct sigaction current {};
  sigaction(signalNumber, nullptr, &current);
  if (current.sa_handler == SIG_IGN) return;  // what the caller chose to ignore stays so
  struct sigaction wanted {};
  wanted.sa_handler = handler;
  wanted.sa_flags = flags;
  sigemptyset(&wanted.sa_mask);
  sigaction(signalNumber, &wanted, nullptr);
}

// StopOnSignal: puts the terminal back while stopped and takes it again when continued.
extern "C" void StopOnSignal(int signalNumber) {
  const bool wasRaw = rawModeOn != 0;
  if (wasRaw) (void)modeCalls->setModes(STDIN_FILENO, TCSANOW, &savedMode);
  rawModeOn = 0;
  (void)raise(signalNumber);  // stops here; returns once continued
  // cppcheck-suppress unreachableCode ; raise returns from a stop, and from an ignored signal
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  if (wasRaw && modeCalls->setModes(STDIN_FILENO, TCSANOW, &rawMode) == 0) rawModeOn = 1;
  redrawWanted = 1;
}

extern "C" void NoteResize(int /*signalNumber*/) {
  redrawWanted = 1;
}

void InstallHandlers() {
  if (handlersInstalled) return;
  handlersInstalled = true;
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    Handle(signalNumber, LeaveOnSignal, kOnceAndAtOnce);
  }
  Handle(SIGTSTP, StopOnSignal, kOnceAndAtOnce);
  Handle(SIGWINCH, NoteResize, 0);  // no restart: a read in progress returns to redraw
}

// ---- Drawing --------------------------------------------------------------------------

std::size_t Columns() {
  winsize size{};
  // ioctl is the one way to ask a terminal its size, and it takes variable arguments.
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 ||  // NOLINT(cppcoreguidelines-pro-type-vararg)
      size.ws_col == 0) {
    return kDefaultColumns;
  }
  return std::clamp<std::size_t>(size.ws_col, 2, kMostColumns);
}

// Refresh: draws the part of the line around the cursor on the current row.
void Refresh() {
  const std::size_t width = Columns() - 1;  // the last column stays free for the cursor
  if (line.cursor < line.windowStart) line.windowStart = line.cursor;
  if (line.cursor >= line.windowStart + width) line.windowStart = line.cursor - width + 1;
  const std::size_t shown = std::min(line.length - line.windowStart, width);
  const std::size_t forward = line.cursor - line.windowStart;

  std::size_t used = 0;
  const auto put = [&used](std::string_view text) {
    std::memcpy(screen.data() + used, text.data(), text.size());
    used += text.size();
  };
  put(kStartOfRow);
  put({line.bytes.data() + line.windowStart, shown});
  put(kEraseToEndThenStart);
  if (forward > 0) {
    std::array<char, kMostColumnDigits> digits{};
    std::size_t count = 0;
    for (std::size_t value = forward; value != 0; value /= 10) {
      digits[count++] = static_cast<char>('0' + value % 10);
    }
    put(kCursorForwardOpen);
    while (count > 0)
      put({&digits[--count], 1});
    put(kCursorForwardClose);
  }
  WriteAllToOutput(std::span(screen).first(used));
}

// ---- History --------------------------------------------------------------------------

// Remember: keeps a line for Up and Down, unless it is empty, too long for one read, or
// the same as the newest entry.
void Remember(std::string_view text) {
  if (text.empty() || text.size() > kHistoryEntryCapacity) return;
  if (history.count > 0) {
    const HistoryEntry& newest =
        history.entries[(history.next + kHistoryEntries - 1) % kHistoryEntries];
    if (std::string_view(newest.bytes.data(), newest.length) == text) return;
  }
  HistoryEntry& entry = history.entries[history.next];
  std::memcpy(entry.bytes.data(), text.data(), text.size());
  entry.length = text.size();
  history.next = (history.next + 1) % kHistoryEntries;
  history.count = std::min(history.count + 1, kHistoryEntries);
}

// Recall: shows entry `age` (1 for the newest) or, for 0, the line that was being typed.
void Recall(std::size_t age) {
  std::string_view text = unsentLine.View();
  if (age > 0) {
    const HistoryEntry& entry =
        history.entries[(history.next + kHistoryEntries - age) % kHistoryEntries];
    text = {entry.bytes.data(), entry.length};
  }
  std::memcpy(line.bytes.data(), text.data(), text.size());
  line.length = line.cursor = text.size();
}

// ---- Editing --------------------------------------------------------------------------

void Insert(char byte) {
  if (line.length == kLineCapacity) return;
  char* const at = line.bytes.data() + line.cursor;
  std::memmove(at + 1, at, line.length - line.cursor);
  *at = byte;
  ++line.length;
  ++line.cursor;
}

// Erase: removes the bytes from `first` up to the cursor's place `last`.
void Erase(std::size_t first, std::size_t last) {
  std::memmove(line.bytes.data() + first, line.bytes.data() + last, line.length - last);
  line.length -= last - first;
  line.cursor = first;
}

void EraseWordBefore() {
  std::size_t first = line.cursor;
  while (first > 0 && line.bytes[first - 1] == kBlank)
    --first;
  while (first > 0 && line.bytes[first - 1] != kBlank)
    --first;
  Erase(first, line.cursor);
}

enum class ByteRead : unsigned char { kByte, kNone, kEnd, kFailed, kRedraw };

// ReadByte: the next byte typed; kNone when `waitMilliseconds` passed without one.
ByteRead ReadByte(const SystemCalls& calls, unsigned char& byte, int waitMilliseconds = -1) {
  while (true) {
    if (waitMilliseconds >= 0) {
      pollfd request{STDIN_FILENO, POLLIN, 0};
      if (calls.poll(&request, 1, waitMilliseconds) == 0) return ByteRead::kNone;
    }
    const ssize_t count = calls.read(STDIN_FILENO, &byte, 1);
    if (count == 1) return ByteRead::kByte;
    if (count == 0) return ByteRead::kEnd;
    if (errno == EINTR) {
      if (redrawWanted != 0) return ByteRead::kRedraw;
      continue;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {  // left non-blocking by another program
      pollfd request{STDIN_FILENO, POLLIN, 0};
      if (calls.poll(&request, 1, -1) >= 0 || errno == EINTR) continue;
      return ByteRead::kFailed;
    }
    return ByteRead::kFailed;
  }
}

// ReadSequence: what the keys after an Escape ask for: ESC [ or ESC O, optional numbers,
// and a final byte. Sequences it does not know ask for nothing.
Action ReadSequence(const SystemCalls& calls) {
  unsigned char introducer = 0;
  if (ReadByte(calls, introducer, kEscapeWaitMilliseconds) != ByteRead::kByte) {
    return Action::kNone;
  }
  if (introducer != '[' && introducer != 'O') return Action::kNone;
  unsigned number = 0;
  unsigned char final = 0;
  for (std::size_t read = 0; read <= kLongestSequenceParameters; ++read) {
    if (ReadByte(calls, final, kEscapeWaitMilliseconds) != ByteRead::kByte) {
      return Action::kNone;
    }
    if (final >= '0' && final <= '9') {
      number = number * 10 + static_cast<unsigned>(final - '0');
    } else if (final != ';') {
      break;
    }
  }
  switch (final) {
    case 'A':
      return Action::kUp;
    case 'B':
      return Action::kDown;
    case 'C':
      return Action::kRight;
    case 'D':
      return Action::kLeft;
    case 'H':
      return Action::kHome;
    case 'F':
      return Action::kEnd;
    case '~':
      if (number == 1 || number == 7) return Action::kHome;
      if (number == 4 || number == 8) return Action::kEnd;
      if (number == 3) return Action::kDelete;
      return Action::kNone;
    default:
      return Action::kNone;
  }
}

// ControlKeyAction: what a control key that only moves, erases or recalls asks for.
Action ControlKeyAction(unsigned char key) {
  switch (key) {
    case kCtrlA:
      return Action::kHome;
    case kCtrlE:
      return Action::kEnd;
    case kCtrlB:
      return Action::kLeft;
    case kCtrlF:
      return Action::kRight;
    case kCtrlP:
      return Action::kUp;
    case kCtrlN:
      return Action::kDown;
    case kBackspace:
    case kCtrlH:
      return Action::kErase;
    case kCtrlU:
      return Action::kKillToStart;
    case kCtrlK:
      return Action::kKillToEnd;
    case kCtrlW:
      return Action::kKillWord;
    default:
      return Action::kNone;
  }
}

// Perform: moves, erases or recalls as an action asks.
void Perform(Action action, std::size_t& historyAge) {
  switch (action) {
    case Action::kLeft:
      if (line.cursor > 0) --line.cursor;
      break;
    case Action::kRight:
      if (line.cursor < line.length) ++line.cursor;
      break;
    case Action::kHome:
      line.cursor = 0;
      break;
    case Action::kEnd:
      line.cursor = line.length;
      break;
    case Action::kDelete:
      if (line.cursor < line.length) Erase(line.cursor, line.cursor + 1);
      break;
    case Action::kErase:
      if (line.cursor > 0) Erase(line.cursor - 1, line.cursor);
      break;
    case Action::kKillToStart:
      Erase(0, line.cursor);
      break;
    case Action::kKillToEnd:
      line.length = line.cursor;
      break;
    case Action::kKillWord:
      EraseWordBefore();
      break;
    case Action::kUp:
      if (historyAge == history.count) break;
      if (historyAge == 0) unsentLine = line;
      Recall(++historyAge);
      break;
    case Action::kDown:
      if (historyAge == 0) break;
      Recall(--historyAge);
      break;
    case Action::kNone:
      break;
  }
}

// Deliver: the line and its LF into destination, and the terminal back as it was.
ReadResult Deliver(std::span<char> destination) {
  line.cursor = line.length;
  Refresh();
  WriteAllToOutput(std::string_view(kLineEnd));
  LeaveRawMode();
  Remember(line.View());
  const std::size_t count = std::min(line.length, destination.size() - 1);
  std::memcpy(destination.data(), line.bytes.data(), count);
  destination[count] = '\n';
  return {ReadStatus::kLine, count + 1};
}

ReadResult End(ReadStatus status) {
  const int error = errno;  // a failure's own, for its message
  LeaveRawMode();
  errno = error;
  return {status, 0};
}

}  // namespace

bool EditorSuits(const SystemCalls& calls) {
  if (calls.isTerminal(STDIN_FILENO) == 0 || calls.isTerminal(STDOUT_FILENO) == 0) return false;
  const char* terminal = std::getenv("TERM");
  return terminal != nullptr && *terminal != '\0' && std::string_view(terminal) != "dumb";
}

ReadResult ReadEditedLine(const SystemCalls& calls, std::span<char> destination) {
  if (destination.empty()) return {ReadStatus::kLine, 0};
  modeCalls = &calls;
  InstallHandlers();
  // Raw before the prompt shows: keys typed as soon as it appears are the editor's.
  if (!EnterRawMode()) return {ReadStatus::kFailed, 0};
  FlushOutput();
  line = EditLine{};
  std::size_t historyAge = 0;
  Refresh();
  if (OutputFailed()) return End(ReadStatus::kWriteFailed);

  while (true) {
    unsigned char byte = 0;
    switch (ReadByte(calls, byte)) {
      case ByteRead::kByte:
        break;
      case ByteRead::kRedraw:
        redrawWanted = 0;
        Refresh();
        continue;
      case ByteRead::kEnd:
      case ByteRead::kNone:
        return End(ReadStatus::kEndOfInput);
      case ByteRead::kFailed:
        return End(ReadStatus::kFailed);
    }

    switch (byte) {
      case kEnter:
      case kLineFeed:
        return Deliver(destination);
      case kCtrlD:
        if (line.length == 0) return End(ReadStatus::kEndOfInput);
        Perform(Action::kDelete, historyAge);
        break;
      case kCtrlC:
        // Ends the program as the interrupt key does; where the interrupt is ignored, it
        // drops the line, as the terminal's own line mode would.
        LeaveRawMode();
        (void)raise(SIGINT);
        // cppcheck-suppress unreachableCode ; raise returns where the interrupt is ignored
        if (!EnterRawMode()) return End(ReadStatus::kFailed);
        line = EditLine{};
        historyAge = 0;
        break;
      case kCtrlZ:
        LeaveRawMode();
        (void)raise(SIGTSTP);  // stops here until continued
        // cppcheck-suppress unreachableCode ; raise returns once the program is continued
        if (!EnterRawMode()) return End(ReadStatus::kFailed);
        break;
      case kEscape:
        Perform(ReadSequence(calls), historyAge);
        break;
      default:
        // Backspace (DEL) lies above the printable bytes, so actions are looked up first.
        if (const Action action = ControlKeyAction(byte); action != Action::kNone) {
          Perform(action, historyAge);
        } else if (byte >= kFirstPrintable) {
          Insert(static_cast<char>(byte));
        }  // other control keys do nothing
        break;
    }
    Refresh();
    if (OutputFailed()) return End(ReadStatus::kWriteFailed);
  }
}

}  // namespace intcalc
