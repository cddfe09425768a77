#pragma once
// Requests to the desktop (a page in the browser, a folder in the file manager) that tell the
// user when the desktop could not carry them out, rather than failing without a word.

#include "core/app/UiHost.h"

#include <string>

namespace tovin {

// Opens the path or address with the desktop's default application; when that fails, says
// "The desktop could not open "<target>"." in a message box. False on failure.
bool OpenWithDesktopOrSay(CUiHost& host, const std::string& target);

} // namespace tovin
