#include "core/project/AntCommands.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/CommandLine.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "core/project/ToolLocator.h"

#include <algorithm>
#include <dirent.h>
#include <memory>

namespace tovin {

namespace {

constexpr const char* kCaption = "Tovin";

std::string RemoveAll(std::string text, const std::string& part) {
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
    return text;
}

std::string XmlAttribute(const std::string& value) {
    std::string escaped;
    for (char c : value) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

SAntScriptValues GetAntScriptValues(const CJavaProjectDoc& project) {
    SAntScriptValues values;
    values.projectName = RemoveAll(project.GetMainFileName(), ".java");
    values.baseDir = project.GetWorkingDir().empty() ? "." : project.GetWorkingDir();
    std::replace(values.baseDir.begin(), values.baseDir.end(), '\\', '/');
    values.classPath = project.GetClassPath().empty() ? "." : project.GetClassPath();
    values.buildDir = project.GetCompileDir().empty() ? "." : project.GetCompileDir();
    return values;
}

std::string ComposeAntScript(const SAntScriptValues& values) {
    const std::string name = XmlAttribute(values.projectName);
    const std::string lines[] = {
        "<?xml version=\"1.0\"?>",
        "<project name=\"" + name + "\" basedir=\"" + XmlAttribute(values.baseDir) +
            "\" default=\"compile\">",
        "",
        "\t<property name=\"cpath\" value=\"" + XmlAttribute(values.classPath) + "\"/>",
        "",
        "\t<property name=\"build.dir\" value=\"" + XmlAttribute(values.buildDir) + "\"/>",
        "",
        "\t<target name=\"compile\">",
        "\t\t<javac srcdir=\"${basedir}\" destdir=\"${build.dir}\" classpath=\"${cpath}\" />",
        "\t</target>",
        "",
        "\t<target name=\"clean\">",
        "\t\t<delete>",
        "\t\t\t<fileset dir=\"${basedir}\">",
        "\t\t\t\t<include name=\"**/*.class\"/>",
        "\t\t\t\t<include name=\"docs/api/**\"/>",
        "\t\t\t</fileset>",
        "\t\t</delete>",
        "\t</target>",
        "",
        "\t<target name=\"jar\" depends=\"compile\">",
        "\t\t<jar destfile=\"" + name + ".jar\">",
        "\t\t\t<fileset dir=\"${build.dir}\">",
        "\t\t\t\t<include name=\"**/*.class\"/>",
        "\t\t\t</fileset>",
        "\t\t</jar>",
        "\t</target>",
        "",
        "\t<target name=\"docs\" depends=\"compile\">",
        "\t<!-- NOTE: This will not work if your classes are not in packages! -->",
        "\t\t<javadoc destdir=\"docs/api\">",
        "\t\t\t<fileset dir=\"${basedir}\">",
        "\t\t\t\t<include name=\"**/*.java\"/>",
        "\t\t\t</fileset>",
        "\t\t</javadoc>",
        "\t</target>",
        "</project>",
    };
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

std::string CreateAntScript(CJavaProjectDoc& project) {
    project.ApplyPendingEdits();
    CUiHost& host = project.Host();
    if (project.GetMainFileName().empty()) {
        host.MessageBox("Please specify a main Java file first", kCaption, EMsgButtons::Ok,
                        EMsgIcon::Warning);
        return {};
    }
    const std::string text = ComposeAntScript(GetAntScriptValues(project));
    std::vector<std::string> chosen = host.FileDialog(
        SaveFileRequest("XML Files (*.xml)|*.xml||", "xml", "build.xml", GetCurrentDialogFolder()));
    if (chosen.empty() || chosen.front().empty()) {
        return {};
    }
    const std::string& path = chosen.front();
    if (!WriteFileAtomic(path, text).empty()) {
        host.MessageBox("Unable to save file.", kCaption, EMsgButtons::Ok, EMsgIcon::Warning);
        return {};
    }
    // The project tree shows the new file at once, as after "Add Files...".
    if (project.AddFile(path)) {
        project.RefreshViews();
    }
    return path;
}

std::vector<std::string> ListArchives(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        if (name.ends_with(".jar")) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string GetAntClassPath(const CSettings& settings, const std::vector<std::string>& archives) {
    std::string classPath = settings.javaBin + kPathSeparator + "lib" + kPathSeparator +
                            "tools.jar" + kPathListSeparator;
    for (const auto& name : archives) {
        classPath += name + kPathListSeparator;
    }
    return classPath;
}

std::string GetAntCommandLine(const CSettings& settings, const std::string& classPath,
                              const std::string& buildFile, const std::string& target) {
    std::string command = " -classpath " + CToolLocator::Quote(classPath) +
                          " -Dant.home=" + CToolLocator::Quote(settings.msJavaBin) +
                          " org.apache.tools.ant.Main -buildfile " + CToolLocator::Quote(buildFile);
    if (!target.empty()) {
        // A target name with a blank stays one argument; plain names are written as they are.
        command += " " + QuoteWindowsArgument(target);
    }
    return command;
}

bool RunAnt(CJavaProjectDoc& project, const std::string& buildFile, const std::string& target) {
    const CSettings& settings = project.Settings();
    const std::string libFolder = settings.msJavaBin + kPathSeparator + "lib";
    const std::string command = GetAntCommandLine(
        settings, GetAntClassPath(settings, ListArchives(libFolder)), buildFile, target);
    project.Host().SetProcessCaption("Ant: \"" + buildFile + "\"" +
                                     (target.empty() ? std::string() : " " + target));
    const bool launched =
        LaunchTool(project.Host(), CToolLocator(settings).GetJavaPath(), command, libFolder);
    SetCurrentDialogFolder(GetFolder(buildFile));
    return launched;
}

bool RunProjectAnt(CJavaProjectDoc& project) {
    // A project never saved has no folder: the build file would be looked for in the root.
    if (project.GetPath().find(kPathSeparator) == std::string::npos) {
        ShowMessage(project.Host(), kSaveProjectFirstMessage);
        return false;
    }
    return RunAnt(project, GetFolder(project.GetPath()) + kPathSeparator + "build.xml", {});
}

} // namespace tovin
