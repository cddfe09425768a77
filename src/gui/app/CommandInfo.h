#pragma once
// What the program says about each command: its prompt string ("status text\ntool tip", the
// status text shown while the pointer is over the command, the tool tip on toolbar buttons)
// and its toolbar picture (a freedesktop theme name and our own drawing as fallback).

#include "gui/framework/CommandIds.h"

#include <string>

namespace tovin {

struct SCommandInfo {
    ECommand id;
    const char* name;   // identifier for logs and tests, e.g. "FileNew"
    const char* prompt; // "status text\ntool tip"
    const char* themeIcon = nullptr;
    const char* ownIcon = nullptr; // base name of resources/icons/<name>.svg
};

const SCommandInfo& CommandInfo(ECommand id);

// The two fields of a prompt string.
std::string PromptStatusText(const SCommandInfo& info);
std::string PromptToolTip(const SCommandInfo& info);

} // namespace tovin
