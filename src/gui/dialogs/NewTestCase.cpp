#include "gui/dialogs/NewTestCase.h"

#include "core/app/ProjectTemplates.h"
#include "core/app/TestCaseTemplate.h"
#include "core/app/UiHost.h"
#include "core/javamodel/JavaParser.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/CommandHelpers.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/dialogs/NewProjectWizard.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectHost.h"

#include <QInputDialog>
#include <QLineEdit>

#include <optional>
#include <string>

namespace tovin {

namespace {

constexpr const char* kCaption = "Tovin";

std::optional<std::string> AskWithDialog(CProjectHost& app, const std::string& initial) {
    bool ok = false;
    const QString name =
        QInputDialog::getText(app.MainWindow(), QStringLiteral("JUnit Test Case"),
                              QStringLiteral("Name of the class to test:"), QLineEdit::Normal,
                              QString::fromStdString(initial), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return name.trimmed().toStdString();
}

// The package a new file in the folder belongs to: that of a project file already there.
std::string PackageOfFolder(const CJavaProjectDoc& project, const std::string& folder) {
    for (const auto& entry : project.JavaFiles()) {
        if (entry->GetExtension() == "java" && GetFolder(entry->GetFullPath()) == folder) {
            if (const auto text = ReadWholeFile(entry->GetFullPath())) {
                return CJavaParser::FindPackage(*text);
            }
        }
    }
    return {};
}

} // namespace

void RunNewTestCase(CProjectHost& app) {
    CUiHost& host = app.Host();
    CProjectDocument* open = app.CurrentProject();
    CJavaProjectDoc* project = open ? &open->Project() : nullptr;
    std::string folder = CurrentFolder();
    std::string tested = "MyApp";
    if (project && !project->GetMainFileName().empty()) {
        const std::string main = project->GetFullPath(project->GetMainFileName());
        if (main != CJavaProjectDoc::kNoFile) {
            folder = GetFolder(main);
            tested = GetClassNameOf(project->GetMainFileName());
        }
    }
    const std::optional<std::string> name = AskWithDialog(app, tested);
    if (!name) {
        return;
    }
    if (!IsJavaClassName(QString::fromStdString(*name))) {
        host.MessageBox("\"" + *name + "\" cannot be the name of a Java class. " + kClassNameRule,
                        kCaption, EMsgButtons::Ok, EMsgIcon::Warning);
        return;
    }
    const std::vector<std::string> chosen = host.FileDialog(SaveFileRequest(
        "Java Files (*.java)|*.java||", "java", TestCaseClassName(*name) + ".java", folder));
    if (chosen.empty()) {
        return;
    }
    const std::string path = chosen.front();
    const std::string package = project ? PackageOfFolder(*project, GetFolder(path)) : "";
    std::string reason;
    // An existing file is taken as it is, as the New Project wizard does.
    if (WriteNewFileOnce(path, TestCaseText(GetClassNameOf(GetFileName(path)), *name, package),
                         &reason) == ENewFileResult::Failed) {
        host.MessageBox("Cannot create the file \"" + path + "\": " + reason + ".", kCaption,
                        EMsgButtons::Ok, EMsgIcon::Error);
        return;
    }
    if (project && project->AddFile(path)) {
        project->SetModifiedFlag();
        open->RefreshViews();
    }
    app.OpenDocumentFile(path);
}

} // namespace tovin
