#pragma once
// Path conventions of the platform and the folders Tovin reads from and writes to.
//
// Every "text before/after the last separator" rule of the product works on kPathSeparator;
// class paths are joined with kPathListSeparator. Paths are UTF-8 byte strings.

#include <string>

namespace tovin {

inline constexpr char kPathSeparator = '/';
inline constexpr char kPathListSeparator = ':';
inline constexpr const char* kExecutableSuffix = "";

// Text before the last separator; the whole path when it has none.
std::string GetFolder(const std::string& path);
// Text after the last separator; the whole path when it has none.
std::string GetFileName(const std::string& path);
// Text after the last "." of the whole path, lower-cased; the whole text lower-cased when
// there is no "." (so "/my.dir/Makefile" gives "dir/makefile").
std::string GetExtension(const std::string& path);
// ASCII lower-casing, as the product compares extensions and folds case.
std::string ToLowerAscii(std::string text);

// Folder of the running executable (resolved through /proc/self/exe), without trailing '/'.
std::string ApplicationFolder();
// Read-only data (tips, help, icons): <prefix>/share/tovin next to an installed executable,
// else the source tree's resources/ folder. TOVIN_DATA_DIR overrides both.
std::string DataFolder();
// The path of a read-only data file, relative to the data folder. Files the build makes (not
// sources kept in resources/) are looked for in the build tree's data folder when the data
// folder has none. With TOVIN_DATA_DIR set only that folder counts. Empty when there is none.
std::string FindDataFile(const std::string& relativePath);
// The user's home folder ($HOME), or "/" when it is not set.
std::string HomeFolder();
// $XDG_CACHE_HOME/tovin (or ~/.cache/tovin); created on demand. Empty when it cannot be made.
std::string CacheFolder();
// $XDG_CONFIG_HOME/Verrimond/Tovin.conf (or ~/.config/...). The folder is not created here.
std::string ConfigFilePath();

} // namespace tovin
