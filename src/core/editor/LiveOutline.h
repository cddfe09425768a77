#pragma once
// The project's model of an Ant or Jython file follows the file: when such a file is opened in
// its editor or saved, its project entry is read again from the file on disk.

#include <string>

namespace tovin {

class CJavaProjectDoc;

// For a path ending in "xml" or "py" (any case) that the project holds as a file: empties the
// entry's classes and functions and reads them again (Ant targets, or the Jython outline).
// Returns true when an entry was read. Emptying first keeps repeated saves from piling up
// copies of the same functions.
bool RefreshLiveOutline(CJavaProjectDoc& project, const std::string& path);

} // namespace tovin
