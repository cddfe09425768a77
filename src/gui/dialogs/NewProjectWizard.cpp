#include "dialogs/NewProjectWizard.h"

#include "app/EditorApp.h"
#include "app/MainFrame.h"
#include "app/UiHost.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "project/JavaProjectDoc.h"
#include "project/ProjectDocument.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tovin {

namespace {

constexpr const char* kInitialClassName = "MyApp";

constexpr const char* kKindTexts[] = {"Empty Project", "Application Project", "Applet Project",
                                      "HttpServlet Project"};

} // namespace

CNewProjectDialog::CNewProjectDialog(CUiHost& host, QWidget* parent)
    : QDialog(parent), m_host(host), m_className(new QLineEdit), m_kinds(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("New Project"));
    auto* nameLabel = new QLabel(QStringLiteral("Class name (for main class)"));
    nameLabel->setBuddy(m_className);
    m_className->setText(QLatin1String(kInitialClassName));

    auto* group = new QGroupBox(QStringLiteral("New Project Type"));
    auto* groupLayout = new QVBoxLayout(group);
    for (int kind = 0; kind < static_cast<int>(std::size(kKindTexts)); ++kind) {
        auto* button = new QRadioButton(QLatin1String(kKindTexts[kind]));
        m_kinds->addButton(button, kind);
        groupLayout->addWidget(button);
    }
    m_kinds->button(static_cast<int>(EProjectKind::Empty))->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameLabel);
    layout->addWidget(m_className);
    layout->addWidget(group);
    layout->addWidget(buttons);

    m_className->selectAll();
    m_className->setFocus();
}

std::string CNewProjectDialog::ClassName() const {
    return m_className->text().toStdString();
}

EProjectKind CNewProjectDialog::Kind() const {
    return static_cast<EProjectKind>(m_kinds->checkedId());
}

void CNewProjectDialog::accept() {
    if (m_className->text().isEmpty() && Kind() != EProjectKind::Empty) {
        m_host.MessageBox("Please enter a name for your class", "Tovin", EMsgButtons::Ok,
                          EMsgIcon::Warning);
        m_className->setText(QLatin1String(kInitialClassName));
        m_className->selectAll();
        m_className->setFocus();
        return;
    }
    QDialog::accept();
}

void RunNewProjectWizard(CEditorApp& app) {
    if (!app.CloseCurrentProject()) {
        return;
    }
    CNewProjectDialog dialog(app.Host(), app.MainFrame());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::string className = dialog.ClassName();
    const EProjectKind kind = dialog.Kind();
    const std::string projectName = ProjectFileName(className);
    if (!app.CreateNewDocumentOfType("JavaProject") || !app.CurrentProject()) {
        return;
    }
    CProjectDocument& project = *app.CurrentProject();
    if (kind == EProjectKind::Empty) {
        // Nothing is written: the user saves the project when it holds something.
        project.SetTitle(QString::fromStdString(projectName));
        project.Project().SetTitle(projectName);
        project.RefreshViews();
        return;
    }

    const std::vector<std::string> chosen = app.Host().FileDialog(
        SaveFileRequest("Java Projects (*.jpr)|*.jpr||", "jpr", projectName, CurrentFolder()));
    if (chosen.empty() || !project.DoSave(chosen.front())) {
        return; // the new untitled project stays open
    }
    const std::string folder = GetFolder(project.PathName());
    const std::string mainFile = className + ".java";
    const std::string sourcePath = folder + kPathSeparator + mainFile;
    // A file that cannot be written ends the wizard; what is done so far stays.
    if (WriteNewFileOnce(sourcePath, ProjectSourceText(kind, className)) ==
        ENewFileResult::Failed) {
        return;
    }
    project.Project().AddFile(sourcePath);
    project.Project().SetMainFile(mainFile);
    app.OpenDocumentFile(sourcePath);
    if (kind == EProjectKind::Applet) {
        const std::string pagePath = folder + kPathSeparator + kAppletPageName;
        if (WriteNewFileOnce(pagePath, AppletPageText(className)) == ENewFileResult::Failed) {
            return;
        }
        project.Project().AddFreeFile(pagePath);
        project.Project().SetMainHtmlFile(kAppletPageName);
    }
    project.RefreshViews();
    project.DoSave(project.PathName());
}

} // namespace tovin
