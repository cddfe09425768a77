#pragma once
// The Java engine's help in the Java windows, as the application carries it out: each Java
// view gets its CCodeAssist asking the engine that checks the view's document (CJavaChecks),
// and the Code menu's commands (Complete, Parameter Info, Show Documentation, Go to
// Definition, Find Usages), enabled while that engine is up.
//
// A declaration opens in its file at its name. The JDK's sources, which the engine extracts
// under the cache's "jdk-source" folder, open read-only and say so in the title
// ("String.java (JDK source, read-only)"). Usages are listed in the Process Window, one
// "path:line: text" a line, the form its double-click follows.

#include "language/AssistMessages.h"

#include <string>

namespace tovin {

class CEditorApp;
class CSourceView;

void AttachCodeAssist(CEditorApp& app, CSourceView& view);

// Whether the file is one of the JDK's sources as the engine extracts them: below a folder
// named "jdk-source" of Tovin's cache, or of the engine's own fallback in the temporary folder.
bool IsJdkSourceFile(const std::string& path);

// Opens the file of the location with the caret at its start.
void OpenLocation(CEditorApp& app, const SLocation& location);

} // namespace tovin
