// The run sequence both programs share: banner, name prompt, open, (count
// question), the reading, sorting and writing phases with their screens, and
// the closing prompt. An edition supplies its title, whether it asks the
// count question, its reading loop and its writer.
#pragma once

#include <string>
#include <string_view>

#include "console/file_system.h"
#include "console/run_state.h"

namespace kavinta {

struct Edition {
  const char* title;    ///< "Kavinta 2.3" or "Kavinta 2.0a"
  const char* banner;   ///< the banner's first credit line, UTF-8
  bool count_question;  ///< the index edition asks whether to write counts
  /// The reading loop over the opened input (null when the open failed:
  /// nothing is read). Appends records to B, counts MEVCUT, draws a progress
  /// cell per line; returns false on a read error.
  bool (*read)(RunState& state, InputFile* input);
  /// DUZENLEME: writes the edition's files from the sorted records.
  void (*write)(RunState& state);
};

/// The whole run (main's sequence). Returns the exit status, always 0.
int RunProgram(const Edition& edition, RunState& state);

/// The phases, callable on their own by tests.
void GIRIS(const Edition& edition, RunState& state);
void AYRISTIRMA(const Edition& edition, RunState& state);
void SIRALAMA(RunState& state, int32_t lo, int32_t hi);

/// Screen steps of the write phase, shared by both writers.
void BeginWritePhase(RunState& state);
/// Moves the label and track away and writes "İşlem bitti." at (25, 17),
/// or the failure in red, then any notes.
void FinishWritePhase(RunState& state);

/// A UTF-8 text as CP857 console bytes.
std::string Cp(std::string_view utf8);

/// A set of output files written together: each goes to a temporary file,
/// and only when all of them were written completely are they renamed over
/// their final names. A failure becomes the run's red message naming the
/// file; then no final name is touched.
class OutputSet {
 public:
  explicit OutputSet(RunState& state) : state_(state) {}
  /// Starts the file `name` (CP857); returns its index in the set.
  int Add(const std::string& name);
  /// Writes to file i; a file that could not be created swallows its bytes.
  void Write(int i, const void* p, size_t n) {
    if (files_[i].file) files_[i].file->Write(p, n);
  }
  void Write(int i, std::string_view s) { Write(i, s.data(), s.size()); }
  /// Leaves file i out: its temporary file is removed, its final name kept.
  void Drop(int i) { files_[i].file.reset(), files_[i].dropped = true; }
  /// Closes all files and, when all are sound, renames them; false (and the
  /// failure set in the run state) otherwise.
  bool CommitAll();

 private:
  struct Entry {
    std::string name;
    std::unique_ptr<OutputFile> file;
    std::string create_error;
    bool dropped = false;
  };
  void Fail(const Entry& e, const std::string& why);

  RunState& state_;
  std::vector<Entry> files_;
};

}  // namespace kavinta
