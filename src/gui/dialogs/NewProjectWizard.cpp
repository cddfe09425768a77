#include "gui/dialogs/NewProjectWizard.h"

#include "core/app/UiHost.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/project/ProjectDocument.h"
#include "gui/project/ProjectHost.h"

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

constexpr const char* kKindTexts[] = {"&Empty Project", "A&pplication Project", "Applet Pro&ject",
                                      "&HttpServlet Project"};

// Words the compiler refuses as a class's name: the keywords, the literals, and the restricted
// identifiers that may not name a type.
constexpr const char* kReservedNames[] = {
    "_",        "abstract",  "assert",    "boolean", "break",      "byte",         "case",
    "catch",    "char",      "class",     "const",   "continue",   "default",      "do",
    "double",   "else",      "enum",      "extends", "false",      "final",        "finally",
    "float",    "for",       "goto",      "if",      "implements", "import",       "instanceof",
    "int",      "interface", "long",      "native",  "new",        "null",         "package",
    "permits",  "private",   "protected", "public",  "record",     "return",       "sealed",
    "short",    "static",    "strictfp",  "super",   "switch",     "synchronized", "this",
    "throw",    "throws",    "transient", "true",    "try",        "var",          "void",
    "volatile", "while",     "yield"};

bool StartsIdentifier(QChar c) {
    switch (c.category()) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_Letter:
    case QChar::Symbol_Currency:
    case QChar::Punctuation_Connector:
        return true;
    default:
        return false;
    }
}

bool ContinuesIdentifier(QChar c) {
    return StartsIdentifier(c) || c.category() == QChar::Number_DecimalDigit ||
           c.category() == QChar::Mark_NonSpacing || c.category() == QChar::Mark_SpacingCombining;
}

} // namespace

bool IsJavaClassName(const QString& name) {
    if (name.isEmpty() || !StartsIdentifier(name.front())) {
        return false;
    }
    for (QChar c : name) {
        if (!ContinuesIdentifier(c)) {
            return false;
        }
    }
    for (const char* reserved : kReservedNames) {
        if (name == QLatin1String(reserved)) {
            return false;
        }
    }
    return true;
}

CNewProjectDialog::CNewProjectDialog(CUiHost& host, QWidget* parent)
    : QDialog(parent), m_host(host), m_className(new QLineEdit), m_kinds(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("New Project"));
    auto* nameLabel = new QLabel(QStringLiteral("Class &name (for main class)"));
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
    const QString name = m_className->text();
    // The empty project writes no class: its name is only the project's title.
    if (Kind() != EProjectKind::Empty && !IsJavaClassName(name)) {
        if (name.isEmpty()) {
            m_host.MessageBox("Please enter a name for your class", "Tovin", EMsgButtons::Ok,
                              EMsgIcon::Warning);
            m_className->setText(QLatin1String(kInitialClassName));
        } else {
            m_host.MessageBox("\"" + name.toStdString() +
                                  "\" cannot be the name of a Java class. " + kClassNameRule,
                              "Tovin", EMsgButtons::Ok, EMsgIcon::Warning);
        }
        m_className->selectAll();
        m_className->setFocus();
        return;
    }
    QDialog::accept();
}

namespace {

// Writes a new file of the project unless it exists; a failure is told with the file and the
// reason, and ends the wizard.
bool WriteProjectFile(CUiHost& host, const std::string& path, const std::string& text) {
    std::string reason;
    if (WriteNewFileOnce(path, text, &reason) != ENewFileResult::Failed) {
        return true;
    }
    host.MessageBox("Cannot create the file \"" + path + "\": " + reason + ".", "Tovin",
                    EMsgButtons::Ok, EMsgIcon::Error);
    return false;
}

} // namespace

void RunNewProjectWizard(CProjectHost& app, const std::string& servletApi) {
    if (!app.CloseCurrentProject()) {
        return;
    }
    CNewProjectDialog dialog(app.Host(), app.MainWindow());
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
    if (!WriteProjectFile(app.Host(), sourcePath, ProjectSourceText(kind, className))) {
        return;
    }
    project.Project().AddFile(sourcePath);
    project.Project().SetMainFile(mainFile);
    app.OpenDocumentFile(sourcePath);
    if (kind == EProjectKind::Applet) {
        const std::string pagePath = folder + kPathSeparator + kAppletPageName;
        if (!WriteProjectFile(app.Host(), pagePath, AppletPageText(className))) {
            return;
        }
        project.Project().AddFreeFile(pagePath);
        project.Project().SetMainHtmlFile(kAppletPageName);
    }
    const bool needsServletApi = kind == EProjectKind::Servlet && !FileExists(servletApi);
    if (kind == EProjectKind::Servlet && !needsServletApi) {
        project.Project().SetClassPath(
            WithClassPathEntry(project.Project().GetClassPath(), servletApi));
    }
    project.RefreshViews();
    project.DoSave(project.PathName());
    if (needsServletApi) {
        app.Host().MessageBox(std::string("The servlet compiles only with the servlet API on the "
                                          "project's class path. Install Debian's package ") +
                                  kServletApiPackage + ", then add " + servletApi +
                                  " to the class path with \"Add Jar...\" on the project's form.",
                              "Tovin", EMsgButtons::Ok, EMsgIcon::Information);
    }
}

} // namespace tovin
