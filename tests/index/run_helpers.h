// Helpers for running kavinta23 in-process: the source tree's files, a run
// over a MemoryConsole, and the final screen's rows.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "console/memory_console.h"
#include "index/kavinta23.h"
#include "tests/test_util.h"

namespace kavinta {

/// A file of the source tree, e.g. "examples/ornek.txt".
inline std::string SourceFile(const std::string& relative) {
  if (const char* dir = std::getenv("KAVINTA_SOURCE_DIR")) return std::string(dir) + "/" + relative;
  // Run by hand: this header lies in tests/index/ of the tree.
  return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / relative)
      .string();
}

inline std::string Fixture(const std::string& name) {
  return ReadFileBytes(SourceFile("tests/index/fixtures/" + name));
}

/// The names in the current folder.
inline std::set<std::string> FolderNames() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    names.insert(e.path().filename().string());
  }
  return names;
}

/// One whole run of kavinta23: the keys are typed ahead (name, Enter, the
/// answer, then the key that ends the closing wait).
struct IndexRun {
  IndexRun(FileSystem& fs, const std::string& keys, int32_t capacity = 1000)
      : state(std::make_unique<RunState>(console, fs, capacity)) {
    console.TypeText(keys);
    status = RunProgram(kIndexEdition, *state);
  }
  MemoryConsole console;
  std::unique_ptr<RunState> state;
  int status = -1;
};

inline std::string Blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

/// A row's foregrounds: `rest` everywhere, `c` on columns from..to.
inline std::string Span(char rest, int from, int to, char c) {
  std::string s(80, rest);
  for (int i = from; i <= to; ++i) s[static_cast<size_t>(i - 1)] = c;
  return s;
}

}  // namespace kavinta
