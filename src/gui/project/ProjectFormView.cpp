#include "gui/project/ProjectFormView.h"

#include "core/app/Settings.h"
#include "core/app/UiHost.h"
#include "core/platform/Paths.h"
#include "core/project/JavaProjectDoc.h"
#include "gui/framework/DocumentFrame.h"
#include "gui/project/ClassPathList.h"
#include "gui/project/ProjectDocument.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <type_traits>
#include <utility>

namespace tovin {

namespace {

constexpr const char* kResetCaption = "Reset to Defaults";

// The fields whose edits wait for "Update".
enum EPendingField : unsigned {
    kMainPackageField = 1,
    kWorkingDirField = 2,
    kJavaSwitchesField = 4,
    kJavacSwitchesField = 8,
};

// Puts the project's value into a field unless the field holds an edit not yet applied.
template <class TEdit>
void Refill(TEdit* edit, const std::string& value, unsigned pending, unsigned field) {
    if ((pending & field) != 0) {
        return;
    }
    const QString text = QString::fromStdString(value);
    if constexpr (std::is_same_v<TEdit, QPlainTextEdit>) {
        if (edit->toPlainText() != text) {
            edit->setPlainText(text);
        }
    } else if (edit->text() != text) {
        edit->setText(text);
    }
}

QLineEdit* ReadOnlyEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    return edit;
}

QPlainTextEdit* SwitchesEdit(QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setTabChangesFocus(true);
    edit->setMaximumHeight(edit->fontMetrics().lineSpacing() * 3 + 12);
    return edit;
}

// Puts the names into the box in sorted order and selects `current` (nothing when absent).
void FillNames(QComboBox* box, const QStringList& names, const std::string& current) {
    box->clear();
    box->setEnabled(!names.isEmpty());
    QStringList sorted = names;
    sorted.sort();
    box->addItems(sorted);
    box->setCurrentIndex(box->findText(QString::fromStdString(current)));
}

} // namespace

CProjectFormView::CProjectFormView(CProjectDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
    BuildControls();
    connect(&document, &CProjectDocument::Refreshed, this, &CProjectFormView::Fill);
    connect(&document, &CDocument::TitleChanged, this, &CProjectFormView::Fill);
    connect(&document, &CProjectDocument::ApplyingPendingEdits, this,
            &CProjectFormView::ApplyPendingEdits);
    Fill();
}

CJavaProjectDoc& CProjectFormView::Project() const {
    return m_document.Project();
}

void CProjectFormView::BuildControls() {
    auto* grid = new QGridLayout(this);
    int row = 0;
    m_title = ReadOnlyEdit(this);
    grid->addWidget(m_title, row++, 0, 1, 3);
    auto addRow = [&](const char* label, QWidget* field) {
        auto* caption = new QLabel(QLatin1String(label), this);
        caption->setBuddy(field);
        grid->addWidget(caption, row, 0);
        grid->addWidget(field, row++, 1, 1, 2);
    };
    m_path = ReadOnlyEdit(this);
    addRow("File Path:", m_path);
    m_mainFile = new QComboBox(this);
    addRow("Main Java File:", m_mainFile);
    m_mainHtml = new QComboBox(this);
    addRow("Main HTML File:", m_mainHtml);
    m_mainPackage = ReadOnlyEdit(this);
    addRow("Main Package:", m_mainPackage);

    grid->addWidget(new QLabel(QStringLiteral("Configure Classpaths:"), this), row++, 0, 1, 3);
    m_classPath = new CClassPathList(Project().Host(), true, this);
    grid->addWidget(m_classPath, row, 0, 1, 2);
    auto* listButtons = new QVBoxLayout;
    auto addButton = [this](QBoxLayout* layout, const char* text,
                            void (CProjectFormView::*slot)()) {
        auto* button = new QPushButton(QLatin1String(text), this);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    addButton(listButtons, "Add Folder...", &CProjectFormView::OnAddFolder);
    addButton(listButtons, "Add Jar...", &CProjectFormView::OnAddJar);
    addButton(listButtons, "Remove", &CProjectFormView::OnRemoveClassPath);
    addButton(listButtons, "Set Compile Dir", &CProjectFormView::OnSetCompileDir);
    addButton(listButtons, "Reset to Default", &CProjectFormView::OnResetClassPath);
    listButtons->addStretch();
    grid->addLayout(listButtons, row++, 2);
    grid->setRowStretch(row - 1, 1);

    auto* group = new QGroupBox(QStringLiteral("Set Preferences:"), this);
    auto* groupGrid = new QGridLayout(group);
    m_workingDir = new QLineEdit(group);
    auto* browse = new QPushButton(QStringLiteral("..."), group);
    browse->setObjectName(QStringLiteral("browseWorkingDirectory"));
    connect(browse, &QPushButton::clicked, this, &CProjectFormView::OnBrowseWorkingDirectory);
    groupGrid->addWidget(new QLabel(QStringLiteral("Working Directory:"), group), 0, 0);
    groupGrid->addWidget(m_workingDir, 0, 1);
    groupGrid->addWidget(browse, 0, 2);
    m_javaSwitches = SwitchesEdit(group);
    m_javacSwitches = SwitchesEdit(group);
    groupGrid->addWidget(new QLabel(QStringLiteral("Java Switches:"), group), 1, 0);
    groupGrid->addWidget(m_javaSwitches, 1, 1, 1, 2);
    groupGrid->addWidget(new QLabel(QStringLiteral("Javac Switches:"), group), 2, 0);
    groupGrid->addWidget(m_javacSwitches, 2, 1, 1, 2);
    grid->addWidget(group, row++, 0, 1, 3);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    m_update = addButton(bottom, "Update", &CProjectFormView::OnUpdate);
    addButton(bottom, "Reset to Defaults", &CProjectFormView::OnResetToDefaults);
    grid->addLayout(bottom, row++, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    connect(m_workingDir, &QLineEdit::textChanged, this, [this] { MarkPending(kWorkingDirField); });
    connect(m_mainPackage, &QLineEdit::textChanged, this,
            [this] { MarkPending(kMainPackageField); });
    connect(m_javaSwitches, &QPlainTextEdit::textChanged, this,
            [this] { MarkPending(kJavaSwitchesField); });
    connect(m_javacSwitches, &QPlainTextEdit::textChanged, this,
            [this] { MarkPending(kJavacSwitchesField); });
    connect(m_mainFile, &QComboBox::activated, this, &CProjectFormView::OnMainFileChosen);
    connect(m_mainHtml, &QComboBox::activated, this, &CProjectFormView::OnMainHtmlChosen);
    connect(m_classPath, &CClassPathList::ClassPathChanged, this,
            &CProjectFormView::OnClassPathChanged);
    connect(m_classPath, &CClassPathList::CompileDirChanged, this,
            &CProjectFormView::OnCompileDirChanged);
}

void CProjectFormView::Fill() {
    m_filling = true;
    CJavaProjectDoc& project = Project();
    m_title->setText(m_document.Title());
    m_path->setText(QString::fromStdString(project.GetPath()));
    QStringList javaNames;
    for (const auto& file : project.JavaFiles()) {
        javaNames << QString::fromStdString(file->GetFileName());
    }
    FillNames(m_mainFile, javaNames, project.GetMainFileName());
    QStringList pages;
    for (const auto& file : project.FreeFiles()) {
        // Only ".html" pages launch applets; ".htm" and others are left out.
        if (file->GetExtension() == "html") {
            pages << QString::fromStdString(file->GetFileName());
        }
    }
    FillNames(m_mainHtml, pages, project.GetMainHtmlFile());
    m_mainHtml->setEnabled(project.FreeFiles().GetCount() > 0);
    // A refresh comes with every saved source and every change in another window; what the
    // user is typing stays until it is applied.
    Refill(m_javaSwitches, project.GetRunOptions(), m_pending, kJavaSwitchesField);
    Refill(m_javacSwitches, project.GetCompileOptions(), m_pending, kJavacSwitchesField);
    Refill(m_mainPackage, project.GetMainPackage(), m_pending, kMainPackageField);
    Refill(m_workingDir, project.GetWorkingDir(), m_pending, kWorkingDirField);
    // The list is refilled only when the project's class path changed elsewhere, so its
    // selection survives the refreshes its own edits cause.
    if (project.GetClassPath() != m_shownClassPath ||
        project.GetCompileDir() != m_shownCompileDir) {
        FillClassPath();
    }
    m_update->setEnabled(m_pending != 0);
    m_filling = false;
}

void CProjectFormView::MarkPending(unsigned field) {
    if (!m_filling) {
        m_pending |= field;
        m_update->setEnabled(true);
    }
}

void CProjectFormView::ApplyPendingEdits() {
    if (m_pending != 0) {
        OnUpdate();
    }
}

void CProjectFormView::ProjectChanged() {
    Project().SetModifiedFlag();
    Project().RefreshViews();
}

void CProjectFormView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shown) {
        return;
    }
    m_shown = true;
    if (!m_document.HasProjectWindow()) {
        m_document.OnProjectWindow();
    }
    if (auto* frame = qobject_cast<CDocumentFrame*>(parentWidget())) {
        frame->showMaximized();
    }
    FillClassPath();
    m_path->setFocus();
    // A project folder that moved is read where its files now are.
    Project().RebaseEntries();
    Project().RebuildClassInformation();
}

void CProjectFormView::FillClassPath() {
    m_shownClassPath = Project().GetClassPath();
    m_shownCompileDir = Project().GetCompileDir();
    m_classPath->Fill(m_shownClassPath, m_shownCompileDir);
}

void CProjectFormView::OnMainFileChosen(int index) {
    Project().SetMainFile(m_mainFile->itemText(index).toStdString());
}

void CProjectFormView::OnMainHtmlChosen(int index) {
    Project().SetMainHtmlFile(m_mainHtml->itemText(index).toStdString());
}

void CProjectFormView::OnUpdate() {
    CJavaProjectDoc& project = Project();
    const unsigned pending = std::exchange(m_pending, 0u);
    m_update->setEnabled(false);
    bool changed = false;
    auto apply = [&](unsigned field, const std::string& current, const QString& typed,
                     void (CJavaProjectDoc::*set)(std::string)) {
        if ((pending & field) != 0 && typed.toStdString() != current) {
            (project.*set)(typed.toStdString());
            changed = true;
        }
    };
    apply(kMainPackageField, project.GetMainPackage(), m_mainPackage->text(),
          &CJavaProjectDoc::SetMainPackage);
    apply(kWorkingDirField, project.GetWorkingDir(), m_workingDir->text(),
          &CJavaProjectDoc::SetWorkingDir);
    apply(kJavaSwitchesField, project.GetRunOptions(), m_javaSwitches->toPlainText(),
          &CJavaProjectDoc::SetRunOptions);
    apply(kJavacSwitchesField, project.GetCompileOptions(), m_javacSwitches->toPlainText(),
          &CJavaProjectDoc::SetCompileOptions);
    if (changed) {
        ProjectChanged();
    }
}

bool CProjectFormView::AskReset(const char* question) const {
    return Project().Host().MessageBox(question, kResetCaption, EMsgButtons::OkCancel,
                                       EMsgIcon::Question) == EMsgAnswer::Ok;
}

void CProjectFormView::OnResetToDefaults() {
    if (!AskReset("Reset switches to application defaults?")) {
        return;
    }
    const CSettings& settings = Project().Settings();
    m_javaSwitches->setPlainText(QString::fromStdString(settings.javaOptions));
    m_javacSwitches->setPlainText(QString::fromStdString(settings.javac));
    m_workingDir->setText(QString::fromStdString(settings.workingDir));
    OnUpdate();
}

void CProjectFormView::OnBrowseWorkingDirectory() {
    const std::string folder = Project().Host().BrowseForFolder("Locate Working Directory",
                                                                m_workingDir->text().toStdString());
    if (!folder.empty()) {
        m_workingDir->setText(QString::fromStdString(folder));
        MarkPending(kWorkingDirField); // also when it is the folder already shown
    }
}

// The choosers open where this project's files were last chosen, or in its folder.
void CProjectFormView::OnAddJar() {
    std::string folder = Project().GetDialogFolder();
    if (m_classPath->AddJar(&folder)) {
        Project().SetDialogFolder(folder);
    }
}

void CProjectFormView::OnAddFolder() {
    std::string folder = Project().GetDialogFolder();
    if (m_classPath->AddFolder(&folder)) {
        Project().SetDialogFolder(folder);
    }
}

void CProjectFormView::OnRemoveClassPath() {
    m_classPath->RemoveSelected();
}

void CProjectFormView::OnSetCompileDir() {
    m_classPath->ToggleCompileDir();
}

void CProjectFormView::OnResetClassPath() {
    if (!AskReset("Reset classpaths to application defaults?")) {
        return;
    }
    Project().SetClassPath(Project().Settings().classPath);
    Project().SetCompileDir({});
    FillClassPath();
    ProjectChanged();
}

void CProjectFormView::OnClassPathChanged() {
    m_shownClassPath = m_classPath->Text();
    Project().SetClassPath(m_shownClassPath);
    ProjectChanged();
}

void CProjectFormView::OnCompileDirChanged(const QString& compileDir) {
    m_shownCompileDir = compileDir.toStdString();
    Project().SetCompileDir(m_shownCompileDir);
    ProjectChanged();
}

} // namespace tovin
