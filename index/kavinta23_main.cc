// kavinta23: builds a word index of a transcription.
#include "console/program.h"
#include "index/kavinta23.h"

int main() { return kavinta::RunOnTerminal(kavinta::kIndexEdition); }
