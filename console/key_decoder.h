// Turns the bytes a terminal or a script sends into PC key reads.
//
// A key with a character is one read: its CP857 byte (Enter 13, Backspace 8,
// Esc 27). A key without one is two reads: 0, then its PC scan code. From a
// terminal the decoder understands UTF-8 characters and the escape sequences
// of xterm and the Linux console (both cursor-key forms, ESC [ n ~ keys,
// F1-F12, xterm's modifier parameter); from a script or pipe every byte is a
// key of its own, except that UTF-8 characters are still taken whole.
//
// The decoder does no I/O. The caller keeps the bytes not yet used, calls
// DecodeKey on them and drops `length` bytes from the front after a key or a
// skip. An ESC alone cannot be told from the start of a sequence until the
// input pauses: the caller says so with `paused`, and then every byte gets a
// decision (a lone ESC is the Esc key, a sequence cut short is dropped).
#pragma once

#include <cstdint>

namespace kavinta {

enum class KeySource {
  kTerminal,  ///< a terminal in raw mode: escape sequences are keys
  kStream,    ///< a pipe or a file: one byte, or one UTF-8 character, per key
};

struct DecodedKey {
  enum class Status {
    kKey,       ///< `reads` holds the key's reads; `length` bytes were used
    kNeedMore,  ///< the bytes start a key that is not complete yet
    kSkip,      ///< the first `length` bytes are no key (unknown or unmappable)
  };
  Status status = Status::kNeedMore;
  int length = 0;
  int count = 0;  ///< 1 for a character, 2 for 0 and a scan code
  int reads[2] = {0, 0};
};

/// Decodes the key at the start of bytes[0..n). With `paused` set (the input
/// has paused or ended) the answer is never kNeedMore when n > 0.
DecodedKey DecodeKey(const uint8_t* bytes, int n, KeySource source, bool paused);

}  // namespace kavinta
