#include "core/project/JavaProjectDoc.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/javamodel/JavaParser.h"
#include "core/javamodel/JythonOutlineScanner.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/AntCommands.h"
#include "core/project/AntFileReader.h"

#include <algorithm>

namespace tovin {

namespace {

constexpr const char* kCaption = "Tovin";
constexpr const char* kProjectFilter = "Java Project Files (*.jpr)|*.jpr||";

} // namespace

CJavaProjectDoc::CJavaProjectDoc(CSettings& settings, CUiHost& host)
    : m_settings(settings), m_host(host) {
    m_data.classPath = settings.classPath;
    m_data.workingDir = settings.workingDir;
    m_data.runOptions = settings.javaOptions;
    m_data.compileOptions = settings.javac;
    m_scanners.parseJava = [](CJavaFile& file) { CJavaParser(file).ParseFile(); };
    m_scanners.readAntTargets = ReadAntTargets;
    m_scanners.scanJython = [](CJavaFile& file) { JythonOutlineScanner(file); };
    m_runAnt = [this](const std::string& buildFile, const std::string& target) {
        RunAnt(*this, buildFile, target);
    };
}

std::string CJavaProjectDoc::Load(const std::string& path) {
    std::string reason;
    std::optional<std::string> bytes = ReadWholeFile(path, &reason);
    if (!bytes) {
        return "Cannot open the project file \"" + path + "\": " + reason + ".";
    }
    SProjectContents fresh;
    reason = ReadProjectBytes(*bytes, fresh);
    if (!reason.empty()) {
        return "Cannot open the project file \"" + path +
               "\": the file is damaged or is not a project file (" + reason + ").";
    }
    m_data = std::move(fresh);
    m_path = path;
    SetModifiedFlag(false);
    return {};
}

std::string CJavaProjectDoc::Save(const std::string& path) {
    ApplyPendingEdits();
    // Saving under another name writes a new project file; its files stay where they are. The
    // entries are found from where the project is now, then record the new file, so that a
    // later load does not take the project for a moved one and look for its files beside it.
    std::vector<std::string> recorded;
    if (path != m_path) {
        RebaseEntries();
        recorded = RecordProjectPath(path);
    }
    std::string reason = WriteFileAtomic(path, WriteProjectBytes(m_data));
    if (!reason.empty()) {
        RestoreProjectPaths(recorded);
        return "Cannot save the project file \"" + path + "\": " + reason +
               ". The file on disk was not changed.";
    }
    m_path = path;
    SetModifiedFlag(false);
    return {};
}

void CJavaProjectDoc::SetModifiedFlag(bool modified) {
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    if (m_onModified) {
        m_onModified(modified);
    }
}

void CJavaProjectDoc::ApplyPendingEdits() {
    if (m_applyPending) {
        m_applyPending();
    }
}

std::string CJavaProjectDoc::GetDialogFolder() const {
    if (!m_dialogFolder.empty()) {
        return m_dialogFolder;
    }
    if (m_path.find(kPathSeparator) != std::string::npos) {
        return GetFolder(m_path);
    }
    return HomeFolder();
}

std::string CJavaProjectDoc::GetTitle() const {
    if (!m_path.empty()) {
        return tovin::GetFileName(m_path);
    }
    return m_title.empty() ? "Untitled" : m_title;
}

int CJavaProjectDoc::AddFile(const std::string& path) {
    if (GetExtension(path) == "html") {
        AddHtmlFile(path);
        return 1;
    }
    if (m_data.javaFiles.FindByFullPath(path)) {
        return 0;
    }
    if (CJavaFile* sameName = m_data.javaFiles.FindByFileName(tovin::GetFileName(path))) {
        sameName->SetPath(path);
        SetModifiedFlag();
        return 1;
    }
    auto file = std::make_unique<CJavaFile>();
    file->SetProjectPath(m_path);
    file->SetPath(path);
    // A full list leaves the project as it was, so the caller must not treat the file as added.
    if (!m_data.javaFiles.Add(std::move(file))) {
        return 0;
    }
    SetModifiedFlag();
    return 1;
}

void CJavaProjectDoc::AddHtmlFile(const std::string& path) {
    if (m_data.freeFiles.FindByFullPath(path)) {
        m_host.MessageBox("File is already in project.", kCaption, EMsgButtons::Ok,
                          EMsgIcon::Warning);
        return;
    }
    if (m_data.freeFiles.ContainsFileName(tovin::GetFileName(path))) {
        m_host.MessageBox("You cannot add two files with the same name to a project.", kCaption,
                          EMsgButtons::Ok, EMsgIcon::Warning);
        return;
    }
    auto page = std::make_unique<CFreeJavaFile>();
    page->SetProjectPath(m_path);
    page->SetPath(path);
    if (!m_data.freeFiles.Add(std::move(page))) {
        return;
    }
    RefreshViews();
    SetModifiedFlag();
}

void CJavaProjectDoc::AddFreeFile(const std::string& path) {
    auto page = std::make_unique<CFreeJavaFile>();
    // The page moves with the project like every other entry, so a copy runs its own page.
    page->SetProjectPath(m_path);
    page->SetPath(path);
    if (m_data.freeFiles.Add(std::move(page))) {
        SetModifiedFlag();
    }
}

namespace {

template <class TList> void RemoveFirstWithPath(TList& list, const std::string& path) {
    for (int i = 0; i < list.GetCount(); ++i) {
        if (list.Item(i)->GetFullPath() == path) {
            list.Remove(i);
            return;
        }
    }
}

} // namespace

void CJavaProjectDoc::RemoveFile(const std::string& path) {
    RemoveFirstWithPath(m_data.freeFiles, path);
    RemoveFirstWithPath(m_data.javaFiles, path);
    RefreshViews();
    SetModifiedFlag();
}

void CJavaProjectDoc::SetMainFile(const std::string& name) {
    m_data.mainFile = name;
    const CJavaFile* entry = m_data.javaFiles.FindByFileName(name);
    m_data.mainPackage = entry ? entry->GetPackage() : std::string();
    SetModifiedFlag();
    RefreshViews();
}

void CJavaProjectDoc::SetMainHtmlFile(const std::string& name) {
    m_data.mainHtmlFile = name;
    SetModifiedFlag();
    RefreshViews();
}

namespace {

// Whether a class of the file's model declares a method named main, the one a launcher runs.
bool HasMainMethod(const CJavaFile& file) {
    for (const auto& javaClass : file.Classes()) {
        for (const auto& method : javaClass->Methods()) {
            if (method->GetName().starts_with("main(")) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::string CJavaProjectDoc::ChooseMainFile() const {
    if (!m_data.mainFile.empty()) {
        return m_data.mainFile;
    }
    // The last Java file with a main method is the one that can run; a project of model and
    // utility classes only must not pick the last of those instead. Without models to tell,
    // the last Java file.
    const CJavaFile* runnable = nullptr;
    const CJavaFile* last = nullptr;
    for (const auto& entry : m_data.javaFiles) {
        if (entry->GetExtension() == "java") {
            last = entry.get();
            if (HasMainMethod(*entry)) {
                runnable = entry.get();
            }
        }
    }
    const CJavaFile* chosen = runnable ? runnable : last;
    return chosen ? std::string(chosen->GetFileName()) : std::string();
}

std::string CJavaProjectDoc::GetMainFile() {
    if (m_data.mainFile.empty()) {
        if (std::string chosen = ChooseMainFile(); !chosen.empty()) {
            SetMainFile(chosen);
        }
    }
    return m_data.mainFile;
}

std::string CJavaProjectDoc::GetFullPath(const std::string& name) {
    // Resolving a moved project's paths changes the project: it happens for every entry at
    // once, marked and told, never for one entry behind the user's back.
    RebaseEntries();
    if (const CJavaFile* entry = m_data.javaFiles.FindByFileName(name)) {
        return entry->GetFullPath();
    }
    if (const CFreeJavaFile* page = m_data.freeFiles.FindByFileName(name)) {
        return page->GetFullPath();
    }
    return kNoFile;
}

std::string CJavaProjectDoc::GetFreeFilePath(const std::string& name) const {
    const CFreeJavaFile* page = m_data.freeFiles.FindByFileName(name);
    return page ? page->GetFullPath() : std::string();
}

int CJavaProjectDoc::ContainsJavaFile(const std::string& path) const {
    return m_data.javaFiles.FindByFullPath(path) ? 1 : 0;
}

int CJavaProjectDoc::FindInProjectFolder(const std::string& name) {
    CJavaFile* entry = m_data.javaFiles.FindByFileName(name);
    // A project that was never saved has no folder to look in.
    if (!entry || m_path.find(kPathSeparator) == std::string::npos) {
        return 0;
    }
    const std::string candidate = GetFolder(m_path) + kPathSeparator + name;
    COpenDocument* document = m_host.OpenDocument(candidate);
    if (!document || document->Kind() != EDocumentKind::JavaSource) {
        return 0;
    }
    entry->SetPath(candidate);
    SetModifiedFlag();
    return 1;
}

int CJavaProjectDoc::OpenFileAtLine(const std::string& name, int place) {
    const std::string path = GetFullPath(name);
    if (path == kNoFile) {
        return 0;
    }
    COpenDocument* document = m_host.OpenDocument(path);
    if (!document) {
        return 0;
    }
    switch (document->Kind()) {
    case EDocumentKind::JavaSource:
        document->ShowPosition(place);
        return 1;
    case EDocumentKind::Jython:
    case EDocumentKind::Xml:
    case EDocumentKind::Html: // an HTML editor has no line to show, but the page is open
        document->ShowLine(place);
        return 1;
    default:
        return 0;
    }
}

int CJavaProjectDoc::ShowClass(const std::string& className) {
    for (const auto& entry : m_data.javaFiles) {
        if (!entry->Classes().ContainsClass(className)) {
            continue;
        }
        COpenDocument* document = m_host.OpenDocument(entry->GetFullPath());
        if (!document || document->Kind() != EDocumentKind::JavaSource) {
            return 0;
        }
        const int position = document->FindFunctionPosition(className);
        if (position < 0) {
            return 0;
        }
        document->ShowPosition(position);
        return 1;
    }
    return 0;
}

void CJavaProjectDoc::OnSourceReparsed(const std::string& documentPath,
                                       const COpenDocument& document) {
    const std::string package = document.PackageName();
    if (documentPath == GetFullPath(m_data.mainFile) && !package.empty()) {
        m_data.mainPackage = package;
    }
    for (const auto& entry : m_data.javaFiles) {
        if (entry->GetFullPath() == documentPath) {
            entry->SetPackage(package);
        }
    }
    RefreshViews();
}

void CJavaProjectDoc::RebuildClassInformation() {
    for (const auto& entry : m_data.javaFiles) {
        const std::string extension = entry->GetExtension();
        const auto& scanner = extension == "py"    ? m_scanners.scanJython
                              : extension == "xml" ? m_scanners.readAntTargets
                                                   : m_scanners.parseJava;
        if (scanner) {
            scanner(*entry);
        }
    }
    RefreshViews();
}

void CJavaProjectDoc::RefreshViews() {
    if (m_refresh) {
        m_refresh();
    }
}

namespace {

template <class TList> bool RebaseList(TList& list, const std::string& projectPath) {
    bool changed = false;
    for (const auto& entry : list) {
        const std::string before = entry->GetFullPath();
        changed |= entry->ResolvePath(projectPath) != before;
    }
    return changed;
}

// Whether the path is the folder itself or lies below it.
bool IsWithin(const std::string& path, const std::string& folder) {
    return path.starts_with(folder) &&
           (path.size() == folder.size() || path[folder.size()] == kPathSeparator);
}

// The deepest folder that holds every path; empty when they share only the root, or when a
// path is not an absolute path of this platform.
std::string CommonFolder(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return {};
    }
    std::string common = GetFolder(paths.front());
    for (const std::string& path : paths) {
        if (!path.starts_with(kPathSeparator)) {
            return {};
        }
        while (!common.empty() && !IsWithin(GetFolder(path), common)) {
            common = GetFolder(common);
        }
    }
    return common;
}

// The folder a copied project's files were copied from, or empty when the project is no copy:
// every path lies below it, it is outside the project's folder (and does not hold it), and
// each path's place below it exists in the project's folder. Tried from the paths' deepest
// common folder upwards, so a copy of a folder that kept its sources in a subfolder is found
// as well.
std::string CopiedFromFolder(const std::vector<std::string>& paths,
                             const std::string& projectFolder) {
    std::string from = CommonFolder(paths);
    if (IsWithin(from, projectFolder)) {
        return {};
    }
    for (; !from.empty() && !IsWithin(projectFolder, from); from = GetFolder(from)) {
        const bool allBeside = std::all_of(paths.begin(), paths.end(), [&](const auto& path) {
            return FileExists(projectFolder + path.substr(from.size()));
        });
        if (allBeside) {
            return from;
        }
    }
    return {};
}

template <class TList>
void MoveList(TList& list, const std::string& from, const std::string& to,
              const std::string& projectPath) {
    for (const auto& entry : list) {
        entry->SetPath(to + entry->GetFullPath().substr(from.size()));
        entry->SetProjectPath(projectPath);
    }
}

} // namespace

std::vector<std::string> CJavaProjectDoc::RecordProjectPath(const std::string& path) {
    std::vector<std::string> previous;
    auto record = [&](auto& list) {
        for (const auto& entry : list) {
            previous.push_back(entry->GetProjectPath());
            entry->SetProjectPath(path);
        }
    };
    record(m_data.javaFiles);
    record(m_data.freeFiles);
    return previous;
}

void CJavaProjectDoc::RestoreProjectPaths(const std::vector<std::string>& previous) {
    auto next = previous.begin();
    auto restore = [&](auto& list) {
        for (const auto& entry : list) {
            if (next != previous.end()) {
                entry->SetProjectPath(*next++);
            }
        }
    };
    restore(m_data.javaFiles);
    restore(m_data.freeFiles);
}

bool CJavaProjectDoc::RebaseEntries() {
    // Pages the new-project wizard added used to record no project path, so they stayed with
    // the original when the project was copied. They were added to the same project file as the
    // other entries: when those all record one project file, the pages take it too.
    std::string recorded;
    bool oneRecorded = true;
    auto findRecorded = [&](const auto& list) {
        for (const auto& entry : list) {
            const std::string& path = entry->GetProjectPath();
            if (!path.empty() && !recorded.empty() && path != recorded) {
                oneRecorded = false;
            } else if (!path.empty()) {
                recorded = path;
            }
        }
    };
    findRecorded(m_data.javaFiles);
    findRecorded(m_data.freeFiles);
    if (oneRecorded && !recorded.empty() && recorded != m_path) {
        for (const auto& page : m_data.freeFiles) {
            if (page->GetProjectPath().empty()) {
                page->SetProjectPath(recorded);
            }
        }
    }
    // Both lists are walked whole: a change in the first must not skip the second.
    const bool javaChanged = RebaseList(m_data.javaFiles, m_path);
    const bool freeChanged = RebaseList(m_data.freeFiles, m_path);
    bool changed = javaChanged || freeChanged;
    // Without a project path to go by, only files that are gone from where they were recorded
    // make the project a copy: an entry that records this very project file, or any file still
    // in its place, says the project is where it was, whatever lies beside the project file.
    std::vector<std::string> paths;
    bool recordedHere = false;
    auto collect = [&](const auto& list) {
        for (const auto& entry : list) {
            paths.push_back(entry->GetFullPath());
            recordedHere |= entry->GetProjectPath() == m_path;
        }
    };
    collect(m_data.javaFiles);
    collect(m_data.freeFiles);
    const bool inPlace = recordedHere || std::any_of(paths.begin(), paths.end(), FileExists);
    if (m_path.find(kPathSeparator) != std::string::npos && !inPlace) {
        const std::string folder = GetFolder(m_path);
        if (const std::string from = CopiedFromFolder(paths, folder); !from.empty()) {
            MoveList(m_data.javaFiles, from, folder, m_path);
            MoveList(m_data.freeFiles, from, folder, m_path);
            changed = true;
        }
    }
    if (changed) {
        SetModifiedFlag();
        if (m_notice) {
            m_notice("The project was moved or copied: its files are used from \"" +
                     GetFolder(m_path) + "\".");
        }
    }
    return changed;
}

bool CJavaProjectDoc::CanCloseFrame() {
    if (m_host.MessageBox("Do you really want to close this project?", kCaption,
                          EMsgButtons::OkCancel, EMsgIcon::Question) != EMsgAnswer::Ok) {
        return false;
    }
    return SaveModified();
}

bool CJavaProjectDoc::SaveModified() {
    // A setting typed into the form but not applied yet is a change like any other.
    ApplyPendingEdits();
    if (!m_path.empty() && !IsReadOnlyFile(m_path)) {
        return SaveReporting(m_path);
    }
    if (!m_modified) {
        return true;
    }
    // A read-only project (an installed example) is closed as it is unless the user wants the
    // changes kept in a file of their own.
    const std::string question = m_path.empty()
                                     ? "Save changes to " + GetTitle() + "?"
                                     : "The project file \"" + m_path +
                                           "\" is read-only. Save the changes under another name?";
    switch (m_host.MessageBox(question, kCaption, EMsgButtons::YesNoCancel, EMsgIcon::Question)) {
    case EMsgAnswer::Yes:
        return SaveAskingForName();
    case EMsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool CJavaProjectDoc::SaveAskingForName() {
    SFileDialogRequest request = SaveFileRequest(
        kProjectFilter, "jpr", GetTitle(), m_path.empty() ? std::string() : GetFolder(m_path));
    std::vector<std::string> chosen = m_host.FileDialog(request);
    return !chosen.empty() && SaveReporting(chosen.front());
}

bool CJavaProjectDoc::SaveReporting(const std::string& path) {
    std::string error = Save(path);
    if (error.empty()) {
        return true;
    }
    m_host.MessageBox(error, kCaption, EMsgButtons::Ok, EMsgIcon::Error);
    return false;
}

void CJavaProjectDoc::OnCloseDocument() {
    if (m_onClosed) {
        m_onClosed(m_path);
    }
}

} // namespace tovin
