// Fuzz target: the Java colouring classifiers and frames (see ColourFuzzTarget.h).

#include "ColourFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    return tovin::fuzz::FuzzColouring(tovin::ELanguage::Java, data, size);
}
