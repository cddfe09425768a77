// The archive commands: an executable archive of the main file's classes, an archive of any
// folder, and the listing of an archive. All use the JDK's archive tool.

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tovin {

namespace {

constexpr const char* kJarFilter = "Java Archives (*.jar)|*.jar||";
constexpr const char* kManifestName = "manifest.txt";

SFileDialogRequest JarDialogRequest(bool save, std::string proposedName,
                                    std::string initialFolder) {
    SFileDialogRequest request =
        SaveFileRequest(kJarFilter, "jar", std::move(proposedName), std::move(initialFolder));
    request.save = save;
    return request;
}

// The main file name without any ".java", qualified with the main package.
std::string JarMainClass(const CJavaProjectDoc& project) {
    std::string name = project.GetMainFileName();
    const std::string suffix = ".java";
    for (auto at = name.find(suffix); at != std::string::npos; at = name.find(suffix, at)) {
        name.erase(at, suffix.size());
    }
    const std::string& package = project.GetMainPackage();
    return package.empty() ? name : package + "." + name;
}

// Written in binary with LF line ends; the class path goes in exactly as the project stores it.
std::string ManifestText(const CJavaProjectDoc& project) {
    std::string text = "Main-Class: " + JarMainClass(project) + "\n";
    if (!project.GetClassPath().empty()) {
        text += "Classpath: " + project.GetClassPath() + "\n";
    }
    return text;
}

// The class files below root/folder as paths relative to root, sorted so the archive's order
// does not depend on the file system.
std::vector<std::string> ClassFilesBelow(const std::string& root, const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code error;
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(fs::path(root) / folder, options, error), end;
         !error && it != end; it.increment(error)) {
        std::error_code ignored; // an entry that cannot be examined is left out
        if (it->path().extension() == ".class" && it->is_regular_file(ignored)) {
            files.push_back(it->path().lexically_relative(root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What goes into the archive after its name. A compile directory holds the compiled classes in
// their package folders: all of it is archived from there. Without one, the classes lie beside
// the sources: a class without a package takes the main folder's class files; a class in a
// package takes every class file below its top-level package folder, each named from the class
// root, so the archive keeps the package folders the launcher looks the main class up in and
// leaves out the sources and other files there. When nothing is compiled yet, the main class's
// own file is named so the archive tool reports it missing.
std::string ArchiveOperands(const CJavaProjectDoc& project, const std::string& mainFolder) {
    if (!project.GetCompileDir().empty()) {
        return "  -C " + CToolLocator::Quote(project.GetCompileDir()) + " .";
    }
    const std::string& package = project.GetMainPackage();
    const std::string classRoot = GetClassRoot(mainFolder, package);
    if (package.empty() || classRoot == mainFolder) {
        return " *.class";
    }
    const std::string root = classRoot.empty() ? "." : classRoot;
    std::vector<std::string> files = ClassFilesBelow(root, package.substr(0, package.find('.')));
    if (files.empty()) {
        std::string mainClass = JarMainClass(project);
        std::replace(mainClass.begin(), mainClass.end(), '.', kPathSeparator);
        files.push_back(mainClass + ".class");
    }
    std::string operands = " ";
    for (const auto& file : files) {
        operands += " -C " + CToolLocator::Quote(root) + " " + CToolLocator::Quote(file);
    }
    return operands;
}

} // namespace

void CJavaProjectDoc::JarMainFolder() {
    ApplyPendingEdits();
    const std::string mainPath = GetMainFilePath(*this);
    if (mainPath.empty()) {
        return;
    }
    const std::string mainClass = JarMainClass(*this);
    const std::string mainFolder = GetFolder(mainPath);
    std::vector<std::string> chosen =
        m_host.FileDialog(JarDialogRequest(true, mainClass + ".jar", mainFolder));
    if (chosen.empty()) {
        return;
    }
    const std::string archive = chosen.front();
    const std::string manifest = GetFolder(archive) + kPathSeparator + kManifestName;
    if (!WriteFileAtomic(manifest, ManifestText(*this)).empty()) {
        // The archive tool still runs and reports the missing manifest itself.
        ShowMessage(m_host, "Unable to create manifest.");
    }
    CWaitCursor wait(m_host);
    SetCurrentFolder(mainFolder);
    const std::string command = "jar cmfv " + CToolLocator::Quote(manifest) + " " +
                                CToolLocator::Quote(archive) + ArchiveOperands(*this, mainFolder);
    m_host.SetProcessCaption("Creating jar " + archive);
    LaunchTool(m_host, CToolLocator(m_settings).GetJarPath(), command, mainFolder);
}

void CJavaProjectDoc::JarAnyFolder() {
    ApplyPendingEdits();
    const std::string folder = BrowseForFolder(*this, "Choose a folder to jar:");
    if (folder.empty()) {
        return;
    }
    std::vector<std::string> chosen =
        m_host.FileDialog(JarDialogRequest(true, "untitled.jar", folder));
    if (chosen.empty()) {
        return;
    }
    const std::string archive = chosen.front();
    const std::string parent = GetFolder(folder);
    CWaitCursor wait(m_host);
    SetCurrentFolder(parent);
    const std::string command =
        "jar cfv " + CToolLocator::Quote(archive) + " " + CToolLocator::Quote(GetFileName(folder));
    m_host.SetProcessCaption("Creating jar " + archive);
    LaunchTool(m_host, CToolLocator(m_settings).GetJarPath(), command, parent);
}

void CJavaProjectDoc::ShowArchiveContents() {
    std::vector<std::string> chosen = m_host.FileDialog(JarDialogRequest(false, {}, {}));
    if (chosen.empty()) {
        return;
    }
    const std::string folder = GetFolder(chosen.front());
    SetCurrentFolder(folder);
    // Quoted, so a name holding blanks still reaches the tool as one name.
    const std::string command = "jar tvf " + CToolLocator::Quote(GetFileName(chosen.front()));
    m_host.SetProcessCaption("Listing jar " + chosen.front());
    LaunchTool(m_host, CToolLocator(m_settings).GetJarPath(), command, folder);
}

} // namespace tovin
