#pragma once
// CToolLocator: the executable path and the bare name of every Java tool Tovin starts, from the
// user's settings. JAVAVERSION 1 selects the older SDK family under MSJAVABIN (jview, jvc); any
// other value the JDK under JAVABIN. The debugger, documentation tool, serialver and the archive
// tool always come from JAVABIN.
//
// The folder settings are used exactly as stored: the suffixes start with the path separator and
// nothing is added or removed, so a stored folder ending in '/' gives a doubled separator. The
// locator checks nothing; a missing tool shows itself when it cannot be started. Each answer is
// computed from the settings at the moment of the call, so changed Preferences apply to the next
// command.

#include <string>

namespace tovin {

struct CSettings;

class CToolLocator {
public:
    // settings must outlive the locator (commands create one for the duration of a command).
    explicit CToolLocator(const CSettings& settings) : m_settings(settings) {}
    virtual ~CToolLocator() = default;

    std::string GetJavaPath() const;
    std::string GetJavacPath() const;
    std::string GetAppletViewerPath() const;
    std::string GetJavaName() const;
    std::string GetJavacName() const;
    std::string GetAppletViewerName() const;
    std::string GetJavadocPath() const;
    std::string GetJdbPath() const;
    std::string GetSerialverPath() const;

    // The archive tool, from JAVABIN in both families.
    std::string GetJarPath() const;
    // Jython's archive and its compiler script under JYTHON.
    std::string GetJythonJarPath() const;
    std::string GetJythoncScriptPath() const;

    // One argument of a composed command line in double quotes; the command-line splitting
    // gives the text back intact, also when it holds double quotes or ends in a backslash.
    static std::string Quote(const std::string& text);
    // Argument zero (a tool's path) in double quotes. Its splitting rule has no escapes, so a
    // double quote cannot be part of it and is dropped.
    static std::string QuoteProgram(const std::string& path);

private:
    bool UsesSdkFamily() const;
    // <folder>/bin/<tool> with the platform's executable suffix.
    static std::string ToolIn(const std::string& folder, const char* tool);

    const CSettings& m_settings;
};

} // namespace tovin
