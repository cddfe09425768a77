#pragma once
// The editors inside the application: the view a source document's frame shows, with its
// commands on the view's command map, its caret status in the main window's panes and, for the
// Java editor, the frame's function drop-down.

#include <string>

class QWidget;

namespace tovin {

class CDocument;
class CEditorApp;
class CDocTemplate;

// A new document of a source type (Java, HTML, XML, Jython).
CDocument* CreateEditorDocument(CEditorApp& app, CDocTemplate& docTemplate);
// The view of a source document in its frame, after its first display.
QWidget* CreateEditorView(CEditorApp& app, CDocument& document, QWidget* frame);
// The file name a Java text is saved under: its public top-level type's ("Hello.java"), else
// its first top-level type's; empty for a text that declares none.
std::string JavaFileNameFor(const std::string& text);

} // namespace tovin
