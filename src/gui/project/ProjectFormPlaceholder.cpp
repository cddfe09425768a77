#include "project/ProjectFormPlaceholder.h"

#include "project/JavaProjectDoc.h"
#include "project/ProjectDocument.h"

#include <QFormLayout>
#include <QLabel>

namespace tovin {

namespace {

QLabel* ValueLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CProjectFormPlaceholder::CProjectFormPlaceholder(CProjectDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_path(ValueLabel(this)), m_mainFile(ValueLabel(this)),
      m_files(ValueLabel(this)), m_classPath(ValueLabel(this)),
      m_workingDirectory(ValueLabel(this)) {
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Project file:"), m_path);
    layout->addRow(QStringLiteral("Main file:"), m_mainFile);
    layout->addRow(QStringLiteral("Files:"), m_files);
    layout->addRow(QStringLiteral("Class path:"), m_classPath);
    layout->addRow(QStringLiteral("Working directory:"), m_workingDirectory);
    connect(&document, &CProjectDocument::Refreshed, this, &CProjectFormPlaceholder::Fill);
    connect(&document, &CDocument::TitleChanged, this, &CProjectFormPlaceholder::Fill);
    Fill();
}

void CProjectFormPlaceholder::Fill() {
    const CJavaProjectDoc& project = m_document.Project();
    m_path->setText(project.GetPath().empty() ? QStringLiteral("(not saved yet)")
                                              : QString::fromStdString(project.GetPath()));
    m_mainFile->setText(QString::fromStdString(project.GetMainFileName()));
    m_files->setText(QStringLiteral("%1 source, %2 HTML")
                         .arg(project.JavaFiles().GetCount())
                         .arg(project.FreeFiles().GetCount()));
    m_classPath->setText(QString::fromStdString(project.GetClassPath()));
    m_workingDirectory->setText(QString::fromStdString(project.GetWorkingDir()));
}

} // namespace tovin
