// The command composition of the project commands over an arbitrary project file opened from a
// folder it was not written in: re-basing the stored paths, the option strings, the class root
// of every entry and the console script's shell line must never crash, leak or hang, and a
// class root is always a leading part of the folder it was cut from.

#include "app/Settings.h"
#include "app/UiHost.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/CommandHelpers.h"
#include "project/JavaProjectDoc.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A host that answers nothing; the composition never needs one.
class CSilentHost : public tovin::CUiHost {
public:
    tovin::EMsgAnswer MessageBox(const std::string&, const std::string&, tovin::EMsgButtons,
                                 tovin::EMsgIcon) override {
        return tovin::EMsgAnswer::Cancel;
    }
    std::vector<std::string> FileDialog(const tovin::SFileDialogRequest&) override { return {}; }
    std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> AskArguments(const std::string&) override { return {}; }
    tovin::COpenDocument* OpenDocument(const std::string&) override { return nullptr; }
    void SaveAll() override {}
    void SetProcessCaption(const std::string&) override {}
    void AttachRunner(std::unique_ptr<tovin::CProcessRunner>) override {}
    void ShowOutputWindow() override {}
    void ClearOutput() override {}
    void AppendOutput(const std::string&) override {}
    bool OpenWithDesktop(const std::string&) override { return false; }
    std::string OpenTerminal(const std::string&, const std::string&) override { return "none"; }
    void SetWaitCursor(bool) override {}
};

const std::string& ProjectPath() {
    static const std::string path = [] {
        std::string folder =
            (std::filesystem::temp_directory_path() / "tovin-fuzz-XXXXXX").string();
        if (!::mkdtemp(folder.data())) {
            std::abort();
        }
        std::filesystem::create_directories(folder + "/moved");
        static const std::string made = folder;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        return folder + "/moved/p.jpr";
    }();
    return path;
}

void CheckClassRoot(const std::string& folder, const std::string& package) {
    const std::string root = tovin::GetClassRoot(folder, package);
    if (!folder.starts_with(root)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = ProjectPath();
    if (!tovin::WriteFileAtomic(path, std::string(reinterpret_cast<const char*>(data), size))
             .empty()) {
        std::abort();
    }
    tovin::CSettings settings;
    settings.javaBin = "/jdk";
    CSilentHost host;
    tovin::CJavaProjectDoc project(settings, host);
    if (!project.Load(path).empty()) {
        return 0;
    }
    project.RebaseEntries();
    std::string command = "javac" + tovin::GetCompileOptions(project);
    for (const auto& entry : project.JavaFiles()) {
        command += " \"" + entry->GetFullPath() + "\"";
        CheckClassRoot(tovin::GetFolder(entry->GetFullPath()), entry->GetPackage());
    }
    CheckClassRoot(tovin::GetFolder(project.GetFullPath(project.GetMainFileName())),
                   project.GetMainPackage());
    (void)tovin::ShellCommandLine(command, "/nonexistent-tovin-folder");
    (void)tovin::ShellCommandLine(tovin::GetRunCommandLine(project), "/nonexistent-tovin-folder");
    return 0;
}
