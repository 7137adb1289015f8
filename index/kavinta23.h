// The index edition (kavinta23): its title, its reader and its writer.
#pragma once

#include "console/run.h"

namespace kavinta {

extern const Edition kIndexEdition;

}  // namespace kavinta
