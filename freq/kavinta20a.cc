#include "freq/kavinta20a.h"

namespace kavinta {
namespace {

// Placeholder until the frequency reader and writer land: reads nothing.
bool ReadNothing(RunState&, InputFile*) { return true; }
void WriteNothing(RunState&) {}

}  // namespace

const Edition kFrequencyEdition = {"Kavinta 2.0a", "Türkçe metinler için sıklık listesi;", false,
                                   ReadNothing, WriteNothing};

}  // namespace kavinta
