// Whole runs of either program in-process, for the tests that feed both the
// same bad input or the same fault: the two editions side by side, a run on
// the in-memory console in the current folder, and the final screen's texts.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "console/memory_console.h"
#include "console/run.h"
#include "freq/kavinta20a.h"
#include "index/kavinta23.h"

namespace kavinta {

/// One of the two programs and what a run of it writes for the base name "x".
struct Program {
  const char* name;
  const Edition* edition;
  const char* answer;  ///< typed after the name: the count answer, or nothing
};

inline const Program kPrograms[] = {
    {"kavinta23", &kIndexEdition, "E"},
    {"kavinta20a", &kFrequencyEdition, ""},
};

/// A run of `program` with `typed` (UTF-8) at the name prompt, then the
/// program's answer and a key for the closing wait.
struct ProgramRun {
  ProgramRun(const Program& program, FileSystem& fs, const std::string& typed,
             int32_t capacity = RecordList::kCapacity)
      : state(std::make_unique<RunState>(console, fs, capacity)) {
    console.TypeText(typed + "\r" + program.answer + "x");
    status = RunProgram(*program.edition, *state);
  }
  /// Row r from column 25 on (the column every final text starts at).
  std::string From25(int row) const {
    std::string text = console.Text(row);
    return text.size() > 24 ? text.substr(24) : std::string();
  }

  MemoryConsole console;
  std::unique_ptr<RunState> state;
  int status = -1;
};

/// The names in the current folder.
inline std::set<std::string> Names() {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    names.insert(e.path().filename().string());
  }
  return names;
}

}  // namespace kavinta
