// The line editor's logic, in-process: keys typed as bytes, decoded and applied to the
// editor's state, as the terminal shell does; and the bytes that draw a state.
#include "editor/line_editing.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "editor/key_decoder.h"
#include "editor/line_drawing.h"
#include "editor/typing.h"
#include "support/case_name.h"

namespace intcalc {
namespace {

// What the keys send.
const std::string kWait = "<wait>";  // no byte comes within the wait after an Escape
const std::string kUp = "\x1b[A";
const std::string kDown = "\x1b[B";
const std::string kRight = "\x1b[C";
const std::string kLeft = "\x1b[D";
const std::string kHome = "\x1b[H";
const std::string kEnd = "\x1b[F";
const std::string kDelete = "\x1b[3~";
const std::string kBackspace = "\x7f";
const std::string kEnter = "\r";
const std::string kCtrlA = "\x01";
const std::string kCtrlB = "\x02";
const std::string kCtrlC = "\x03";
const std::string kCtrlD = "\x04";
const std::string kCtrlE = "\x05";
const std::string kCtrlF = "\x06";
const std::string kCtrlK = "\x0b";
const std::string kCtrlL = "\x0c";
const std::string kCtrlU = "\x15";
const std::string kCtrlW = "\x17";
const std::string kCtrlZ = "\x1a";
const std::string kCtrlG = "\x07";
const std::string kCtrlR = "\x12";
const std::string kCtrlT = "\x14";
const std::string kCtrlY = "\x19";
const std::string kUndo = "\x1f";  // Ctrl-_

// Decode: the parts' bytes through a decoder, kWait for the pause after an Escape, each
// key they give handed to `use`.
template <typename Use>
void Decode(const std::vector<std::string>& parts, Use use) {
  KeyDecoder decoder;
  for (const std::string& part : parts) {
    if (part == kWait) {
      use(decoder.Expire());
      continue;
    }
    for (const char byte : part)
      use(decoder.Feed(byte));
  }
}

// Typing: what a run of keys left: the lines entered, the line being edited, where the
// cursor is, how many keys rang the bell, and what the last key asked of the shell.
struct Typing {
  std::vector<std::string> entered;
  std::string line;
  std::size_t cursor = 0;
  int bells = 0;
  EditOutcome last = EditOutcome::kGoOn;
};

Typing Type(const std::vector<std::string>& parts, std::size_t capacity = kEditCapacity) {
  static EditorState state;
  state = EditorState{};
  StartLine(state, capacity);
  Typing typing;
  const auto apply = [&](const Keys& keys) {
    for (const Key& key : keys.Elements()) {
      typing.last = Apply(state, key);
      if (typing.last == EditOutcome::kBell) ++typing.bells;
      if (typing.last == EditOutcome::kLineDone) typing.entered.emplace_back(state.line.View());
      // The line is done, or dropped after an interrupt the shell has sent.
      if (typing.last == EditOutcome::kLineDone || typing.last == EditOutcome::kInterrupt) {
        StartLine(state, capacity);
      }
    }
  };
  Decode(parts, apply);
  typing.line = state.line.View();
  typing.cursor = state.cursor;
  return typing;
}

struct EditCase {
  std::string name;
  std::vector<std::string> keys;
  std::string line;
  std::size_t cursor;
  std::vector<std::string> entered = {};
  int bells = 0;
};

class LineEditingTest : public testing::TestWithParam<EditCase> {};

TEST_P(LineEditingTest, LeavesTheLineAndTheCursor) {
  const Typing typing = Type(GetParam().keys);
  EXPECT_EQ(typing.line, GetParam().line);
  EXPECT_EQ(typing.cursor, GetParam().cursor);
  EXPECT_EQ(typing.entered, GetParam().entered);
  EXPECT_EQ(typing.bells, GetParam().bells);
}

INSTANTIATE_TEST_SUITE_P(
    Moving, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"InsertInTheMiddle", {"1+3", kLeft, kLeft, "2"}, "12+3", 2},
        {"HomeAndEnd", {"2+3", kHome, "1", kEnd, "0"}, "12+30", 5},
        {"ControlKeysMove", {"2+3", kCtrlA, kCtrlF, "0", kCtrlE, kCtrlB, "1"}, "20+13", 4},
        {"HomeAndEndByNumber", {"23", "\x1b[1~", "1", "\x1b[4~", "4", "\x1b[7~\x1b[8~"}, "1234", 4},
        {"ApplicationKeys", {"23", "\x1bOH", "1", "\x1bOF", "4"}, "1234", 4},
        {"NoFurtherThanTheEnds", {"12", kRight, kRight, kHome, kLeft, "0"}, "012", 1},
    }),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Erasing, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"Backspace", {"9+99", kBackspace, kBackspace, "1"}, "9+1", 3},
        {"BackspaceAtTheStart", {"5", kHome, kBackspace}, "5", 0},
        {"Delete", {"x5*5", kHome, kDelete}, "5*5", 0},
        {"DeleteAtTheEnd", {"5", kDelete}, "5", 1},
        {"EndOfFileKeyDeletesWithinALine", {"12+3", kHome, kCtrlD}, "2+3", 0},
        {"KillToEnd", {"99+1", kHome, kCtrlK, "5*5"}, "5*5", 3},
        {"KillToStart", {"7+3*3", kLeft, kLeft, kLeft, kCtrlU}, "3*3", 0},
        {"KillWord", {"1+22 33", kCtrlW}, "1+22 ", 5},
        {"KillWordWithTheBlanksAfterIt", {"1+22 33  ", kCtrlW}, "1+22 ", 5},
        {"KillWordBeforeTwoBlanks", {"1+22  33", kLeft, kLeft, kCtrlW}, "33", 0},
        {"InterruptDropsTheLine", {"12", kCtrlC, "3"}, "3", 1},
        {"SuspendKeepsTheLine", {"12", kCtrlZ, "3"}, "123", 3},
        {"ClearScreenKeepsTheLine", {"12", kLeft, kCtrlL, "3"}, "132", 2},
    }),
    CaseName());

// Up and Down walk the lines entered in this session, newest first.
INSTANTIATE_TEST_SUITE_P(
    History, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"UpRecallsTheLineBefore", {"20*21", kEnter, kUp, "+1"}, "20*21+1", 7, {"20*21"}},
        {"UpAndUpAgain", {"1+1\r2+2\r", kUp, kUp, "0"}, "1+10", 4, {"1+1", "2+2"}},
        {"DownComesBack", {"1+1\r2+2\r", kUp, kUp, kUp, kDown}, "2+2", 3, {"1+1", "2+2"}, 1},
        {"DownReturnsToTheLineBeingTyped", {"1+1\r3*3", kUp, kDown}, "3*3", 3, {"1+1"}},
        {"NothingBelowTheLineBeingTyped", {"4", kDown}, "4", 1, {}, 1},
        {"NothingAboveTheOldest", {kUp}, "", 0, {}, 1},
        {"EmptyLinesAreNotKept", {"\r1\r\r", kUp, kUp}, "1", 1, {"", "1", ""}, 1},
        {"RepeatsAreKeptOnce", {"1\r1\r", kUp, kUp}, "1", 1, {"1", "1"}, 1},
        {"EachLineStartsBelowTheNewest", {"1\r2\r", kUp, kEnter, kUp}, "2", 1, {"1", "2", "2"}},
    }),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Characters, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"TwoBytesEraseAsOne", {"2\xc3\x97", kBackspace, "*3"}, "2*3", 3},
        {"LeftStepsOverACharacter",
         {"\xc3\xa9"
          "1",
          kLeft, kLeft, "0"},
         "0\xc3\xa9"
         "1",
         1},
        {"RightStepsOverACharacter",
         {"\xc3\xa9"
          "1",
          kHome, kRight, "0"},
         "\xc3\xa9"
         "01",
         3},
        {"DeleteTakesACharacter",
         {"\xe4\xb8\xad"
          "1",
          kHome, kDelete},
         "1",
         0},
        {"FourBytes", {"\xf0\x9f\x98\x80", kLeft, "1"}, "1\xf0\x9f\x98\x80", 1},
        {"AnInvalidByteIsACharacter", {"1\xff", kBackspace}, "1", 1},
        {"AnUnfinishedCharacterBrokenOff",
         {"\xc3"
          "a",
          kLeft, kLeft, "0"},
         "0\xc3"
         "a",
         1},
        {"AnUnfinishedCharacterAtTheWait", {"\xe4\xb8", kWait, kBackspace}, "\xe4", 1},
        {"AnOverlongFormIsTwoCharacters", {"\xc0\x80", kBackspace}, "\xc0", 1},
        {"AnAccentAfterNoCharacterIsOneOfItsOwn", {"\xff\xcc\x81", kBackspace}, "\xff", 1},
        // A character as a person sees it: a letter and its accent, an emoji sequence, a flag.
        {"LeftStepsOverAnAccent", {"e\xcc\x81", kLeft, "1"}, "1e\xcc\x81", 1},
        {"BackspaceErasesTheLetterWithItsAccent", {"1e\xcc\x81", kBackspace}, "1", 1},
        {"DeleteTakesAJoinedSequence",
         {"\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9"
          "2",
          kHome, kDelete},
         "2",
         0},
        {"RightStepsOverAFlag",
         {"\xf0\x9f\x87\xab\xf0\x9f\x87\xb7", kHome, kRight, "1"},
         "\xf0\x9f\x87\xab\xf0\x9f\x87\xb7"
         "1",
         9},
        {"TwoFlagsAreTwoCharacters",
         {"\xf0\x9f\x87\xab\xf0\x9f\x87\xb7\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa", kBackspace},
         "\xf0\x9f\x87\xab\xf0\x9f\x87\xb7",
         8},
        {"AStrayContinuationByteErasesAlone", {"e\x80", kBackspace}, "e", 1},
    }),
    CaseName());

// A word is a run of digits or letters; operators, parentheses and blanks separate words.
const std::string kAltB =
    "\x1b"
    "b";
const std::string kAltF =
    "\x1b"
    "f";
const std::string kAltD =
    "\x1b"
    "d";
const std::string kAltBackspace = "\x1b\x7f";
const std::string kCtrlLeft = "\x1b[1;5D";
const std::string kCtrlRight = "\x1b[1;5C";

INSTANTIATE_TEST_SUITE_P(
    Words, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"AltBToTheWordsStart", {"12+345", kAltB, "0"}, "12+0345", 4},
        {"AltBOverOperatorsAndBlanks", {"12 + (345)", kAltB, kAltB, "0"}, "012 + (345)", 1},
        {"AltFPastTheWordsEnd", {"12*(3+45)", kHome, kAltF, "0"}, "120*(3+45)", 3},
        {"AltFOverWhatSeparates", {"12*(3+45)", kHome, kAltF, kAltF, "0"}, "12*(30+45)", 6},
        {"CtrlLeftAndRight", {"7-8-9", kCtrlLeft, kCtrlLeft, "1", kCtrlRight, "2"}, "7-182-9", 5},
        {"AltBackspaceErasesTheWordBefore", {"12+345", kAltBackspace}, "12+", 3},
        {"AltBackspaceTakesTheSeparatorsToo", {"12+345 ", kAltBackspace}, "12+", 3},
        {"AltDErasesTheWordAfter", {"12+345", kHome, kAltD}, "+345", 0},
        {"AltDTakesTheSeparatorsBefore", {"12+345", kHome, kAltF, kAltD}, "12", 2},
        {"LettersAreWordsToo", {"ab+\xc3\xa9t\xc3\xa9", kAltBackspace}, "ab+", 3},
        {"CtrlWStillStopsAtABlank", {"12 +345", kCtrlW}, "12 ", 3},
        {"AtTheStartNothingMoves", {"12", kHome, kAltB, kAltBackspace, "0"}, "012", 1},
        {"OnlySeparatorsBeforeTheCursor", {"(-", kAltB, "0"}, "0(-", 1},
    }),
    CaseName());

// readline's keys: what erasures took, inserted again; undo; transpose; the search back.
INSTANTIATE_TEST_SUITE_P(
    Readline, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"YankWhatWasErased", {"12 34", kCtrlW, kHome, kCtrlY}, "3412 ", 2},
        {"ErasuresInARowJoin", {"1 2 3", kCtrlW, kCtrlW, kCtrlY}, "1 2 3", 5},
        {"ForwardErasuresJoinAfter", {"12+34", kHome, kAltD, kAltD, kCtrlY}, "12+34", 5},
        {"AnotherKeyBetweenStartsAfresh", {"1 2", kCtrlW, "3", kCtrlW, kCtrlY}, "1 3", 3},
        {"NothingErasedNothingYanked", {kCtrlY}, "", 0, {}, 1},
        {"UndoTypingAtOnce", {"12", kLeft, kDelete, kUndo}, "12", 1},
        {"UndoBackToTheLineRecalled",
         {"1\r", kUp, "23", kBackspace, kUndo, kUndo, kUndo},
         "1",
         1,
         {"1"},
         1},
        {"AYankIsAChange", {"12", kCtrlU, kCtrlY, kCtrlY, kUndo}, "12", 2},
        {"TransposeBeforeAndUnder", {"1+23", kLeft, kLeft, kCtrlT}, "12+3", 3},
        {"TransposeTheLastTwo",
         {"12\xc3\xa9", kCtrlT},
         "1\xc3\xa9"
         "2",
         4},
        {"NothingToTransposeAtTheStart", {"12", kHome, kCtrlT}, "12", 0, {}, 1},
        {"SearchBack", {"12+3\r45*6\r", kCtrlR, "+"}, "12+3", 2, {"12+3", "45*6"}},
        {"SearchFurtherBack",
         {"1+1\r1+2\r", kCtrlR, "1+", kCtrlR, kEnter},
         "",
         0,
         {"1+1", "1+2", "1+1"}},
        {"SearchWithNoMatch", {"1\r", kCtrlR, "7"}, "", 0, {"1"}, 1},
        {"EscapeKeepsTheLineFound", {"56\r7", kCtrlR, "5", "\x1b", kWait, "8"}, "856", 1, {"56"}},
        {"CtrlGPutsTheLineBack", {"56\r7", kCtrlR, "5", kCtrlG}, "7", 1, {"56"}},
        {"EditsToARecalledLineStayUntilEnter",
         {"1+1\r3+3\r", "typed", kUp, kCtrlA, kCtrlK, "9*9", kUp, kDown, kEnter, kUp, kUp},
         "3+3",
         3,
         {"1+1", "3+3", "9*9"}},
        {"AFailingSearchKeepsItsText",
         {"22-5\r", kCtrlR, "22x-", kBackspace, kBackspace, kEnter},
         "",
         0,
         {"22-5", "22-5"},
         3},
        {"CtrlRTwiceLooksForTheLatestAgain",
         {"12+3\r45\r", kCtrlR, "+", kEnter, kCtrlR, kCtrlR, kEnter},
         "",
         0,
         {"12+3", "45", "12+3", "12+3"}},
        {"AnInterruptEndsATypingRun", {"12", kCtrlC, "3", kUndo}, "", 0},
        {"AnErasureOfNothingKeepsWhatWasErased", {"12", kCtrlU, "3", kCtrlK, kCtrlY}, "312", 3},
        {"BackspaceShortensTheSearch",
         {"12\r13\r", kCtrlR, "2", kBackspace, "3"},
         "13",
         1,
         {"12", "13"}},
    }),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Sequences, LineEditingTest,
    testing::ValuesIn<EditCase>({
        {"ALoneEscapeTakesNoKeyAfterItsWait", {"\x1b", kWait, "1+1"}, "1+1", 3},
        {"EscapeAndAKeyAskNothing",
         {"12",
          "\x1b"
          "x",
          "3"},
         "123",
         3},
        {"AnEscapeBeginsASequenceAfresh", {"12", "\x1b[", kLeft, "3"}, "132", 2},
        {"AnUnknownSequenceAsksNothing", {"12", "\x1b[5~", "3"}, "123", 3},
        {"ASequenceTooLongAsksNothing", {"12", kHome, "\x1b[123456789012C", "0"}, "012", 1},
        {"ASequenceCutShort", {"12", "\x1b[", kWait, "3"}, "123", 3},
        {"ControlKeysThatAskNothing",
         {"1\t\x1d\x1e"
          "2"},
         "12",
         2},
    }),
    CaseName());

TEST(LineEditingLimitTest, AKeyPastWhatOneReadTakesRingsTheBell) {
  const std::string typed(141, '1');
  const Typing typing = Type({typed});
  EXPECT_EQ(typing.line, std::string(kEditCapacity, '1'));
  EXPECT_EQ(typing.bells, 141 - static_cast<int>(kEditCapacity));
  EXPECT_EQ(kEditCapacity + std::string_view(kLineEnd).size(), kReadLimit);
}

TEST(LineEditingLimitTest, ACharacterThatWouldNotFitWholeIsRefused) {
  const Typing typing = Type({std::string(3, '1'), "\xc3\xa9"}, 4);
  EXPECT_EQ(typing.line, "111");
  EXPECT_EQ(typing.bells, 1);
  // A family, three emoji joined, pasted in one read: in whole, or with the bell not at all.
  const std::string family =
      "\xf0\x9f\x91\xa8\xe2\x80\x8d\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x91\xa7";
  EditorState state;
  KeyDecoder decoder;
  StartLine(state, kEditCapacity);
  EXPECT_FALSE(ApplyBytes(state, decoder, std::string(101, '1') + family).bell);
  EXPECT_TRUE(ApplyBytes(state, decoder, family).bell);
  EXPECT_EQ(state.line.View(), std::string(101, '1') + family);
}

// Paste: the bytes of a paste in reads of `chunk`, each read's keys applied together and
// drawn once when they changed the line; returns the bytes drawn and the bells rung, and
// puts the lines entered into `entered`.
struct Pasted {
  std::size_t drawn = 0;
  int bells = 0;
  std::vector<std::string> entered;
};

Pasted Paste(const std::string& bytes, std::size_t chunk) {
  static EditorState state;
  state = EditorState{};
  StartLine(state, kEditCapacity);
  KeyDecoder decoder;
  Pasted pasted;
  for (std::size_t read = 0; read < bytes.size(); read += chunk) {
    std::string_view waiting = std::string_view(bytes).substr(read, chunk);
    while (!waiting.empty()) {
      const BytesApplied applied = ApplyBytes(state, decoder, waiting);
      waiting.remove_prefix(applied.used);
      pasted.bells += applied.bell ? 1 : 0;
      if (applied.changed || applied.outcome == EditOutcome::kLineDone) {
        static Drawing drawing;
        DrawLine(state, Clearing::kRow, {}, drawing);
        pasted.drawn += drawing.Size();
      }
      if (applied.outcome == EditOutcome::kLineDone) {
        pasted.entered.emplace_back(state.line.View());
        StartLine(state, kEditCapacity);
      }
    }
  }
  return pasted;
}

TEST(LineEditingPasteTest, CostsWhatItShowsWhateverItsLength) {
  constexpr std::size_t kRead = 4096;
  const Pasted pasted = Paste(std::string(100000, '7'), kRead);
  // One drawing for the read that filled the line; the later reads change nothing.
  EXPECT_LE(pasted.drawn, 2 * kDrawingCapacity);
  EXPECT_EQ(pasted.bells, static_cast<int>((100000 + kRead - 1) / kRead));
}

TEST(LineEditingPasteTest, APastedBatchIsEnteredLineByLine) {
  const Pasted pasted =
      Paste("1+1" + kEnter + "2*3" + kEnter + kEnter + std::string(130, '4') + kEnter + "5", 7);
  EXPECT_EQ(pasted.entered,
            (std::vector<std::string>{"1+1", "2*3", "", std::string(kEditCapacity, '4')}));
}

TEST(LineEditingLimitTest, TheHistoryKeepsTheLatestSixtyFour) {
  std::vector<std::string> keys;
  for (std::size_t line = 0; line <= 64; ++line)  // the number documented, not the limit's
    keys.push_back(std::to_string(line) + kEnter);
  for (std::size_t up = 0; up <= 64; ++up)
    keys.push_back(kUp);
  const Typing typing = Type(keys);
  EXPECT_EQ(typing.line, "1");  // the first line, 0, is gone
  EXPECT_EQ(typing.bells, 1);
}

struct OutcomeCase {
  std::string name;
  std::vector<std::string> keys;
  EditOutcome outcome;
};

class EditOutcomeTest : public testing::TestWithParam<OutcomeCase> {};

TEST_P(EditOutcomeTest, TellsTheShellWhatToDo) {
  EXPECT_EQ(Type(GetParam().keys).last, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Keys, EditOutcomeTest,
                         testing::ValuesIn<OutcomeCase>({
                             {"EnterEndsTheLine", {"1", kEnter}, EditOutcome::kLineDone},
                             {"LineFeedEndsTheLine", {"1\n"}, EditOutcome::kLineDone},
                             {"EndOfFileOnAnEmptyLine", {kCtrlD}, EditOutcome::kEndOfInput},
                             {"EndOfFileWithinALine", {"1", kCtrlD}, EditOutcome::kGoOn},
                             {"Interrupt", {"1", kCtrlC}, EditOutcome::kInterrupt},
                             {"Suspend", {kCtrlZ}, EditOutcome::kSuspend},
                             {"ClearScreen", {kCtrlL}, EditOutcome::kClearScreen},
                         }),
                         CaseName());

// ---- Decoding -------------------------------------------------------------------------

// Decoded: the keys the bytes give, one word each: the action, or the inserted bytes in hex.
std::string Decoded(const std::vector<std::string>& parts) {
  constexpr std::array<const char*, 29> kNames = {
      "none",      "insert",    "left",      "right",          "home",          "end",
      "up",        "down",      "delete",    "erase",          "killStart",     "killEnd",
      "killBlank", "wordLeft",  "wordRight", "killWordBefore", "killWordAfter", "yank",
      "undo",      "transpose", "search",    "cancel",         "escape",        "enter",
      "eof",       "interrupt", "quit",      "suspend",        "clear"};
  static_assert(kNames.size() == kEditActions);
  std::string words;
  const auto describe = [&words, &kNames](const Keys& keys) {
    constexpr std::string_view kHex = "0123456789abcdef";
    for (const Key& key : keys.Elements()) {
      if (!words.empty()) words += ' ';
      if (key.action != EditAction::kInsert) {
        words += kNames[static_cast<std::size_t>(key.action)];
        continue;
      }
      for (const char byte : key.Character()) {
        words += kHex[static_cast<unsigned char>(byte) / kHex.size()];
        words += kHex[static_cast<unsigned char>(byte) % kHex.size()];
      }
    }
  };
  Decode(parts, describe);
  return words;
}

struct DecodeCase {
  std::string name;
  std::vector<std::string> bytes;
  std::string keys;
};

class KeyDecoderTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(KeyDecoderTest, GivesTheKeys) {
  EXPECT_EQ(Decoded(GetParam().bytes), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, KeyDecoderTest,
    testing::ValuesIn<DecodeCase>({
        {"ControlKeys",
         {"\x01\x02\x04\x05\x06\x08\x0b\x0c\x0e\x10\x15\x17\x1a\x7f"},
         "home left eof end right erase killEnd clear down up killStart killBlank suspend erase"},
        {"TwoBytes", {"\xc3\xa9"}, "c3a9"},
        {"ThreeBytes", {"\xe4\xb8\xad"}, "e4b8ad"},
        {"FourBytes", {"\xf0\x9f\x98\x80"}, "f09f9880"},
        {"TheLastLeadOfThreeBytes", {"\xef\xbc\x8b"}, "efbc8b"},
        {"ACharacterBrokenOffByAnother", {"\xe4\xb8\xc3\xa9"}, "e4 b8 c3a9"},
        {"ACharacterBrokenOffByEscape", {"\xc3", kUp}, "c3 up"},
        {"ASurrogateIsNoCharacter", {"\xed\xa0\x80"}, "ed a0 80"},
        {"BeyondTheLastCodePoint", {"\xf4\x90\x80\x80"}, "f4 90 80 80"},
        {"ALoneContinuationByte", {"\x80"}, "80"},
        {"ALoneEscapeAtItsWait", {"\x1b", kWait, "1"}, "escape 31"},
        {"ASequenceWithAModifier", {"\x1b[1;2C"}, "right"},
        {"ControlAndArrows", {"\x1b[1;5C\x1b[1;5D"}, "wordRight wordLeft"},
        {"AltAndArrows", {"\x1b[1;3C\x1b[1;3D"}, "wordRight wordLeft"},
        {"AltKeys",
         {"\x1b"
          "b\x1b"
          "f\x1b"
          "d\x1b\x7f\x1b\x08"},
         "wordLeft wordRight killWordAfter killWordBefore killWordBefore"},
        {"AnEscapeDropsAnUnfinishedSequence", {"\x1b[1;\x1b[D"}, "left"},
        {"ASequenceTooLong", {"\x1b[123456789C", "1"}, "none 31"},
        {"ASequenceJustShortEnough", {"\x1b[0001;002C"}, "right"},
        {"AltAndAKeyOfNoUse",
         {"\x1b"
          "x1\x1b[15~\t"},
         "none 31 none none"},
        {"AltAndACharacterOfTwoBytesIsOneKey", {"\x1b\xc3\xa9", "3"}, "none 33"},
        {"AltAndACharacterBrokenOffIsNoKey", {"\x1b\xc3", "3"}, "33"},
    }),
    CaseName());

// ---- Drawing --------------------------------------------------------------------------

struct DrawCase {
  std::string name;
  std::string line;
  std::size_t cursor;
  std::size_t columns;
  std::string drawn;
  std::size_t windowStart = 0;
  Clearing clearing = Clearing::kRow;
  std::size_t previousWindowStart = 0;
  std::size_t previousCursorColumn = 0;
  std::string searched = {};  // a search under way for this, when not empty
  std::string answer = {};    // the answer after the line, when not empty: dim
};

class LineDrawingTest : public testing::TestWithParam<DrawCase> {};

TEST_P(LineDrawingTest, DrawsTheRow) {
  EditorState state;
  StartLine(state, kEditCapacity);
  const std::string& line = GetParam().line;
  state.line.Assign(line);
  state.cursor = GetParam().cursor;
  state.columns = GetParam().columns;
  state.windowStart = GetParam().previousWindowStart;
  state.cursorColumn = GetParam().previousCursorColumn;
  state.search.active = !GetParam().searched.empty();
  state.search.text.Assign(GetParam().searched);
  Drawing drawing;
  DrawLine(state, GetParam().clearing, {{}, GetParam().answer, true}, drawing);
  EXPECT_EQ(drawing.View(), GetParam().drawn);
  EXPECT_EQ(state.windowStart, GetParam().windowStart);
}

const std::string k30 = "123456789012345678901234567890";

// The row after each key at ten columns, drawn as the shell draws it: a line made shorter
// by any erasing key, or by the history, shows as much of itself as fits.
struct ShortenedCase {
  std::string name;
  std::vector<std::string> keys;
  std::string drawn;
  std::size_t windowStart;
};

class ShortenedLineTest : public testing::TestWithParam<ShortenedCase> {};

TEST_P(ShortenedLineTest, LeavesNoColumnsFreeWhileTextIsHidden) {
  static EditorState state;
  state = EditorState{};
  StartLine(state, kEditCapacity);
  state.columns = 10;
  Drawing drawing;
  Decode(GetParam().keys, [&](const Keys& keys) {
    for (const Key& key : keys.Elements()) {
      if (Apply(state, key) == EditOutcome::kLineDone) StartLine(state, kEditCapacity);
      DrawLine(state, Clearing::kRow, {}, drawing);
    }
  });
  EXPECT_EQ(drawing.View(), GetParam().drawn);
  EXPECT_EQ(state.windowStart, GetParam().windowStart);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ShortenedLineTest,
    testing::ValuesIn<ShortenedCase>({
        {"Backspace", {k30, std::string(25, '\x7f')}, "\r12345\x1b[0K\r\x1b[5C", 0},
        {"CtrlK", {k30, std::string(10, '\x02'), kCtrlK}, "\r<4567890\x1b[0K\r\x1b[8C", 13},
        {"CtrlU", {k30, kCtrlU}, "\r\x1b[0K\r", 0},
        {"CtrlW", {"12345678 9012345", kCtrlW}, "\r<345678 \x1b[0K\r\x1b[8C", 2},
        {"AltBackspace", {"1+2+3+4+5+6+7+8+9", kAltBackspace}, "\r<+6+7+8+\x1b[0K\r\x1b[8C", 9},
        {"AltD", {k30, kLeft, kLeft, kLeft, kLeft, kLeft, kAltD}, "\r<9012345\x1b[0K\r\x1b[8C", 18},
        {"History", {k30, kEnter, "2+2", kEnter, kUp, kUp, kDown}, "\r2+2\x1b[0K\r\x1b[3C", 0},
        // At the left edge, what Backspace erases is shown before it goes.
        {"BackspaceAtTheLeftEdge",
         {k30, std::string(22, '\x02'), kBackspace, kBackspace},
         "\r<6901234\x1b[9G>\x1b[0K\r\x1b[2C",
         5},
    }),
    CaseName());

INSTANTIATE_TEST_SUITE_P(
    Rows, LineDrawingTest,
    testing::ValuesIn<DrawCase>({
        {"Empty", "", 0, 80, "\r\x1b[0K\r"},
        {"CursorAtTheEnd", "12", 2, 80, "\r12\x1b[0K\r\x1b[2C"},
        {"CursorAtTheStart", "12", 0, 80, "\r12\x1b[0K\r"},
        {"CursorWithinTheLine", "1+23", 3, 80, "\r1+23\x1b[0K\r\x1b[3C"},
        {"ScrolledToTheCursor", k30, 30, 10, "\r<4567890\x1b[0K\r\x1b[8C", 23},
        // The character before the cursor stays shown, and marks show the text hidden.
        {"ScrolledBackToTheCursor", k30, 5, 10, "\r<5678901\x1b[9G>\x1b[0K\r\x1b[2C", 4,
         Clearing::kRow, 22},
        {"TheLastColumnStaysFree", "12345678", 8, 10, "\r12345678\x1b[0K\r\x1b[8C"},
        {"OneColumnMoreScrolls", "123456789", 9, 10, "\r<3456789\x1b[0K\r\x1b[8C", 2},
        {"ManyDigitsInTheMove", std::string(119, '7'), 119, 1024,
         "\r" + std::string(119, '7') + "\x1b[0K\r\x1b[119C"},
        {"WideCharactersTakeTwoColumns", "\xe4\xb8\xad\xe6\x96\x87", 6, 80,
         "\r\xe4\xb8\xad\xe6\x96\x87\x1b[0K\r\x1b[4C"},
        {"AWideCharacterNeverHalfShown", "1\xe4\xb8\xad", 1, 3, "\r\xe4\xb8\xad\x1b[0K\r", 1},
        {"AnInvalidByteTakesOneColumn",
         "\xff"
         "1",
         2, 80,
         "\r\xff"
         "1\x1b[0K\r\x1b[2C"},
        {"ClearingTheScreen", "12", 1, 80, "\x1b[H\x1b[2J\r12\x1b[0K\r\x1b[1C", 0,
         Clearing::kScreen},
        // The line's last drawing left the cursor at column 50; at 20 columns a rewrapping
        // terminal shows it two rows below the line's start.
        {"AfterNarrowing", "12", 2, 20, "\x1b[2A\r\x1b[J\r12\x1b[0K\r\x1b[2C", 0,
         Clearing::kResized, 0, 50},
        {"AfterNarrowingLittle", "12", 2, 60, "\r\x1b[J\r12\x1b[0K\r\x1b[2C", 0, Clearing::kResized,
         0, 50},
        {"AfterNarrowingOneRow", "12", 2, 20, "\x1b[1A\r\x1b[J\r12\x1b[0K\r\x1b[2C", 0,
         Clearing::kResized, 0, 25},
        {"TheFirstWideCharacter", "\xe4\xb8\x80", 3, 80, "\r\xe4\xb8\x80\x1b[0K\r\x1b[2C"},
        {"AfterNarrowingToTheCursorsColumn", "12", 2, 40, "\r\x1b[J\r12\x1b[0K\r\x1b[2C", 0,
         Clearing::kResized, 0, 40},
        // Terminals disagree on its width: what follows it goes where it is counted to be.
        {"AHeartOfTwoColumns",
         "\xe2\x9d\xa4\xef\xb8\x8f"
         "1",
         7, 80, "\r\xe2\x9d\xa4\xef\xb8\x8f\x1b[3G1\x1b[0K\r\x1b[3C"},
        // The answer after the line, where it fits by the last column but one.
        {"TheAnswer", "3+4", 3, 8, "\r3+4\x1b[2m  =7\x1b[22m\x1b[0K\r\x1b[3C", 0, Clearing::kRow, 0,
         0, "", "7"},
        {"AnAnswerThatWouldNotFit", "3+4", 1, 7, "\r3+4\x1b[0K\r\x1b[1C", 0, Clearing::kRow, 0, 0,
         "", "7"},
        {"NoAnswerWhileScrolled", "1+2+3+4", 7, 8, "\r<2+3+4\x1b[0K\r\x1b[6C", 2, Clearing::kRow, 0,
         0, "", "10"},
        {"NoAnswerDuringASearch", "3+4", 0, 40, "\rsearch \"3\": 3+4\x1b[0K\r\x1b[12C", 0,
         Clearing::kRow, 0, 0, "3", "7"},
        {"AnAnswerGivesWayToADisputedWidth", "\xe2\x9d\xa4\xef\xb8\x8f", 6, 8,
         "\r\xe2\x9d\xa4\xef\xb8\x8f\x1b[3G\x1b[0K\r\x1b[2C", 0, Clearing::kRow, 0, 0, "", "ERROR"},
        {"TheMatchOfASearchIsShownWhole", std::string(100, '1') + "xyz99", 100, 40,
         "\rsearch \"xyz9\": <" + std::string(18, '1') + "xyz99\x1b[0K\r\x1b[34C", 82,
         Clearing::kRow, 0, 0, "xyz9"},
    }),
    CaseName());

}  // namespace
}  // namespace intcalc
