#pragma once
// The menu bars, one per kind of active document, as data. The main frame builds its menus from
// these tables; texts carry their mnemonics and, after a tab, the shortcut shown.

#include "core/app/UiHost.h"
#include "gui/framework/CommandIds.h"

#include <string>
#include <vector>

namespace tovin {

// Which menu bar is shown: the kind of the active document, or none.
enum class EMenuKind { NoDocument, JavaSource, Project, Html, Xml, Jython };

enum class EMenuItemType { Command, Separator, RecentFiles };

struct SMenuItem {
    EMenuItemType type = EMenuItemType::Command;
    ECommand command = ECommand::None;
    std::string text;
};

struct SMenu {
    std::string title;
    std::vector<SMenuItem> items;
};

using SMenuBar = std::vector<SMenu>;

SMenuBar MenuBarFor(EMenuKind kind);
// The menu bar of a window on a document of that kind.
EMenuKind MenuKindFor(EDocumentKind kind);

inline constexpr const char* kHelpMenuTitle = "&Help";
inline constexpr const char* kTipOfTheDayText = "Ti&p of the Day...";

} // namespace tovin
