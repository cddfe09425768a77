#include "core/project/ToolLocator.h"

#include "core/app/Settings.h"
#include "core/platform/CommandLine.h"
#include "core/platform/Paths.h"

#include <algorithm>
#include <iterator>

namespace tovin {

namespace {

constexpr int kSdkFamily = 1;

} // namespace

bool CToolLocator::UsesSdkFamily() const {
    return m_settings.javaVersion == kSdkFamily;
}

std::string CToolLocator::ToolIn(const std::string& folder, const char* tool) {
    return folder + kPathSeparator + "bin" + kPathSeparator + tool + kExecutableSuffix;
}

std::string CToolLocator::GetJavaPath() const {
    return UsesSdkFamily() ? ToolIn(m_settings.msJavaBin, "jview")
                           : ToolIn(m_settings.javaBin, "java");
}

std::string CToolLocator::GetJavacPath() const {
    return UsesSdkFamily() ? ToolIn(m_settings.msJavaBin, "jvc")
                           : ToolIn(m_settings.javaBin, "javac");
}

std::string CToolLocator::GetAppletViewerPath() const {
    return ToolIn(UsesSdkFamily() ? m_settings.msJavaBin : m_settings.javaBin, "appletviewer");
}

std::string CToolLocator::GetJavaName() const {
    return UsesSdkFamily() ? "jview" : "java";
}

std::string CToolLocator::GetJavacName() const {
    return UsesSdkFamily() ? "jvc" : "javac";
}

std::string CToolLocator::GetAppletViewerName() const {
    return "appletviewer";
}

std::string CToolLocator::GetJavadocPath() const {
    return ToolIn(m_settings.javaBin, "javadoc");
}

std::string CToolLocator::GetJdbPath() const {
    return ToolIn(m_settings.javaBin, "jdb");
}

std::string CToolLocator::GetSerialverPath() const {
    return ToolIn(m_settings.javaBin, "serialver");
}

std::string CToolLocator::GetJarPath() const {
    return ToolIn(m_settings.javaBin, "jar");
}

std::string CToolLocator::GetJythonJarPath() const {
    return m_settings.jython + kPathSeparator + "jython.jar";
}

std::string CToolLocator::GetJythoncScriptPath() const {
    return m_settings.jython + kPathSeparator + "Tools" + kPathSeparator + "jythonc" +
           kPathSeparator + "jythonc.py";
}

std::string CToolLocator::Quote(const std::string& text) {
    return EncloseWindowsArgument(text);
}

std::string CToolLocator::QuoteProgram(const std::string& path) {
    std::string quoted = "\"";
    std::remove_copy(path.begin(), path.end(), std::back_inserter(quoted), '"');
    return quoted + '"';
}

} // namespace tovin
