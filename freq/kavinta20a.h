// The frequency edition (kavinta20a): its title, its reader and its writer.
#pragma once

#include "console/run.h"

namespace kavinta {

extern const Edition kFrequencyEdition;

}  // namespace kavinta
