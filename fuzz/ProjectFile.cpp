// The project-file reader on arbitrary bytes: it must refuse or read them without crashing,
// leaking or hanging, and whatever it reads must write back to bytes that read the same way.

#include "core/project/ProjectFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tovin::SProjectContents contents;
    if (!tovin::ReadProjectBytes(bytes, contents).empty()) {
        return 0;
    }
    // Input may use long length forms or 16-bit text; the written form is canonical, so it
    // must survive a second round trip unchanged.
    const std::string written = tovin::WriteProjectBytes(contents);
    tovin::SProjectContents again;
    if (!tovin::ReadProjectBytes(written, again).empty() ||
        tovin::WriteProjectBytes(again) != written) {
        std::abort();
    }
    return 0;
}
