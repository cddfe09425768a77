#include "gui/app/AcceleratorTables.h"

namespace tovin {

namespace {

using C = ECommand;

const std::vector<SAccelerator> kMainWindow = {
    {"Ctrl+C", C::Copy},
    {"Ctrl+Insert", C::Copy},
    {"Ctrl+X", C::Cut},
    {"Shift+Delete", C::Cut},
    {"Ctrl+V", C::Paste},
    {"Shift+Insert", C::Paste},
    {"Ctrl+Z", C::Undo},
    {"Alt+Backspace", C::Undo},
    {"Ctrl+N", C::FileNew},
    {"Ctrl+O", C::FileOpen},
    {"Ctrl+P", C::Print},
    {"Ctrl+S", C::FileSave},
    {"F1", C::JdkHelp},
    {"F6", C::NextPane},
    {"Shift+F6", C::PreviousPane},
    // The debugger's keys, free in every window; F5 and Shift+F5 continue and stop while a
    // session runs (the windows with a Build menu run and show applets with them otherwise).
    {"Ctrl+F5", C::DebugApplication},
    {"F9", C::ToggleBreakpoint},
    {"F10", C::DebugStepOver},
    {"F11", C::DebugStepInto},
    {"Shift+F11", C::DebugStepOut},
    {"F5", C::DebugContinue},
    {"Shift+F5", C::DebugStop},
};

const std::vector<SAccelerator> kJavaSource = {
    {"Ctrl+[", C::DecreaseIndent},
    {"Ctrl+]", C::IncreaseIndent},
    {"Ctrl+F", C::Find},
    {"Ctrl+G", C::Repeat},
    {"Ctrl+H", C::Replace},
    {"Ctrl+M", C::Compile},
    {"F1", C::JdkHelp},
    {"F2", C::RefreshFunctionList},
    {"F3", C::SyntaxColourUpdate},
    {"F4", C::ProjectWindow},
    {"F5", C::RunApplication},
    {"Shift+F5", C::RunApplet},
    {"F7", C::Build},
};

const std::vector<SAccelerator> kProject = {
    {"Ctrl+M", C::Compile},   {"Delete", C::RemoveFromProject}, {"F1", C::JdkHelp},
    {"F4", C::ProjectWindow}, {"F5", C::RunApplication},        {"Shift+F5", C::RunApplet},
    {"F7", C::Build},         {"F8", C::SetMainClass},
};

// The menus of HTML pages show Ctrl+H as Replace, which wins; the search is repeated with
// Ctrl+G there, as in Java windows.
const std::vector<SAccelerator> kHtml = {
    {"Ctrl+[", C::DecreaseIndent}, {"Ctrl+]", C::IncreaseIndent}, {"Ctrl+F", C::Find},
    {"Ctrl+G", C::Repeat},         {"Ctrl+M", C::Compile},        {"F1", C::JdkHelp},
    {"F4", C::ProjectWindow},      {"Shift+F5", C::RunApplet},    {"F7", C::Build},
};

} // namespace

std::vector<SAccelerator> AcceleratorsFor(EMenuKind kind) {
    std::vector<SAccelerator> table = kMainWindow;
    const std::vector<SAccelerator>* own = nullptr;
    switch (kind) {
    case EMenuKind::JavaSource:
        own = &kJavaSource;
        break;
    case EMenuKind::Project:
        own = &kProject;
        break;
    case EMenuKind::Html:
        own = &kHtml;
        break;
    case EMenuKind::NoDocument:
    case EMenuKind::Xml:
    case EMenuKind::Jython:
        break;
    }
    if (own) {
        table.insert(table.end(), own->begin(), own->end());
    }
    return table;
}

std::vector<SKeyBinding> KeyBindingsFor(EMenuKind kind) {
    std::vector<SKeyBinding> bindings;
    for (const SMenu& menu : MenuBarFor(kind)) {
        for (const SMenuItem& item : menu.items) {
            const auto tab = item.text.find('\t');
            if (item.type == EMenuItemType::Command && tab != std::string::npos) {
                bindings.push_back({item.text.substr(tab + 1), item.command});
            }
        }
    }
    for (const SAccelerator& accelerator : AcceleratorsFor(kind)) {
        bindings.push_back({accelerator.keys, accelerator.command});
    }
    return bindings;
}

} // namespace tovin
