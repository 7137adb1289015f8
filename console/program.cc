#include "console/program.h"

#include <memory>

#include "console/interrupt.h"
#include "console/terminal_posix.h"

namespace kavinta {

int RunOnTerminal(const Edition& edition) {
  InstallInterruptHandlers();
  std::unique_ptr<TerminalConsole> console = TerminalConsole::Open(0, 1);
  RealFileSystem fs;
  // The record list is large; keep the state off the stack.
  auto state = std::make_unique<RunState>(*console, fs);
  return RunProgram(edition, *state);
}

}  // namespace kavinta
