#pragma once
// Keyboard accelerators: the main window's table, always active, and the tables of the Java
// source, project and HTML documents, active while such a document's window is active.

#include "gui/app/MenuTables.h"
#include "gui/framework/CommandIds.h"

#include <string>
#include <vector>

namespace tovin {

struct SAccelerator {
    const char* keys; // in QKeySequence's portable form, e.g. "Ctrl+M", "Shift+F5"
    ECommand command;
};

// The main window's accelerators followed by those of the document kind.
std::vector<SAccelerator> AcceleratorsFor(EMenuKind kind);

// Every key of a window of that kind, in the order in which they claim it: first each shortcut
// its menus show (after the tab of an item's text), running that item's command, so a key shown
// in a menu always does what the item does; then the accelerators of AcceleratorsFor. Where a
// key appears twice, its first entry counts.
struct SKeyBinding {
    std::string keys;
    ECommand command;
};
std::vector<SKeyBinding> KeyBindingsFor(EMenuKind kind);

} // namespace tovin
