// kavinta20a: builds the word-frequency list of a text.
#include "console/program.h"
#include "freq/kavinta20a.h"

int main() { return kavinta::RunOnTerminal(kavinta::kFrequencyEdition); }
