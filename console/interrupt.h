// Ctrl-C, SIGTERM and SIGHUP end a run in an orderly way. The handlers only
// note the signal; the console looks at the note whenever the screen changes
// and whenever it waits, and then calls ExitForInterrupt, which leaves the
// terminal usable and removes half-written output before the process ends.
//
// A second signal of the same kind, arriving before the run has reacted to
// the first, ends the process at once the default way.
#pragma once

#include <string>

namespace kavinta {

/// Installs the SIGINT, SIGTERM and SIGHUP handlers (once); they only set a flag.
void InstallInterruptHandlers();

/// True once one of those signals has arrived.
bool InterruptPending();

/// Runs the registered cleanups in reverse order, removes registered temporary
/// files, and exits with 128 + the signal number.
[[noreturn]] void ExitForInterrupt();

/// Cleanup run by ExitForInterrupt (the terminal restores itself here).
void RegisterCleanup(void (*fn)(void*), void* arg);
void UnregisterCleanup(void (*fn)(void*), void* arg);

/// A temporary output file to remove if the run is interrupted.
void RegisterTempFile(const std::string& path);
void UnregisterTempFile(const std::string& path);

}  // namespace kavinta
