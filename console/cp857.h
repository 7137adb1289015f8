// Code page 857 (OEM Turkish), the console's character set: screen cells,
// console texts and typed names are held as CP857 bytes and converted to
// UTF-8 only where they leave the program (the terminal, file names).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavinta {

/// The Unicode code point a CP857 byte shows as on the screen. Control bytes
/// show as a blank; the three bytes CP857 leaves undefined show as "?".
char32_t Cp857ToUnicode(uint8_t b);

/// The CP857 byte of a code point, or -1 when CP857 does not hold it.
int UnicodeToCp857(char32_t cp);

/// CP857 bytes to UTF-8 text, as the screen would show them.
std::string Cp857ToUtf8(std::string_view cp857);

/// CP857 bytes to the UTF-8 bytes of a Linux file name: like Cp857ToUtf8,
/// except that control bytes pass unchanged.
std::string Cp857NameToUtf8(std::string_view cp857);

/// UTF-8 text to CP857 bytes; characters CP857 lacks and malformed bytes are
/// dropped.
std::string Utf8ToCp857(std::string_view utf8);

/// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

/// Decodes one UTF-8 character at s[0..n): returns its length (1-4) and sets
/// *cp, 0 when more bytes are needed, or -1 when the bytes are malformed.
int DecodeUtf8(const uint8_t* s, int n, char32_t* cp);

}  // namespace kavinta
