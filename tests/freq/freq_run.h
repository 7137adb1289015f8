// Helpers of the frequency-edition tests: an input held in memory, whole
// kavinta20a runs on the in-memory console, and the fixtures folder.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "console/memory_console.h"
#include "console/run.h"
#include "freq/kavinta20a.h"
#include "tests/test_util.h"

namespace kavinta {

/// One kavinta20a run in the current folder: the name typed at the prompt,
/// then a key that ends the closing wait.
struct FreqRun {
  explicit FreqRun(FileSystem& fs, int32_t capacity = 100'000) : state(console, fs, capacity) {}
  int Run(std::string_view typed_name) {
    console.TypeText(std::string(typed_name) + "\r");
    console.Type("x");
    return RunProgram(kFrequencyEdition, state);
  }
  MemoryConsole console;
  RunState state;
};

/// The bytes of a file in tests/freq/fixtures.
inline std::string Fixture(const std::string& name) {
  const char* source = std::getenv("KAVINTA_SOURCE_DIR");
  std::filesystem::path dir = source ? std::filesystem::path(source) / "tests" / "freq"
                                     : std::filesystem::path(__FILE__).parent_path();
  return ReadFileBytes((dir / "fixtures" / name).string());
}

/// A frequency list as it should be on disk: the word lines (UTF-8, as
/// "word<TAB>count"), the empty line and the two totals, in Windows-1254.
inline std::string ListFile(const std::vector<std::string>& lines, int total, int distinct) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  text += "\r\nToplam kelime:\t" + std::to_string(total) + "\r\nMadde başı:\t" +
          std::to_string(distinct) + "\r\n";
  return W(text);
}

}  // namespace kavinta
