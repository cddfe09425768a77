// The compile commands of the project: one file, the whole project, a chosen folder.

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/TestCommands.h"
#include "core/project/ToolLocator.h"

namespace tovin {

namespace {

constexpr const char* kNothingToBuildMessage =
    "You must add a file to the project in order to build.";

// With SAVECOMP the compiler reads what the editors show: the modified files are saved first.
// False when a save failed; the compile then does not run.
bool SaveBeforeCompiling(const CJavaProjectDoc& project) {
    return project.Settings().saveComp == 0 || project.Host().SaveModifiedFiles();
}

} // namespace

void CJavaProjectDoc::CompileFile(const std::string& path, const std::string& package) {
    ApplyPendingEdits();
    m_host.SetProcessCaption("Compiling \"" + path + "\"");
    if (!SaveBeforeCompiling(*this)) {
        return;
    }
    const auto junit = JUnitClassPathForBuild(*this, path);
    if (!junit) {
        return;
    }
    CWaitCursor wait(m_host);
    const std::string folder = GetClassRoot(GetFolder(path), package);
    SetCurrentFolder(folder);
    const CToolLocator locator(m_settings);
    LaunchTool(m_host, locator.GetJavacPath(),
               locator.GetJavacName() + tovin::GetCompileOptions(*this, *junit) +
                   CToolLocator::Quote(path),
               folder);
}

void CJavaProjectDoc::Build() {
    ApplyPendingEdits();
    const std::string main = GetMainFile();
    if (main.empty()) {
        ShowMessage(m_host, kNothingToBuildMessage);
        return;
    }
    const std::string mainPath = GetMainFilePath(*this);
    if (mainPath.empty()) {
        return;
    }
    // Test files compile against Debian's JUnit without the user naming its archives.
    const auto junit = JUnitClassPathForBuild(*this);
    if (!junit) {
        return;
    }
    const CToolLocator locator(m_settings);
    std::string command = locator.GetJavacName() + tovin::GetCompileOptions(*this, *junit);
    bool first = true;
    for (const auto& entry : m_data.javaFiles) {
        if (entry->GetExtension() != "java") {
            continue;
        }
        command += (first ? "" : " ") + CToolLocator::Quote(entry->GetFullPath());
        first = false;
    }
    if (!SaveBeforeCompiling(*this)) {
        return;
    }
    m_host.SetProcessCaption("Building \"" + main + "\"");
    CWaitCursor wait(m_host);
    const std::string folder = GetClassRoot(GetFolder(mainPath), m_data.mainPackage);
    SetCurrentFolder(folder);
    LaunchTool(m_host, locator.GetJavacPath(), command, folder);
}

void CJavaProjectDoc::CompileFolder() {
    ApplyPendingEdits();
    const std::string folder = BrowseForFolder(*this, "Choose a folder to compile:");
    if (folder.empty()) {
        return;
    }
    const CToolLocator locator(m_settings);
    // The runner expands the wildcard in the folder, as the compiler did on its first platform.
    const std::string command = locator.GetJavacName() + tovin::GetCompileOptions(*this) + "*.java";
    m_host.SetProcessCaption("Compiling \"" + folder + "\"");
    if (!SaveBeforeCompiling(*this)) {
        return;
    }
    CWaitCursor wait(m_host);
    SetCurrentFolder(folder);
    LaunchTool(m_host, locator.GetJavacPath(), command, folder);
}

} // namespace tovin
