#include "core/app/ProjectTemplates.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

#include <cerrno>

namespace tovin {

namespace {

constexpr const char* kPlaceholder = "<classname>";

constexpr const char* kApplicationTemplate =
    "import java.awt.*;\nimport java.awt.event.*;\n\npublic class <classname> extends "
    "Frame\n{\n\tpublic <classname>()\n\t{\n\t\tthis.addWindowListener\t(new "
    "WindowAdapter(){\n\t\t\tpublic void windowClosing(WindowEvent "
    "e){\n\t\t\t\tdispose();\n\t\t\t\tSystem.exit(0);\n\t\t\t}\n\t\t});\n\t}\n\t\n\tpublic static "
    "void main(String args[])\n\t{\n\t\tSystem.out.println(\"Starting App\");\n\t\t<classname> f "
    "= new <classname>();\n\t\tf.setSize(100,100);\n\t\tf.show();\n\t}\n}";

constexpr const char* kAppletPageTemplate =
    "<HTML>\n\t<HEAD>\n\t\t<TITLE>MyApplet "
    "Example1</TITLE>\n\t</HEAD>\n\t<BODY>\n\t\t<H1>MyApplet</"
    "H1>\n\t\t<HR>\n\t\t<P>\n\t\t\t<APPLET "
    "CODE=\"<classname>.class\" WIDTH=\"300\" "
    "HEIGHT=\"300\">\n\t\t\t</APPLET>\n\t\t</P>\n\t\t<HR>\n\t</BODY>\n</HTML>";

// It ends with a tab after the last brace, as it always has.
constexpr const char* kAppletTemplate =
    "import java.awt.*;\nimport java.applet.*;\n\npublic class <classname> extends "
    "Applet\n{\n\tpublic void paint(Graphics g)\n\t{\n\t\tg.drawString(\"Hello World\", 20, "
    "20);\n\t}\n}\t";

constexpr const char* kServletTemplate =
    "import javax.servlet.*;\nimport javax.servlet.http.*;\nimport java.io.*;\n\npublic class "
    "<classname> extends HttpServlet\n{\n\n\tpublic void doGet(HttpServletRequest req, "
    "HttpServletResponse resp)\n\t\t\t\t\tthrows ServletException, "
    "IOException\n\t{\n\t\tPrintWriter "
    "out;\n\n\t\tresp.setContentType(\"text/html\");\n\t\tout = "
    "resp.getWriter();\n\n\t\tout.println(\"<h1>Hello World</h1>\");\n\t}\n\n}";

std::string FillIn(const std::string& text, const std::string& className) {
    std::string filled;
    const std::string placeholder = kPlaceholder;
    size_t start = 0;
    for (size_t found; (found = text.find(placeholder, start)) != std::string::npos;
         start = found + placeholder.size()) {
        filled.append(text, start, found - start).append(className);
    }
    return filled.append(text, start);
}

} // namespace

std::string ProjectFileName(const std::string& className) {
    const std::string extension = ".jpr";
    const bool hasExtension =
        className.size() >= extension.size() &&
        className.compare(className.size() - extension.size(), extension.size(), extension) == 0;
    return hasExtension ? className : className + extension;
}

std::string ProjectSourceText(EProjectKind kind, const std::string& className) {
    switch (kind) {
    case EProjectKind::Application:
        return FillIn(kApplicationTemplate, className);
    case EProjectKind::Applet:
        return FillIn(kAppletTemplate, className);
    case EProjectKind::Servlet:
        return FillIn(kServletTemplate, className);
    case EProjectKind::Empty:
        break;
    }
    return {};
}

std::string AppletPageText(const std::string& className) {
    return FillIn(kAppletPageTemplate, className);
}

ENewFileResult WriteNewFileOnce(const std::string& path, const std::string& text,
                                std::string* error) {
    std::string reason;
    if (IsDirectoryPath(path)) {
        reason = SystemErrorText(EISDIR);
    } else if (FileExists(path)) {
        return ENewFileResult::Kept;
    } else {
        reason = WriteFileAtomic(path, text);
    }
    if (reason.empty()) {
        return ENewFileResult::Written;
    }
    if (error) {
        *error = std::move(reason);
    }
    return ENewFileResult::Failed;
}

std::string WithClassPathEntry(const std::string& classPath, const std::string& entry) {
    // A class path written on Windows keeps its own separator.
    const char separator = classPath.find(';') != std::string::npos ? ';' : kPathListSeparator;
    std::string::size_type start = 0;
    while (start <= classPath.size()) {
        auto end = classPath.find(separator, start);
        if (end == std::string::npos) {
            end = classPath.size();
        }
        if (classPath.compare(start, end - start, entry) == 0) {
            return classPath;
        }
        start = end + 1;
    }
    return classPath.empty() ? entry : classPath + separator + entry;
}

} // namespace tovin
