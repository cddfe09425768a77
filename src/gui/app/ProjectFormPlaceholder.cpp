#include "app/ProjectFormPlaceholder.h"

#include "app/ProjectDocument.h"
#include "project/JavaProjectDoc.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tovin {

CProjectFormPlaceholder::CProjectFormPlaceholder(CProjectDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_text(new QLabel(this)) {
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addStretch();
    connect(&document, &CProjectDocument::Refreshed, this, &CProjectFormPlaceholder::Fill);
    connect(&document, &CDocument::TitleChanged, this, &CProjectFormPlaceholder::Fill);
    Fill();
}

void CProjectFormPlaceholder::Fill() {
    const CJavaProjectDoc& project = m_document.Project();
    const std::string path = project.GetPath().empty() ? "(not saved yet)" : project.GetPath();
    QString text =
        QStringLiteral("Project file:\t%1\nMain file:\t%2\nFiles:\t\t%3 source, %4 HTML\n"
                       "Class path:\t%5\nWorking directory:\t%6")
            .arg(QString::fromStdString(path), QString::fromStdString(project.GetMainFileName()))
            .arg(project.JavaFiles().GetCount())
            .arg(project.FreeFiles().GetCount())
            .arg(QString::fromStdString(project.GetClassPath()),
                 QString::fromStdString(project.GetWorkingDir()));
    m_text->setText(text);
}

} // namespace tovin
