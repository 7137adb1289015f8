#include "index/kavinta23.h"

namespace kavinta {
namespace {

// Placeholder until the index reader and writer land: reads nothing.
bool ReadNothing(RunState&, InputFile*) { return true; }
void WriteNothing(RunState&) {}

}  // namespace

const Edition kIndexEdition = {"Kavinta 2.3", "Türkçe metinler için sözcük dizini;", true,
                               ReadNothing, WriteNothing};

}  // namespace kavinta
