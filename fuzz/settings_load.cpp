// The settings load over whatever a damaged or hand-edited store may hold. Each input line is
// one stored value: its first byte picks the section, its second the key, the rest is the text.
// Besides not crashing, loading must be stable: what was loaded, written back and loaded again
// is the same.

#include "core/app/Settings.h"
#include "core/app/SettingsKeys.h"
#include "core/app/SettingsStore.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

const char* const kSections[] = {tovin::kSectionOptions, tovin::kSectionPaths,
                                 tovin::kSectionSettings, tovin::kSectionTip};

const char* const kKeys[] = {
    "JAVABIN",      "MSJAVABIN",   "JYTHON",      "HELPPATH",    "CLASSPATH",   "WORKING_DIR",
    "JAVAC",        "JAVAOPTIONS", "JAVAVERSION", "SAVECOMP",    "LOADLAST",    "SHOWARGS",
    "SHOWDROPS",    "FONTNAME",    "FONTSIZE",    "TABWIDTH",    "SPACETABS",   "KEYCOLOR",
    "COMMENTCOLOR", "STRINGCOLOR", "TAGCOLOR",    "DLGFONTNAME", "DLGFONTSIZE", "DLG_LEFT",
    "DLG_TOP",      "DLG_RIGHT",   "DLG_BOTTOM",  "LASTOPEN",    "RECENTSIZE",  "RECENT0",
    "RECENT1",      "RECENT2",     "RECENT3",     "RECENT9",     "RECENT10",    "FilePos",
};

void FillStore(const uint8_t* data, size_t size, tovin::CMemorySettingsStore& store) {
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end - start >= 2) {
            auto section = static_cast<unsigned char>(text[start]) % std::size(kSections);
            auto key = static_cast<unsigned char>(text[start + 1]) % std::size(kKeys);
            store.SetString(kSections[section], kKeys[key],
                            text.substr(start + 2, end - start - 2));
        }
        start = end + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tovin::CMemorySettingsStore store;
    FillStore(data, size, store);
    const tovin::SSettingsDefaults defaults{"/usr/lib/jvm/default-java", "", "", ""};
    tovin::CSettings loaded = tovin::LoadSettings(store, defaults);
    (void)tovin::ReadTipSettings(store);

    tovin::CSettings copy = loaded;
    tovin::CMemorySettingsStore written;
    (void)tovin::WritePreferences(copy, written);
    (void)tovin::SaveProcessWindowRect(copy, written, copy.dlgLeft, copy.dlgTop, copy.dlgRight,
                                       copy.dlgBottom);
    (void)tovin::SaveLastProject(copy, written, copy.lastOpen);
    if (!(tovin::LoadSettings(written, defaults) == loaded)) {
        __builtin_trap();
    }
    tovin::AddRecentProject(copy, "/new.jpr");
    (void)tovin::SaveLastProject(copy, store, "/new.jpr");
    return 0;
}
