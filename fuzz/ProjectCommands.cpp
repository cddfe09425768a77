// The command composition of the project commands over an arbitrary project file opened from a
// folder it was not written in: re-basing the stored paths, the option strings, the class root
// of every entry and the console script's shell line must never crash, leak or hang, and a
// class root is always a leading part of the folder it was cut from.

#include "core/app/Settings.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/process/SilentUiHost.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

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
    tovin::CSilentUiHost host;
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
