// What both programs' main does: a terminal console over standard input and
// output, the real file system, and one run of the edition.
#pragma once

#include "console/run.h"

namespace kavinta {

int RunOnTerminal(const Edition& edition);

}  // namespace kavinta
