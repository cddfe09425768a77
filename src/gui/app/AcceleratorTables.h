#pragma once
// Keyboard accelerators: the main window's table, always active, and the tables of the Java
// source, project and HTML documents, active while such a document's window is active.

#include "app/CommandIds.h"
#include "app/MenuTables.h"

#include <vector>

namespace tovin {

struct SAccelerator {
    const char* keys; // in QKeySequence's portable form, e.g. "Ctrl+M", "Shift+F5"
    ECommand command;
};

// The main window's accelerators followed by those of the document kind.
std::vector<SAccelerator> AcceleratorsFor(EMenuKind kind);

} // namespace tovin
