#include "index/kavinta23.h"

#include "index/reader.h"
#include "index/writer.h"

namespace kavinta {

const Edition kIndexEdition = {"Kavinta 2.3", "Türkçe metinler için sözcük dizini;", true,
                               ReadIndexInput, WriteIndex};

}  // namespace kavinta
