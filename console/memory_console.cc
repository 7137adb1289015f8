#include "console/memory_console.h"

#include "console/cp857.h"

namespace kavinta {

void MemoryConsole::Type(std::string_view bytes) {
  for (char c : bytes) keys_.push_back(static_cast<uint8_t>(c));
}

void MemoryConsole::TypeScan(int scan) {
  keys_.push_back(0);
  keys_.push_back(scan);
}

void MemoryConsole::TypeText(std::string_view utf8) { Type(Utf8ToCp857(utf8)); }

int MemoryConsole::ReadKey() {
  if (keys_.empty()) return kNoMoreKeys;
  int key = keys_.front();
  keys_.pop_front();
  return key;
}

std::string MemoryConsole::Text(int row) const {
  std::string bytes = screen().RowBytes(row);
  while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
  return Cp857ToUtf8(bytes);
}

static char Hex(int v) { return "0123456789abcdef"[v & 15]; }

std::string MemoryConsole::Foregrounds(int row) const {
  std::string out;
  for (int c = 1; c <= screen().cols(); ++c) out.push_back(Hex(screen().at(c, row).fg));
  return out;
}

std::string MemoryConsole::Backgrounds(int row) const {
  std::string out;
  for (int c = 1; c <= screen().cols(); ++c) out.push_back(Hex(screen().at(c, row).bg));
  return out;
}

std::string MemoryConsole::Dump() const {
  std::string out;
  for (int r = 1; r <= screen().rows(); ++r) {
    out += std::to_string(r) + "|" + Text(r) + "\n";
  }
  return out;
}

}  // namespace kavinta
