#include "freq/kavinta20a.h"

#include "freq/reader.h"
#include "freq/writer.h"

namespace kavinta {

const Edition kFrequencyEdition = {"Kavinta 2.0a", "Türkçe metinler için sıklık listesi;", false,
                                   ReadFrequencyWords, WriteFrequencyList};

}  // namespace kavinta
