// The Ant build-file reader over arbitrary bytes, read from a file as the project reads it.
// Besides not crashing: every target lies within the text, the default index lies within the
// targets, line numbers never decrease, and parsing the text again gives the same targets.

#include "core/javamodel/JavaModel.h"
#include "core/project/AntFileReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int fd = ::memfd_create("build.xml", MFD_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    if (::write(fd, data, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return 0;
    }
    tovin::CAntFileReader reader("/proc/self/fd/" + std::to_string(fd));
    tovin::CJavaFile entry;
    reader.SetFileEntry(&entry);
    int result = reader.Parse();
    ::close(fd);

    const std::string& text = reader.GetText();
    const auto& names = reader.GetTargetNames();
    Check(result == 0 || result == 1);
    Check(!text.empty() || result == 0);
    for (const auto& name : names) {
        Check(text.find(name) != std::string::npos);
    }
    int index = reader.GetDefaultIndex();
    Check(index >= -1 && index < static_cast<int>(names.size()));
    int previous = 0;
    for (const auto& function : entry.Functions()) {
        Check(function->GetPosition() >= previous);
        previous = function->GetPosition();
    }

    tovin::CAntFileReader again = tovin::CAntFileReader::FromText(text);
    Check(again.Parse() == result);
    Check(again.GetTargetNames() == names);
    return 0;
}
