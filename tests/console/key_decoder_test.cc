#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"

namespace kavinta {
namespace {

using Status = DecodedKey::Status;

DecodedKey Decode(const std::string& bytes, KeySource source, bool paused) {
  return DecodeKey(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int>(bytes.size()),
                   source, paused);
}

std::vector<int> ReadsOf(const DecodedKey& k) {
  return std::vector<int>(k.reads, k.reads + k.count);
}

// Decodes a whole input as the terminal console does: keys while more may
// follow, then the rest as after a pause.
std::vector<int> DecodeAll(const std::string& input, KeySource source) {
  std::vector<int> reads;
  std::string rest = input;
  bool paused = false;
  while (!rest.empty()) {
    DecodedKey k = Decode(rest, source, paused);
    if (k.status == Status::kNeedMore) {
      paused = true;
      continue;
    }
    EXPECT_GT(k.length, 0) << "no progress on " << rest;
    if (k.length <= 0) break;
    for (int r : ReadsOf(k)) reads.push_back(r);
    rest.erase(0, static_cast<size_t>(k.length));
    paused = false;
  }
  return reads;
}

struct KeyCase {
  std::string bytes;
  std::vector<int> reads;
};

// Every byte sequence here is one key: the whole sequence decodes to its
// reads, and every proper prefix asks for more bytes.
TEST(KeyDecoderTest, TerminalKeysDecodeWholeAndWaitWhenCut) {
  const std::vector<KeyCase> cases = {
      // Characters: ASCII as it is, Turkish letters as their CP857 bytes.
      {"a", {'a'}},
      {"~", {'~'}},
      {"\t", {9}},
      {"\r", {kKeyEnter}},
      {"\n", {kKeyEnter}},
      {"\x7f", {kKeyBackspace}},
      {"\x08", {kKeyBackspace}},
      {"ç", {0x87}},
      {"Ç", {0x80}},
      {"ğ", {0xA7}},
      {"Ğ", {0xA6}},
      {"ı", {0x8D}},
      {"İ", {0x98}},
      {"ö", {0x94}},
      {"Ö", {0x99}},
      {"ş", {0x9F}},
      {"Ş", {0x9E}},
      {"ü", {0x81}},
      {"Ü", {0x9A}},
      {"é", {0x82}},
      // Cursor keys, both forms.
      {"\x1b[A", {0, kScanUp}},
      {"\x1bOA", {0, kScanUp}},
      {"\x1b[B", {0, kScanDown}},
      {"\x1bOB", {0, kScanDown}},
      {"\x1b[C", {0, kScanRight}},
      {"\x1bOC", {0, kScanRight}},
      {"\x1b[D", {0, kScanLeft}},
      {"\x1bOD", {0, kScanLeft}},
      // Home and End in all their forms.
      {"\x1b[H", {0, kScanHome}},
      {"\x1bOH", {0, kScanHome}},
      {"\x1b[1~", {0, kScanHome}},
      {"\x1b[7~", {0, kScanHome}},
      {"\x1b[F", {0, kScanEnd}},
      {"\x1bOF", {0, kScanEnd}},
      {"\x1b[4~", {0, kScanEnd}},
      {"\x1b[8~", {0, kScanEnd}},
      // The other ESC [ n ~ keys.
      {"\x1b[2~", {0, 82}},
      {"\x1b[3~", {0, kScanDelete}},
      {"\x1b[5~", {0, kScanPageUp}},
      {"\x1b[6~", {0, kScanPageDown}},
      // F1-F10: SS3 and CSI forms for F1-F4, the Linux console's for F1-F5.
      {"\x1bOP", {0, kScanF1}},
      {"\x1bOQ", {0, kScanF1 + 1}},
      {"\x1bOR", {0, kScanF1 + 2}},
      {"\x1bOS", {0, kScanF1 + 3}},
      {"\x1b[11~", {0, kScanF1}},
      {"\x1b[12~", {0, kScanF1 + 1}},
      {"\x1b[13~", {0, kScanF1 + 2}},
      {"\x1b[14~", {0, kScanF1 + 3}},
      {"\x1b[[A", {0, kScanF1}},
      {"\x1b[[E", {0, kScanF1 + 4}},
      {"\x1b[15~", {0, kScanF1 + 4}},
      {"\x1b[17~", {0, kScanF1 + 5}},
      {"\x1b[18~", {0, kScanF1 + 6}},
      {"\x1b[19~", {0, kScanF1 + 7}},
      {"\x1b[20~", {0, kScanF1 + 8}},
      {"\x1b[21~", {0, kScanF1 + 9}},
      {"\x1b[23~", {0, 133}},  // F11
      {"\x1b[24~", {0, 134}},  // F12
      // xterm's modifiers become the PC's Shift, Ctrl and Alt codes.
      {"\x1b[1;2A", {0, kScanUp}},  // Shift-Up: the plain code, as on a PC
      {"\x1b[1;5A", {0, 141}},      // Ctrl-Up
      {"\x1b[1;3A", {0, 152}},      // Alt-Up
      {"\x1b[1;7A", {0, 152}},      // Ctrl-Alt-Up: Alt wins
      {"\x1b[1;5D", {0, 115}},      // Ctrl-Left
      {"\x1b[1;5C", {0, 116}},      // Ctrl-Right
      {"\x1b[1;5H", {0, 119}},      // Ctrl-Home
      {"\x1b[1;5F", {0, 117}},      // Ctrl-End
      {"\x1b[3;5~", {0, 147}},      // Ctrl-Delete
      {"\x1b[1;2P", {0, 84}},       // Shift-F1
      {"\x1bO2P", {0, 84}},         // Shift-F1, older xterm
      {"\x1b[15;5~", {0, 98}},      // Ctrl-F5
      {"\x1b[21;3~", {0, 113}},     // Alt-F10
      {"\x1b[Z", {0, 15}},          // Shift-Tab
      {"\x1bOM", {kKeyEnter}},      // keypad Enter
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    DecodedKey k = Decode(c.bytes, KeySource::kTerminal, /*paused=*/false);
    ASSERT_EQ(k.status, Status::kKey);
    EXPECT_EQ(k.length, static_cast<int>(c.bytes.size()));
    EXPECT_EQ(ReadsOf(k), c.reads);
    for (size_t n = 1; n < c.bytes.size(); ++n) {
      EXPECT_EQ(Decode(c.bytes.substr(0, n), KeySource::kTerminal, false).status, Status::kNeedMore)
          << "prefix of " << n << " bytes";
    }
    // Followed by another key, the key still takes only its own bytes.
    DecodedKey followed = Decode(c.bytes + "x", KeySource::kTerminal, false);
    EXPECT_EQ(followed.length, k.length);
    EXPECT_EQ(ReadsOf(followed), c.reads);
  }
}

struct SkipCase {
  std::string bytes;
  int skipped;
};

TEST(KeyDecoderTest, UnknownSequencesAndUnmappableCharactersAreSkippedWhole) {
  const std::vector<SkipCase> cases = {
      {"\x1b[99~", 5},            // no such key
      {"\x1b[<0;10;5M", 10},      // a mouse report
      {"\x1b[?1;2c", 7},          // a terminal's answer
      {"\x1b[I", 3},              // focus in
      {"\x1b[1;2;3A", 8},         // too many parameters
      {"\x1bOx", 3},              // application keypad key
      {"\x1b[[Z", 4},             // not a Linux console F-key
      {"\x1b[\x01", 2},           // broken off by a control byte
      {"€", 3},                   // not in CP857
      {"中", 3},                  //
      {"\xF0\x9F\x98\x80", 4},    // an emoji
      {"\xC2\x85", 2},            // C1 control
      {std::string(1, '\0'), 1},  // NUL
      {"\xFF", 1},                // malformed UTF-8
      {"\x80", 1},                // stray continuation byte
      {"\xC3\x28", 1},            // lead byte without its continuation
  };
  for (const SkipCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    DecodedKey k = Decode(c.bytes + "a", KeySource::kTerminal, false);
    EXPECT_EQ(k.status, Status::kSkip);
    EXPECT_EQ(k.length, c.skipped);
  }
}

struct PauseCase {
  std::string bytes;
  bool paused;
  Status status;
  int length;
  std::vector<int> reads;
};

// An ESC is the Esc key when nothing follows it before a pause, or when
// another byte than [ or O follows; a sequence cut short by a pause is dropped.
TEST(KeyDecoderTest, EscAndUnfinishedInputAfterAPause) {
  const std::vector<PauseCase> cases = {
      {"\x1b", false, Status::kNeedMore, 0, {}},
      {"\x1b", true, Status::kKey, 1, {kKeyEsc}},
      {"\x1b\x1b", false, Status::kKey, 1, {kKeyEsc}},
      {"\x1bx", false, Status::kKey, 1, {kKeyEsc}},
      {"\x1b[", true, Status::kSkip, 2, {}},
      {"\x1bO", true, Status::kSkip, 2, {}},
      {"\x1b[1;", true, Status::kSkip, 4, {}},
      {"\x1b[[", true, Status::kSkip, 3, {}},
      {"\xC4", true, Status::kSkip, 1, {}},
      {"\xE2\x82", true, Status::kSkip, 2, {}},
      {"a", true, Status::kKey, 1, {'a'}},
      {"\x1b[A", true, Status::kKey, 3, {0, kScanUp}},
  };
  for (const PauseCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes) + (c.paused ? " paused" : ""));
    DecodedKey k = Decode(c.bytes, KeySource::kTerminal, c.paused);
    EXPECT_EQ(k.status, c.status);
    if (c.status == Status::kNeedMore) continue;
    EXPECT_EQ(k.length, c.length);
    EXPECT_EQ(ReadsOf(k), c.reads);
  }
}

TEST(KeyDecoderTest, WholeInputsDecodeToTheirReads) {
  struct InputCase {
    KeySource source;
    std::string input;
    std::vector<int> reads;
  };
  const std::vector<InputCase> cases = {
      // Typed ahead during the banner: a name and Enter.
      {KeySource::kTerminal, "yok\r", {'y', 'o', 'k', 13}},
      {KeySource::kTerminal, "gül\x1b[D\x1b[Dö\r", {'g', 0x81, 'l', 0, 75, 0, 75, 0x94, 13}},
      {KeySource::kTerminal, "ab\x1b", {'a', 'b', kKeyEsc}},
      {KeySource::kTerminal, "\x1b[99~€a\x1b[<0;1;1Mb", {'a', 'b'}},
      // From a pipe ESC is a key of its own and sequences mean nothing.
      {KeySource::kStream, "\x1b[A", {kKeyEsc, '[', 'A'}},
      {KeySource::kStream, "ornek\nE", {'o', 'r', 'n', 'e', 'k', 13, 'E'}},
      {KeySource::kStream, "şık\r\n", {0x9F, 0x8D, 'k', 13, 13}},
      {KeySource::kStream, "a€b\x7f", {'a', 'b', kKeyBackspace}},
      {KeySource::kStream, "a\xC5", {'a'}},  // cut off at the end of the input
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.input));
    EXPECT_EQ(DecodeAll(c.input, c.source), c.reads);
  }
}

}  // namespace
}  // namespace kavinta
