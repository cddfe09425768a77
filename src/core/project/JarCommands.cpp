// The archive commands: an executable archive of the main file's classes, an archive of any
// folder, and the listing of an archive. All use the JDK's archive tool.

#include "app/Settings.h"
#include "app/UiHost.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/CommandHelpers.h"
#include "project/JavaProjectDoc.h"
#include "project/ToolLocator.h"

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

// What goes into the archive after its name. A compile directory holds the compiled classes in
// their package folders: all of it is archived from there. Without one, the classes lie beside
// the sources: a class without a package takes the main folder's class files; a class in a
// package takes its top-level package folder from the class root, so the archive keeps the
// package folders the launcher looks the main class up in.
std::string ArchiveOperands(const CJavaProjectDoc& project, const std::string& mainFolder) {
    if (!project.GetCompileDir().empty()) {
        return "  -C " + CToolLocator::Quote(project.GetCompileDir()) + " .";
    }
    const std::string& package = project.GetMainPackage();
    const std::string classRoot = GetClassRoot(mainFolder, package);
    if (package.empty() || classRoot == mainFolder) {
        return " *.class";
    }
    const std::string topPackage = package.substr(0, package.find('.'));
    return "  -C " + CToolLocator::Quote(classRoot.empty() ? "." : classRoot) + " " +
           CToolLocator::Quote(topPackage);
}

} // namespace

void CJavaProjectDoc::JarMainFolder() {
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
    LaunchTool(m_host, CToolLocator(m_settings).GetJarPath(), command, folder);
}

} // namespace tovin
